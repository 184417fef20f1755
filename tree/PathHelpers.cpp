#include "tree/PathHelpers.h"
#include <algorithm>
#include <cstring>

namespace {
bool HasExtension(const char* path, const char* extension, std::string* stem)
{
    PathParts parts = SplitPath(path);
    if (CompareNoCase(parts.ext.c_str(), extension) != 0)
        return false;
    if (stem != nullptr)
        *stem = parts.drive + parts.dir + parts.fname;
    return true;
}
} // namespace

int FindLastChar(const char* s, char ch)
{
    return ReverseFind(s, ch);
}

bool EndsWithBackslash(const char* s)
{
    const int n = static_cast<int>(std::strlen(s));
    return n > 0 && s[n - 1] == '\\' && FindLastChar(s, '\\') == n - 1;
}

bool IsShortcutFile(const char* path, std::string* stem)
{
    return HasExtension(path, ".lnk", stem);
}

bool IsInternetShortcutFile(const char* path, std::string* stem)
{
    return HasExtension(path, ".url", stem);
}

void SortNoCase(std::vector<std::string>& list)
{
    // Each name's comparison values are worked out once: the stable sort then compares
    // plain numbers, and gives exactly the order of swapping neighbours until none is out
    // of order (CompareNoCase is a total preorder).
    std::vector<std::pair<std::u16string, std::string>> keyed;
    keyed.reserve(list.size());
    for (std::string& name : list)
        keyed.emplace_back(CompareKey(name.c_str()), std::move(name));
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (size_t i = 0; i < list.size(); ++i)
        list[i] = std::move(keyed[i].second);
}
