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

std::vector<std::size_t> NoCaseOrder(std::size_t count, const std::function<const char*(std::size_t)>& names)
{
    // Each name's comparison values are worked out once, into one buffer: the stable sort
    // then compares plain numbers and gives exactly the order of swapping neighbours until
    // none is out of order (CompareNoCase is a total preorder).
    std::u16string keys;
    std::vector<std::size_t> ends(count);
    for (std::size_t i = 0; i < count; ++i) {
        AppendCompareKey(names(i), keys);
        ends[i] = keys.size();
    }
    const auto key = [&](std::size_t i) {
        const std::size_t begin = i == 0 ? 0 : ends[i - 1];
        return std::u16string_view(keys).substr(begin, ends[i] - begin);
    };
    std::vector<std::size_t> order(count);
    for (std::size_t i = 0; i < count; ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return key(a) < key(b); });
    return order;
}

void SortNoCase(std::vector<std::string>& list)
{
    SortNoCase(list, [](const std::string& name) -> const std::string& { return name; });
}
