// The folder tree's path helpers over code page 932 text: backslash searches that never
// take the second byte of a two-byte character, shortcut tests, and the name sort.
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <utility>
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
// The same order for records, by the name name(record) gives.
template <class Record, class Name>
void SortNoCase(std::vector<Record>& list, Name name);

// The order SortNoCase gives names(i) for i < count, as indexes.
std::vector<std::size_t> NoCaseOrder(std::size_t count, const std::function<const char*(std::size_t)>& names);

template <class Record, class Name>
void SortNoCase(std::vector<Record>& list, Name name)
{
    const std::vector<std::size_t> order = NoCaseOrder(list.size(), [&](std::size_t i) { return name(list[i]).c_str(); });
    std::vector<Record> sorted;
    sorted.reserve(list.size());
    for (std::size_t i : order)
        sorted.push_back(std::move(list[i]));
    list = std::move(sorted);
}
