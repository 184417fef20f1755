// The rules of code page 932 (Shift-JIS) text, where the second byte of a two-byte
// character may have the value of a backslash. The base of every layer: it uses nothing
// of the project and no windows.h.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Lead bytes 0x81-0x9F and 0xE0-0xFC, as the code page has them.
bool IsLeadByte(unsigned char b);
// Trail bytes 0x40-0x7E and 0x80-0xFC.
bool IsTrailByte(unsigned char b);
// The one character walk: a lead byte and the byte after it form one character unless
// that byte ends the text. Bytes in the character starting at s[i] (s.size() > i).
std::size_t CharSize(std::string_view s, std::size_t i);

// Case-insensitive comparison: <0, 0 or >0. ASCII letters compare as lower case, two-byte
// characters by their system upper-case form; a lead byte before the end ends the string.
int CompareNoCase(const char* a, const char* b);
// The values CompareNoCase walks through, in order: two keys compare as their strings do.
std::u16string CompareKey(const char* s);
// The same values appended to out: many keys can share one buffer.
void AppendCompareKey(const char* s, std::u16string& out);
// In-place upper-casing; the length in bytes never changes.
void MakeUpper(std::string& s);

struct PathParts {
    std::string drive, dir, fname, ext;
};
// Drive ("X:"), directory up to its last backslash or slash, name, extension from the last dot.
PathParts SplitPath(std::string_view path);
// Index of the last ch that is a character of its own, or -1.
int ReverseFind(std::string_view s, char ch);
void TrimRightBackslashes(std::string& s);
