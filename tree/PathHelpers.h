// The folder tree's path helpers over code page 932 text: backslash searches that never
// take the second byte of a two-byte character, shortcut tests, and the name sort.
#pragma once
#include <string>
#include <vector>
#include "mbcs/Mbcs.h"

// Index of the last occurrence of ch as a character of its own, or -1.
int FindLastChar(const char* s, char ch);
// Does s end in a backslash that is a character of its own?
bool EndsWithBackslash(const char* s);
// Is the extension ".lnk" (".url"), in any letter case? If so, *stem gets the path without it.
bool IsShortcutFile(const char* path, std::string* stem = nullptr);
bool IsInternetShortcutFile(const char* path, std::string* stem = nullptr);
// Ascending by CompareNoCase; equal names keep their order.
void SortNoCase(std::vector<std::string>& list);
