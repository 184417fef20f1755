// The "Hotkey" value of the settings file: modifiers among Ctrl, Alt, Shift and Win, then a
// key (A-Z, 0-9, F1-F24, Space), joined by "+", in any letter case: "Ctrl+Alt+Space". No
// windows.h, so that it is built and fuzzed natively as well.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The modifier bits and key codes are those RegisterHotKey takes.
constexpr std::uint32_t kHotkeyAlt = 0x1;
constexpr std::uint32_t kHotkeyCtrl = 0x2;
constexpr std::uint32_t kHotkeyShift = 0x4;
constexpr std::uint32_t kHotkeyWin = 0x8;

struct HotkeyText {
    std::uint32_t modifiers; // kHotkey... bits, at least one
    std::uint32_t key;       // a virtual-key code: 'A'-'Z', '0'-'9', 0x70-0x87 (F1-F24), 0x20 (Space)

    bool operator==(const HotkeyText&) const = default;
};

// When the settings file has no "Hotkey". Windows takes every Win+ combination for itself
// and Alt+Space for the window menu; Ctrl+Alt is AltGr on many keyboards, where Ctrl+Alt
// with a letter or digit types a character (German Ctrl+Alt+Q is "@", Czech Ctrl+Alt+F "["),
// but no standard layout puts one on Space.
constexpr char kDefaultHotkey[] = "Ctrl+Alt+Space";
// The value is read into a buffer of this many bytes, terminator included.
constexpr std::size_t kHotkeyTextSize = 64;

// Nothing for an empty value (the user turned the hotkey off) and for anything that is not
// such a hotkey: an unknown name, a modifier twice or after the key, no modifier, Shift
// alone before a key that types a character, or F12 (the system keeps it for debuggers).
// Blanks around each name are allowed.
std::optional<HotkeyText> ParseHotkey(std::string_view text);
// The value as the user would write it, modifiers in the order Ctrl, Alt, Shift, Win.
std::string FormatHotkey(const HotkeyText& hotkey);
