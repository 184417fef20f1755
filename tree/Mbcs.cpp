#include "tree/Mbcs.h"
#include <algorithm>
#include <cstdint>
#include <cstring>

extern const std::uint16_t kUpperCaseTable[][2];
extern const std::size_t kUpperCaseTableSize;

unsigned UpperTwoByte(unsigned code)
{
    const auto* begin = kUpperCaseTable;
    const auto* end = kUpperCaseTable + kUpperCaseTableSize;
    const auto* it = std::lower_bound(begin, end, code, [](const std::uint16_t (&entry)[2], unsigned c) {
        return entry[0] < c;
    });
    return it != end && (*it)[0] == code ? (*it)[1] : code;
}

bool IsLeadByte(unsigned char b)
{
    // Flipping bit 0x20 folds 0x81-0x9F and 0xE0-0xF5 onto one range.
    auto flipped = static_cast<unsigned char>(b ^ 0x20);
    return flipped >= 0xA1 && flipped <= 0xD5;
}

bool IsTrailByte(unsigned char b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

int FindLastChar(const char* s, char ch)
{
    int result = -1;
    for (int i = 0;; ++i) {
        if (s[i] == ch)
            result = i;
        if (s[i] == '\0')
            return result;
        if (IsLeadByte(static_cast<unsigned char>(s[i])) && IsTrailByte(static_cast<unsigned char>(s[i + 1])))
            ++i;
    }
}

bool EndsWithBackslash(const char* s)
{
    const int n = static_cast<int>(std::strlen(s));
    return n > 0 && s[n - 1] == '\\' && FindLastChar(s, '\\') == n - 1;
}

bool IsRuntimeLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

namespace {
// The value the comparison sees for the character at p, advancing p; -1 at the end.
int NextValue(const char*& p)
{
    auto b = static_cast<unsigned char>(*p);
    if (b == 0)
        return -1;
    if (IsRuntimeLeadByte(b)) {
        auto second = static_cast<unsigned char>(p[1]);
        if (second == 0)
            return -1; // a lead byte before the terminator ends the string
        p += 2;
        return static_cast<int>(UpperTwoByte(b * 256u + second));
    }
    ++p;
    return b >= 'A' && b <= 'Z' ? b + ('a' - 'A') : b;
}

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

int CompareNoCase(const char* a, const char* b)
{
    for (;;) {
        int x = NextValue(a);
        int y = NextValue(b);
        if (x != y)
            return x < y ? -1 : 1;
        if (x < 0)
            return 0;
    }
}

void MakeUpper(std::string& s)
{
    for (size_t i = 0; i < s.size(); ++i) {
        auto b = static_cast<unsigned char>(s[i]);
        if (IsRuntimeLeadByte(b) && i + 1 < s.size() && s[i + 1] != '\0') {
            unsigned upper = UpperTwoByte(b * 256u + static_cast<unsigned char>(s[i + 1]));
            s[i] = static_cast<char>(upper >> 8);
            s[i + 1] = static_cast<char>(upper & 0xFF);
            ++i;
        } else if (b >= 'a' && b <= 'z') {
            s[i] = static_cast<char>(b - ('a' - 'A'));
        }
    }
}

void SortNoCase(std::vector<std::string>& list)
{
    // The comparison maps each name to a sequence of values compared in order, a total
    // preorder, so a stable sort gives exactly the order of swapping neighbours until
    // none is out of order.
    std::stable_sort(list.begin(), list.end(),
                     [](const std::string& a, const std::string& b) { return CompareNoCase(a.c_str(), b.c_str()) < 0; });
}

PathParts SplitPath(const char* path)
{
    PathParts parts;
    const char* p = path;
    if (p[0] != '\0' && p[1] == ':') {
        parts.drive.assign(p, 2);
        p += 2;
    }
    const char* lastSeparator = nullptr;
    const char* lastDot = nullptr;
    for (const char* q = p; *q != '\0'; ++q) {
        if (IsRuntimeLeadByte(static_cast<unsigned char>(*q)) && q[1] != '\0') {
            ++q;
        } else if (*q == '\\' || *q == '/') {
            lastSeparator = q;
        } else if (*q == '.') {
            lastDot = q;
        }
    }
    const char* name = lastSeparator != nullptr ? lastSeparator + 1 : p;
    parts.dir.assign(p, name);
    const char* end = p + std::strlen(p);
    const char* ext = lastDot != nullptr && lastDot >= name ? lastDot : end;
    parts.fname.assign(name, ext);
    parts.ext.assign(ext, end);
    return parts;
}

bool IsShortcutFile(const char* path, std::string* stem)
{
    return HasExtension(path, ".lnk", stem);
}

bool IsInternetShortcutFile(const char* path, std::string* stem)
{
    return HasExtension(path, ".url", stem);
}

int ReverseFind(const std::string& s, char ch)
{
    int result = -1;
    for (size_t i = 0; i < s.size(); ++i) {
        if (IsRuntimeLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size())
            ++i;
        else if (s[i] == ch)
            result = static_cast<int>(i);
    }
    return result;
}

void TrimRightBackslashes(std::string& s)
{
    // Find where the run of backslashes of their own at the end begins.
    size_t keep = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (IsRuntimeLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) {
            ++i;
            keep = i + 1;
        } else if (s[i] != '\\') {
            keep = i + 1;
        }
    }
    s.resize(keep);
}
