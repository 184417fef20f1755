// The "Hotkey" value and the start switches, on the build machine under the address and
// undefined-behaviour sanitizers.
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include "frame/HotkeyText.h"
#include "frame/StartSwitch.h"

namespace {
constexpr std::uint32_t kF1 = 0x70;

TEST(HotkeyText, ReadsNamesInAnyCaseAndOrderWithBlanksAroundThem)
{
    const std::pair<const char*, HotkeyText> cases[] = {
        {kDefaultHotkey, {kHotkeyCtrl | kHotkeyAlt, 0x20}},
        {"ctrl+ALT+f", {kHotkeyCtrl | kHotkeyAlt, 'F'}},
        {" Alt\t+ Ctrl +F ", {kHotkeyCtrl | kHotkeyAlt, 'F'}},
        {"WIN+shift+f24", {kHotkeyWin | kHotkeyShift, kF1 + 23}},
        {"Shift+F5", {kHotkeyShift, kF1 + 4}},
        {"Ctrl+Alt+Shift+Win+0", {kHotkeyCtrl | kHotkeyAlt | kHotkeyShift | kHotkeyWin, '0'}},
        {"alt+space", {kHotkeyAlt, 0x20}},
        {"Ctrl+F10", {kHotkeyCtrl, kF1 + 9}},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        const std::optional<HotkeyText> parsed = ParseHotkey(text);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(*parsed, expected);
    }
}

TEST(HotkeyText, EveryKeyWithEveryModifierSetIsWrittenAsItIsRead)
{
    std::vector<std::uint32_t> keys{0x20};
    for (std::uint32_t key = 'A'; key <= 'Z'; ++key)
        keys.push_back(key);
    for (std::uint32_t key = '0'; key <= '9'; ++key)
        keys.push_back(key);
    for (std::uint32_t key = kF1; key < kF1 + 24; ++key)
        keys.push_back(key);
    int accepted = 0;
    for (std::uint32_t modifiers = 1; modifiers < 16; ++modifiers) {
        for (std::uint32_t key : keys) {
            const std::string text = FormatHotkey({modifiers, key});
            SCOPED_TRACE(text);
            EXPECT_LT(text.size(), kHotkeyTextSize);
            const std::optional<HotkeyText> parsed = ParseHotkey(text);
            const bool shiftTakesACharacter = modifiers == kHotkeyShift && (key < kF1 || key >= kF1 + 24);
            if (key == kF1 + 11 || shiftTakesACharacter) {
                EXPECT_FALSE(parsed.has_value());
                continue;
            }
            ASSERT_TRUE(parsed.has_value());
            EXPECT_EQ(*parsed, (HotkeyText{modifiers, key}));
            ++accepted;
        }
    }
    // 15 modifier sets over 61 keys, less F12 in each and Shift alone before the 37 that are no function key.
    EXPECT_EQ(accepted, 15 * 61 - 15 - 37);
}

TEST(HotkeyText, RefusesWhatIsNoHotkeyWithoutReadingPastIt)
{
    const std::string cases[] = {
        "", " ", "+", "F", "Space", "Ctrl", "Ctrl+", "+F", "Ctrl++F", "Ctrl+Ctrl+F", "Ctrl+F+Alt", "Ctrl+Alt+Del",
        "Ctrl+F0", "Ctrl+F01", "Ctrl+F25", "Ctrl+F100", "Ctrl+F12", "Ctrl+AB", "Control+F", "Ctrl-Alt-F",
        "Shift+A", "Shift+1", "Shift+Space", "Ctrl+Alt+\x82\xa0",        // a kana in code page 932
        "Ctrl+Alt+\x82\x65",                                                // a full-width F
        std::string("Ctrl+Alt+F\0G", 12), std::string(10000, '+'), "Ctrl+" + std::string(10000, 'F'),
        "Ctrl+Alt+F\x5c", "\"Ctrl+Alt+F\"",
    };
    for (const std::string& text : cases) {
        SCOPED_TRACE(text.substr(0, 40));
        EXPECT_FALSE(ParseHotkey(text).has_value());
    }
}

TEST(StartSwitch, FindAndMenuInAnyCaseAndNothingElse)
{
    EXPECT_EQ(StartSwitch("/find"), StartRequest::Find);
    EXPECT_EQ(StartSwitch("/FIND"), StartRequest::Find);
    EXPECT_EQ(StartSwitch("/Menu"), StartRequest::Menu);
    for (const char* other : {"", "/", "find", "-find", "/finder", "/fin", "/find ", "C:\\find", "\\menu", "/m\x82\xa0"})
        EXPECT_FALSE(StartSwitch(other).has_value()) << other;
}
} // namespace
