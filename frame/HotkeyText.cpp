#include "frame/HotkeyText.h"
#include <array>
#include "mbcs/Blanks.h"

namespace {
constexpr std::uint32_t kKeySpace = 0x20;
constexpr std::uint32_t kKeyF1 = 0x70;
constexpr std::uint32_t kKeyF12 = kKeyF1 + 11;
constexpr int kFunctionKeys = 24;

struct Modifier {
    std::string_view name;
    std::uint32_t bit;
};
// In the order the value is written.
constexpr std::array<Modifier, 4> kModifiers{{
    {"Ctrl", kHotkeyCtrl},
    {"Alt", kHotkeyAlt},
    {"Shift", kHotkeyShift},
    {"Win", kHotkeyWin},
}};

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

std::uint32_t ModifierBit(std::string_view name)
{
    for (const Modifier& modifier : kModifiers)
        if (SameName(name, modifier.name))
            return modifier.bit;
    return 0;
}

// F1 to F24 with no leading zero.
std::optional<std::uint32_t> FunctionKey(std::string_view name)
{
    if (name.size() < 2 || name.size() > 3 || Lower(name[0]) != 'f' || name[1] < '1' || name[1] > '9')
        return std::nullopt;
    int number = name[1] - '0';
    if (name.size() == 3) {
        if (name[2] < '0' || name[2] > '9')
            return std::nullopt;
        number = number * 10 + (name[2] - '0');
    }
    if (number > kFunctionKeys)
        return std::nullopt;
    return kKeyF1 + static_cast<std::uint32_t>(number - 1);
}

std::optional<std::uint32_t> Key(std::string_view name)
{
    if (name.size() == 1) {
        const char c = Upper(name[0]);
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
            return static_cast<std::uint32_t>(c);
        return std::nullopt;
    }
    if (SameName(name, "Space"))
        return kKeySpace;
    return FunctionKey(name);
}

bool IsFunctionKey(std::uint32_t key)
{
    return key >= kKeyF1 && key < kKeyF1 + kFunctionKeys;
}
} // namespace

std::optional<HotkeyText> ParseHotkey(std::string_view text)
{
    HotkeyText hotkey{0, 0};
    for (;;) {
        const std::size_t plus = text.find('+');
        const std::string_view part = TrimBlanks(text.substr(0, plus));
        if (plus == std::string_view::npos) {
            const std::optional<std::uint32_t> key = Key(part);
            if (!key)
                return std::nullopt;
            hotkey.key = *key;
            break;
        }
        const std::uint32_t bit = ModifierBit(part);
        if (bit == 0 || (hotkey.modifiers & bit) != 0)
            return std::nullopt;
        hotkey.modifiers |= bit;
        text.remove_prefix(plus + 1);
    }
    if (hotkey.modifiers == 0 || hotkey.key == kKeyF12)
        return std::nullopt;
    // Shift alone would take a capital letter, a symbol or a blank from every program.
    if (hotkey.modifiers == kHotkeyShift && !IsFunctionKey(hotkey.key))
        return std::nullopt;
    return hotkey;
}

std::string FormatHotkey(const HotkeyText& hotkey)
{
    std::string text;
    for (const Modifier& modifier : kModifiers) {
        if (hotkey.modifiers & modifier.bit) {
            text += modifier.name;
            text += '+';
        }
    }
    if (hotkey.key == kKeySpace)
        text += "Space";
    else if (IsFunctionKey(hotkey.key))
        text += 'F' + std::to_string(hotkey.key - kKeyF1 + 1);
    else
        text += static_cast<char>(hotkey.key);
    return text;
}
