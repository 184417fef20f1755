// The "WindowPos" value of the settings file: a window placement as ten numbers,
// "%u,%u,%ld,%ld,%ld,%ld,%ld,%ld,%ld,%ld". No windows.h, so that it is built and fuzzed
// natively as well.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// The fields of WINDOWPLACEMENT after its length, at the widths they have there.
struct PlacementText {
    std::uint32_t flags, showCmd;
    std::int32_t minX, minY, maxX, maxY, left, top, right, bottom;

    bool operator==(const PlacementText&) const = default;
};

// The value is read into a buffer of this many bytes, terminator included.
constexpr std::size_t kPlacementTextSize = 68;

// The ten numbers as sscanf reads them with that format where long has 32 bits: blanks before
// each number, a sign, decimal digits, a comma right after each of the first nine. An unsigned
// field wraps a negative number; a number too large for its field saturates. Text after the
// tenth number is ignored. Nothing unless all ten are there.
std::optional<PlacementText> ScanPlacement(const char* text);
// Nothing when the text would not fit kPlacementTextSize: a cut value could still read as ten
// numbers, the last one wrong.
std::optional<std::string> FormatPlacement(const PlacementText& placement);
