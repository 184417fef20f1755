// Double-byte aware helpers for code page 932 (Shift-JIS) text, where the second byte of
// a two-byte character may have the value of a backslash. No windows.h here.
#pragma once
#include <string>
#include <vector>

// The helpers' own ranges: lead bytes 0x81-0x9F and 0xE0-0xF5, trail bytes 0x40-0x7E and 0x80-0xFC.
bool IsLeadByte(unsigned char b);
bool IsTrailByte(unsigned char b);
// Index of the last occurrence of ch as a character of its own, or -1.
int FindLastChar(const char* s, char ch);
// Does s end in a backslash that is a character of its own?
bool EndsWithBackslash(const char* s);
// Is the extension ".lnk" (".url"), in any letter case? If so, *stem gets the path without it.
bool IsShortcutFile(const char* path, std::string* stem = nullptr);
bool IsInternetShortcutFile(const char* path, std::string* stem = nullptr);
// Ascending by CompareNoCase; equal names keep their order.
void SortNoCase(std::vector<std::string>& list);

// The rest follows the multibyte runtime, whose lead bytes for code page 932 run to 0xFC
// and for which a lead byte before the terminator starts no two-byte character.

// Case-insensitive comparison: <0, 0 or >0. A lead byte before the terminator ends the string.
int CompareNoCase(const char* a, const char* b);
// In-place upper-casing; the length in bytes never changes.
void MakeUpper(std::string& s);

struct PathParts {
    std::string drive, dir, fname, ext;
};
// Drive ("X:"), directory up to its last backslash or slash, name, extension from the last dot.
PathParts SplitPath(const char* path);
// Index of the last ch that is a character of its own, or -1.
int ReverseFind(const std::string& s, char ch);
void TrimRightBackslashes(std::string& s);
