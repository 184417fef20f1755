// What the fuzz targets share: the check that stops a run, the code page's byte ranges
// written out again, and the split of an input into two strings.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// libFuzzer takes the abort for a crash and keeps the input that caused it.
inline void Require(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

inline bool Lead(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

inline bool Trail(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// Which bytes start a character of their own, where a lead byte takes the byte after it
// along whatever that byte is, unless that byte is the terminator or missing.
inline std::vector<bool> OwnBytes(std::string_view s)
{
    std::vector<bool> own(s.size(), true);
    for (std::size_t i = 0; i + 1 < s.size(); ++i)
        if (own[i] && Lead(s[i]) && s[i + 1] != '\0')
            own[i + 1] = false;
    return own;
}

// The input before and after its first line break.
inline std::pair<std::string, std::string> TwoParts(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = std::min(input.find('\n'), input.size());
    return {std::string(input.substr(0, cut)), std::string(input.substr(std::min(cut + 1, input.size())))};
}

inline int Sign(int value)
{
    return (value > 0) - (value < 0);
}
