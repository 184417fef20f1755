// The path split, the shortcut tests and the name sort: the split against a reference that
// masks the second bytes of two-byte characters and then searches plainly; the shortcut tests
// by their promises; the sort against swapping neighbours on short lists.
#include "FuzzCheck.h"
#include "tree/PathHelpers.h"

namespace {
PathParts ReferenceSplit(const std::string& path)
{
    std::string masked = path;
    const std::vector<bool> own = OwnBytes(path);
    for (std::size_t i = 0; i < path.size(); ++i)
        if (!own[i])
            masked[i] = 'x';
    const std::size_t start = path.size() >= 2 && path[1] == ':' ? 2 : 0;
    const std::size_t separator = masked.find_last_of("\\/");
    const std::size_t name = separator == std::string::npos || separator < start ? start : separator + 1;
    const std::size_t dot = masked.rfind('.');
    const std::size_t ext = dot == std::string::npos || dot < name ? path.size() : dot;
    return {path.substr(0, start), path.substr(start, name - start), path.substr(name, ext - name), path.substr(ext)};
}

void CheckShortcutTest(const std::string& path, bool (*test)(const char*, std::string*), const char* extension)
{
    std::string stem = "untouched";
    if (!test(path.c_str(), &stem)) {
        Require(stem == "untouched", "no stem without a shortcut");
        return;
    }
    Require(test(path.c_str(), nullptr), "the answer does not depend on the stem");
    Require(path.compare(0, stem.size(), stem) == 0 && CompareNoCase(path.c_str() + stem.size(), extension) == 0,
            "the stem and the extension make the path");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path(reinterpret_cast<const char*>(data), size);
    const PathParts parts = SplitPath(path);
    Require(parts.drive + parts.dir + parts.fname + parts.ext == path, "the pieces make the path");
    const PathParts expected = ReferenceSplit(path);
    Require(parts.drive == expected.drive && parts.dir == expected.dir && parts.fname == expected.fname &&
                parts.ext == expected.ext,
            "the split agrees with the reference");

    const std::string text = path.c_str();
    CheckShortcutTest(text, IsShortcutFile, ".lnk");
    CheckShortcutTest(text, IsInternetShortcutFile, ".url");
    Require(!(IsShortcutFile(text.c_str()) && IsInternetShortcutFile(text.c_str())), "never both kinds");

    std::vector<std::string> names;
    for (std::size_t start = 0; start <= path.size() && names.size() < 8;) {
        const std::size_t end = std::min(path.find('\n', start), path.size());
        names.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    std::vector<std::string> swapped = names;
    for (bool again = true; again;) {
        again = false;
        for (std::size_t i = 0; i + 1 < swapped.size(); ++i)
            if (CompareNoCase(swapped[i].c_str(), swapped[i + 1].c_str()) > 0) {
                std::swap(swapped[i], swapped[i + 1]);
                again = true;
            }
    }
    SortNoCase(names);
    Require(names == swapped, "the sort gives the order of swapping neighbours");
    return 0;
}
