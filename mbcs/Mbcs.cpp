#include "mbcs/Mbcs.h"
#include <algorithm>
#include <cstdint>

// Generated: {character, upper case} for the two-byte characters that change, sorted.
extern const std::uint16_t kUpperCaseTable[][2];
extern const std::size_t kUpperCaseTableSize;

namespace {
unsigned char Byte(char c)
{
    return static_cast<unsigned char>(c);
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
    if (IsLeadByte(Byte(p[0])) && p[1] != '\0') {
        const auto value = static_cast<int>(UpperTwoByte(p));
        p += 2;
        return value;
    }
    const unsigned char b = Byte(*p);
    if (b == 0 || IsLeadByte(b))
        return -1;
    ++p;
    return b >= 'A' && b <= 'Z' ? b + ('a' - 'A') : b;
}
} // namespace

bool IsLeadByte(unsigned char b)
{
    // Flipping bit 0x20 folds 0x81-0x9F and 0xE0-0xFC onto one range.
    const auto flipped = static_cast<unsigned char>(b ^ 0x20);
    return flipped >= 0xA1 && flipped <= 0xDC;
}

bool IsTrailByte(unsigned char b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

std::size_t CharSize(std::string_view s, std::size_t i)
{
    return IsLeadByte(Byte(s[i])) && i + 1 < s.size() && s[i + 1] != '\0' ? 2 : 1;
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

std::u16string CompareKey(const char* s)
{
    std::u16string key;
    AppendCompareKey(s, key);
    return key;
}

void AppendCompareKey(const char* s, std::u16string& out)
{
    for (int value = NextValue(s); value >= 0; value = NextValue(s))
        out += static_cast<char16_t>(value);
}

void MakeUpper(std::string& s)
{
    for (std::size_t i = 0; i < s.size(); i += CharSize(s, i)) {
        if (CharSize(s, i) == 2) {
            const unsigned upper = UpperTwoByte(&s[i]);
            s[i] = static_cast<char>(upper >> 8);
            s[i + 1] = static_cast<char>(upper & 0xFF);
        } else if (s[i] >= 'a' && s[i] <= 'z') {
            s[i] = static_cast<char>(s[i] - ('a' - 'A'));
        }
    }
}

PathParts SplitPath(std::string_view path)
{
    PathParts parts;
    std::size_t start = 0;
    if (path.size() >= 2 && path[1] == ':') {
        parts.drive = path.substr(0, 2);
        start = 2;
    }
    std::size_t name = start;
    std::size_t lastDot = std::string_view::npos;
    for (std::size_t i = start; i < path.size(); i += CharSize(path, i)) {
        if (CharSize(path, i) == 2)
            continue;
        if (path[i] == '\\' || path[i] == '/')
            name = i + 1;
        else if (path[i] == '.')
            lastDot = i;
    }
    const std::size_t ext = lastDot != std::string_view::npos && lastDot >= name ? lastDot : path.size();
    parts.dir = path.substr(start, name - start);
    parts.fname = path.substr(name, ext - name);
    parts.ext = path.substr(ext);
    return parts;
}

int ReverseFind(std::string_view s, char ch)
{
    int result = -1;
    for (std::size_t i = 0; i < s.size(); i += CharSize(s, i))
        if (CharSize(s, i) == 1 && s[i] == ch)
            result = static_cast<int>(i);
    return result;
}

void TrimRightBackslashes(std::string& s)
{
    // Keep everything up to the end of the last character that is not a backslash of its own.
    std::size_t keep = 0;
    for (std::size_t i = 0; i < s.size(); i += CharSize(s, i))
        if (CharSize(s, i) == 2 || s[i] != '\\')
            keep = i + CharSize(s, i);
    s.resize(keep);
}
