#include "app/PlacementText.h"
#include <algorithm>
#include <charconv>

namespace {
constexpr int kFields = 10;

// What the C library takes for blanks before a number.
bool IsBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A signed magnitude; past 32 bits it stays at 2^32, enough to saturate either kind of field.
struct Number {
    bool negative;
    std::uint64_t magnitude;
};

// Advances text past one number; stops at the terminator, never beyond it.
std::optional<Number> ScanNumber(const char*& text)
{
    while (IsBlank(*text))
        ++text;
    Number number{*text == '-', 0};
    if (*text == '-' || *text == '+')
        ++text;
    if (!IsDigit(*text))
        return std::nullopt;
    constexpr std::uint64_t kPast32Bits = std::uint64_t{1} << 32;
    for (; IsDigit(*text); ++text)
        number.magnitude = std::min(number.magnitude * 10 + static_cast<unsigned>(*text - '0'), kPast32Bits);
    return number;
}

// As strtoul with a 32-bit unsigned long: the magnitude saturates, then a minus sign negates.
std::uint32_t Unsigned(Number n)
{
    const auto magnitude = static_cast<std::uint32_t>(std::min<std::uint64_t>(n.magnitude, UINT32_MAX));
    return n.negative ? 0u - magnitude : magnitude;
}

// As strtol with a 32-bit long: saturates at either end.
std::int32_t Signed(Number n)
{
    const auto value = n.negative ? -static_cast<std::int64_t>(n.magnitude) : static_cast<std::int64_t>(n.magnitude);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}
} // namespace

std::optional<PlacementText> ScanPlacement(const char* text)
{
    Number n[kFields];
    for (int i = 0; i < kFields; ++i) {
        if (i > 0) {
            if (*text != ',')
                return std::nullopt;
            ++text;
        }
        const std::optional<Number> number = ScanNumber(text);
        if (!number)
            return std::nullopt;
        n[i] = *number;
    }
    return PlacementText{Unsigned(n[0]), Unsigned(n[1]), Signed(n[2]), Signed(n[3]), Signed(n[4]),
                         Signed(n[5]),   Signed(n[6]),   Signed(n[7]), Signed(n[8]), Signed(n[9])};
}

std::optional<std::string> FormatPlacement(const PlacementText& p)
{
    // What "%u,%u,%ld,..." prints; the C library's printf would bring its floating point too.
    const long long fields[kFields] = {p.flags, p.showCmd, p.minX, p.minY, p.maxX, p.maxY, p.left, p.top, p.right,
                                       p.bottom};
    char text[kPlacementTextSize];
    char* end = text;
    char* const last = text + sizeof text - 1; // room for the terminator the value is read with
    for (int i = 0; i < kFields; ++i) {
        if (i > 0) {
            if (end == last)
                return std::nullopt;
            *end++ = ',';
        }
        const std::to_chars_result result = std::to_chars(end, last, fields[i]);
        if (result.ec != std::errc())
            return std::nullopt;
        end = result.ptr;
    }
    return std::string(text, end);
}
