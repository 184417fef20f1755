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
    // CompareNoCase orders names by their sequences of values, a total preorder, so a
    // stable sort gives exactly the order of swapping neighbours until none is out of order.
    std::stable_sort(list.begin(), list.end(),
                     [](const std::string& a, const std::string& b) { return CompareNoCase(a.c_str(), b.c_str()) < 0; });
}
