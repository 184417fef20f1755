#include "tree/Mbcs.h"
#include <algorithm>
#include <cstdint>
#include <cstring>

// Generated: {character, upper case} for the two-byte characters that change, sorted.
extern const std::uint16_t kUpperCaseTable[][2];
extern const std::size_t kUpperCaseTableSize;

namespace {
unsigned char Byte(char c)
{
    return static_cast<unsigned char>(c);
}

bool IsRuntimeLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// p points into a terminated string, so p[1] is always there to read.
bool StartsTwoByte(const char* p)
{
    return IsRuntimeLeadByte(Byte(p[0])) && p[1] != '\0';
}

// The system's upper-case form of the two-byte character at p, as first byte * 256 + second.
unsigned UpperTwoByte(const char* p)
{
    const unsigned code = Byte(p[0]) * 256u + Byte(p[1]);
    const auto* end = kUpperCaseTable + kUpperCaseTableSize;
    const auto* it = std::lower_bound(kUpperCaseTable, end, code,
                                      [](const std::uint16_t (&entry)[2], unsigned c) { return entry[0] < c; });
    return it != end && (*it)[0] == code ? (*it)[1] : code;
}

// The value CompareNoCase sees for the character at p, advancing p; -1 at the end.
int NextValue(const char*& p)
{
    if (StartsTwoByte(p)) {
        const auto value = static_cast<int>(UpperTwoByte(p));
        p += 2;
        return value;
    }
    const unsigned char b = Byte(*p);
    if (b == 0 || IsRuntimeLeadByte(b))
        return -1;
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

bool IsLeadByte(unsigned char b)
{
    // Flipping bit 0x20 folds 0x81-0x9F and 0xE0-0xF5 onto one range.
    const auto flipped = static_cast<unsigned char>(b ^ 0x20);
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
        if (IsLeadByte(Byte(s[i])) && IsTrailByte(Byte(s[i + 1])))
            ++i;
    }
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

int CompareNoCase(const char* a, const char* b)
{
    for (;;) {
        const int x = NextValue(a);
        const int y = NextValue(b);
        if (x != y)
            return x < y ? -1 : 1;
        if (x < 0)
            return 0;
    }
}

void MakeUpper(std::string& s)
{
    for (size_t i = 0; i < s.size(); ++i) {
        if (StartsTwoByte(&s[i])) {
            const unsigned upper = UpperTwoByte(&s[i]);
            s[i] = static_cast<char>(upper >> 8);
            s[++i] = static_cast<char>(upper & 0xFF);
        } else if (s[i] >= 'a' && s[i] <= 'z') {
            s[i] = static_cast<char>(s[i] - ('a' - 'A'));
        }
    }
}

PathParts SplitPath(const char* path)
{
    PathParts parts;
    const char* p = path;
    if (p[0] != '\0' && p[1] == ':') {
        parts.drive.assign(p, 2);
        p += 2;
    }
    const char* name = p;
    const char* lastDot = nullptr;
    for (const char* q = p; *q != '\0'; ++q) {
        if (StartsTwoByte(q))
            ++q;
        else if (*q == '\\' || *q == '/')
            name = q + 1;
        else if (*q == '.')
            lastDot = q;
    }
    const char* end = p + std::strlen(p);
    const char* ext = lastDot != nullptr && lastDot >= name ? lastDot : end;
    parts.dir.assign(p, name);
    parts.fname.assign(name, ext);
    parts.ext.assign(ext, end);
    return parts;
}

int ReverseFind(const std::string& s, char ch)
{
    int result = -1;
    for (size_t i = 0; i < s.size(); ++i) {
        if (StartsTwoByte(&s[i]))
            ++i;
        else if (s[i] == ch)
            result = static_cast<int>(i);
    }
    return result;
}

void TrimRightBackslashes(std::string& s)
{
    // Keep everything up to the end of the last character that is not a backslash of its own.
    size_t keep = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (StartsTwoByte(&s[i])) {
            ++i;
            keep = i + 1;
        } else if (s[i] != '\\')
            keep = i + 1;
    }
    s.resize(keep);
}
