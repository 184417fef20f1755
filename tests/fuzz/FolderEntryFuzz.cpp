// The folder listing's rules over arbitrary names: each input line is one entry, its first
// byte giving its attributes. A shortcut's caption and the file name it leads back to,
// against the split written out again; the two orders, against their definitions.
#include <string_view>
#include "FuzzCheck.h"
#include "mbcs/Mbcs.h"
#include "tree/FolderEntry.h"

namespace {
// The extension as the rule finds it: from the last dot that is a character of its own in
// the last component (after the last backslash or slash, or a drive's colon).
std::string_view Extension(std::string_view name)
{
    const std::vector<bool> own = OwnBytes(name);
    std::size_t start = name.size() >= 2 && name[1] == ':' ? 2 : 0, dot = std::string_view::npos;
    for (std::size_t i = start; i < name.size(); ++i) {
        if (own[i] && (name[i] == '\\' || name[i] == '/'))
            dot = std::string_view::npos;
        else if (own[i] && name[i] == '.')
            dot = i;
    }
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

ItemKind ExpectedKind(const std::string& name)
{
    const std::string ext(Extension(name));
    if (ext.size() == name.size() || ext.size() != 4)
        return kindFile; // nothing left to show without it, or not exactly the extension
    if (CompareNoCase(ext.c_str(), ".url") == 0)
        return kindInternetShortcut;
    return CompareNoCase(ext.c_str(), ".lnk") == 0 ? kindShortcut : kindFile;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<FolderEntry> entries;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    while (!input.empty()) {
        const std::size_t cut = std::min(input.find('\n'), input.size());
        const std::string_view line = input.substr(0, cut);
        input.remove_prefix(std::min(cut + 1, input.size()));
        if (line.empty())
            continue;
        const auto bits = static_cast<unsigned char>(line[0]);
        const std::uint32_t attributes = (bits & 1 ? kAttributeDirectory : 0) | (bits & 2 ? kAttributeHidden : 0) |
                                         (bits & 4 ? kAttributeTemporary : 0);
        // A name from the file search ends at its terminator.
        const std::string name(line.substr(1, line.find('\0', 1) - 1));
        const ItemKind kind = KindOfEntry(name, attributes);
        Require(kind == (attributes & kAttributeDirectory ? kindFolder : ExpectedKind(name)), "the kind of a name");
        const std::string caption = Caption(name, kind);
        Require(caption.empty() == name.empty(), "nothing shows no caption");
        const std::string back = FileNameOf(caption, kind);
        Require(CompareNoCase(back.c_str(), name.c_str()) == 0 && back.size() == name.size(),
                "a caption leads back to its name");
        entries.push_back({name, attributes, kind});
    }

    for (ListingRule rule : {ListingRule::Tree, ListingRule::Tray}) {
        std::vector<FolderEntry> ordered = entries;
        OrderEntries(ordered, rule);
        Require(ordered.size() == entries.size(), "nothing lost or added");
        const auto firstFile = std::find_if(ordered.begin(), ordered.end(),
                                            [](const FolderEntry& e) { return e.kind != kindFolder; });
        Require(std::all_of(firstFile, ordered.end(), [](const FolderEntry& e) { return e.kind != kindFolder; }),
                "folders first");
        for (std::size_t i = 1; i < ordered.size(); ++i) {
            const bool sameGroup = (ordered[i - 1].kind == kindFolder) == (ordered[i].kind == kindFolder);
            if (sameGroup && rule == ListingRule::Tree)
                Require(CompareNoCase(ordered[i - 1].name.c_str(), ordered[i].name.c_str()) <= 0, "sorted");
        }
        if (rule == ListingRule::Tray) {
            // Within each group, the input's order.
            std::vector<FolderEntry> expected;
            for (bool folders : {true, false})
                for (const FolderEntry& e : entries)
                    if ((e.kind == kindFolder) == folders)
                        expected.push_back(e);
            for (std::size_t i = 0; i < ordered.size(); ++i)
                Require(ordered[i].name == expected[i].name, "the search's order kept");
        }
    }
    return 0;
}
