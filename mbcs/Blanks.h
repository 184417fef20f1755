// Spaces and tabs around a name, dropped as the profile functions drop them: the settings
// file's keys and the values read from it share this one rule.
#pragma once
#include <string_view>

template <class Char>
std::basic_string_view<Char> TrimBlanks(std::basic_string_view<Char> text)
{
    const auto blank = [](Char c) { return c == Char(' ') || c == Char('\t'); };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}
