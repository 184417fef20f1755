#include "tree/FolderEntry.h"
#include <algorithm>
#include "tree/PathHelpers.h"

namespace {
bool IsDots(std::string_view name)
{
    return name == "." || name == "..";
}

const char* ExtensionOf(ItemKind kind)
{
    return kind == kindShortcut ? ".lnk" : kind == kindInternetShortcut ? ".url" : "";
}
} // namespace

ItemKind KindOfFile(std::string_view name)
{
    const std::string copy(name);
    std::string stem;
    // The caption with its extension put back must name this file: not for an empty stem,
    // nor for an extension that only compares equal (a stray lead byte at the end).
    const auto leadsBack = [&] { return !stem.empty() && stem.size() + 4 == copy.size(); };
    if (IsInternetShortcutFile(copy.c_str(), &stem))
        return leadsBack() ? kindInternetShortcut : kindFile;
    if (IsShortcutFile(copy.c_str(), &stem))
        return leadsBack() ? kindShortcut : kindFile;
    return kindFile;
}

ItemKind KindOfEntry(std::string_view name, std::uint32_t attributes)
{
    return attributes & kAttributeDirectory ? kindFolder : KindOfFile(name);
}

std::string Caption(std::string_view name, ItemKind kind)
{
    const std::string copy(name);
    std::string stem;
    if ((kind == kindShortcut && IsShortcutFile(copy.c_str(), &stem)) ||
        (kind == kindInternetShortcut && IsInternetShortcutFile(copy.c_str(), &stem)))
        return stem.empty() ? copy : stem;
    return copy;
}

std::wstring WideCaption(const FolderEntry& entry)
{
    // The extension is plain ASCII, the same characters in both forms.
    const size_t hidden = entry.name.size() - Caption(entry.name, entry.kind).size();
    return entry.wide.substr(0, entry.wide.size() - std::min(hidden, entry.wide.size()));
}

std::string FileNameOf(std::string_view caption, ItemKind kind)
{
    return std::string(caption) + ExtensionOf(kind);
}

bool IsListed(std::string_view name, std::uint32_t attributes, ListingRule rule)
{
    if (IsDots(name))
        return false;
    return rule == ListingRule::Tray || (attributes & (kAttributeHidden | kAttributeTemporary)) == 0;
}

bool CountsForButton(std::string_view name, std::uint32_t attributes, bool withFiles)
{
    if (attributes & kAttributeDirectory)
        return !IsDots(name);
    return withFiles && (attributes & kAttributeHidden) == 0;
}

void OrderEntries(std::vector<FolderEntry>& entries, ListingRule rule)
{
    const auto folders = std::stable_partition(entries.begin(), entries.end(),
                                               [](const FolderEntry& entry) { return entry.kind == kindFolder; });
    if (rule == ListingRule::Tray)
        return;
    const auto split = folders - entries.begin();
    std::vector<FolderEntry> files(std::make_move_iterator(folders), std::make_move_iterator(entries.end()));
    entries.resize(static_cast<size_t>(split));
    const auto name = [](const FolderEntry& entry) -> const std::string& { return entry.name; };
    SortNoCase(entries, name);
    SortNoCase(files, name);
    entries.insert(entries.end(), std::make_move_iterator(files.begin()), std::make_move_iterator(files.end()));
}
