// The hotkey of the settings file and the requests a start with a switch makes, in the whole
// program started in this process: who holds the key combination, what the user is told,
// and the tray menu a request opens.
#include <gtest/gtest.h>
#include <string>
#include "AppFixture.h"
#include "ShellRecorder.h"
#include "frame/HotkeyText.h"
#include "frame/StartSwitch.h"

namespace {
// A key combination held as another program would hold it, for the test's lifetime.
class HeldHotkey {
public:
    HeldHotkey(UINT modifiers, UINT key) : m_held(::RegisterHotKey(nullptr, kId, modifiers, key) != FALSE) {}
    ~HeldHotkey()
    {
        if (m_held)
            ::UnregisterHotKey(nullptr, kId);
    }
    HeldHotkey(const HeldHotkey&) = delete;
    HeldHotkey& operator=(const HeldHotkey&) = delete;
    bool Held() const { return m_held; }

private:
    static constexpr int kId = 0x5A5A;
    bool m_held;
};

class HotkeyTest : public AppFixture {
protected:
    // As a second start posts it; the fixture's message pump dispatches no posted message.
    void Request(StartRequest request) const
    {
        ::SendMessageA(Frame(), WM_SHOWINSTANCE, static_cast<WPARAM>(request), 0);
    }
};

TEST_F(HotkeyTest, TheDefaultIsHeldWhileTheProgramRunsAndFreedAtExit)
{
    const HotkeyText fallback = *ParseHotkey(kDefaultHotkey);
    ShellRecorder shell;
    Start();
    EXPECT_TRUE(shell.messageBoxes.empty());
    EXPECT_FALSE(HeldHotkey(fallback.modifiers, fallback.key).Held()) << "the program does not hold " << kDefaultHotkey;
    Close();
    EXPECT_TRUE(HeldHotkey(fallback.modifiers, fallback.key).Held()) << "the program kept it after its exit";
}

TEST_F(HotkeyTest, TheSettingsFilesHotkeyIsHeldAndAnEmptyOrJunkValueHoldsNone)
{
    const HotkeyText fallback = *ParseHotkey(kDefaultHotkey);
    ShellRecorder shell;
    SetIniValue("Hotkey", "shift + win + F11");
    Start();
    EXPECT_FALSE(HeldHotkey(MOD_SHIFT | MOD_WIN, VK_F11).Held());
    EXPECT_TRUE(HeldHotkey(fallback.modifiers, fallback.key).Held());
    Close();
    // Empty turns it off; a value that names no hotkey is refused the same way, silently.
    for (const char* value : {"", "Ctrl+Alt+\x82\x65", "Ctrl+Alt+Space+Space", "\x81"}) {
        SCOPED_TRACE(value);
        SetIniValue("Hotkey", value);
        Start();
        ASSERT_NE(app->m_pMainWnd, nullptr);
        EXPECT_TRUE(HeldHotkey(fallback.modifiers, fallback.key).Held());
        Close();
    }
    EXPECT_TRUE(shell.messageBoxes.empty());
}

TEST_F(HotkeyTest, AHotkeyAnotherProgramHoldsIsSaidOnceAndTheProgramRunsWithoutIt)
{
    SetIniValue("Hotkey", "Ctrl+Alt+F9");
    const HeldHotkey other(MOD_CONTROL | MOD_ALT, VK_F9);
    ASSERT_TRUE(other.Held());
    ShellRecorder shell;
    Start(SW_SHOWMINNOACTIVE);
    ASSERT_EQ(shell.messageBoxes.size(), 1u);
    EXPECT_NE(shell.messageBoxes[0].text.find("Hotkey=Ctrl+Alt+F9"), std::string::npos) << "how to choose another";
    const std::string said = shell.messageBoxes[0].text;
    EXPECT_EQ(said.substr(said.rfind(": ")), ": Ctrl+Alt+F9") << "the hotkey it could not take";
    // It runs on: a request still opens the tray menu, and nothing is said again.
    shell.cursor = POINT{321, 123};
    Request(StartRequest::Menu);
    ASSERT_EQ(shell.popups.size(), 1u);
    EXPECT_EQ(shell.messageBoxes.size(), 1u);
    EXPECT_FALSE(::IsWindowVisible(Frame()));
}

TEST_F(HotkeyTest, AMenuRequestOpensTheTrayMenuAtThePointerAndLeavesTheWindowAsItWas)
{
    ShellRecorder shell;
    Start(SW_SHOWNORMAL);
    for (bool hidden : {false, true}) {
        SCOPED_TRACE(hidden ? "hidden in the tray" : "shown");
        if (hidden)
            Command(ID_TRAY_MINIMIZE);
        shell.popups.clear();
        shell.cursor = POINT{hidden ? 40 : 500, hidden ? 300 : 20};
        // A request that comes while the menu is open would run a second menu inside it: it goes.
        int items = 0;
        shell.onPopup = [&](const TrackPopupCall& call) {
            items = ::GetMenuItemCount(call.menu);
            ::SendMessageA(Frame(), WM_SHOWINSTANCE, static_cast<WPARAM>(StartRequest::Menu), 0);
            return FALSE;
        };
        Request(StartRequest::Menu);
        ASSERT_EQ(shell.popups.size(), 1u);
        EXPECT_EQ(shell.popups[0].x, shell.cursor.x);
        EXPECT_EQ(shell.popups[0].y, shell.cursor.y);
        EXPECT_GT(items, 0);
        EXPECT_EQ(::IsWindowVisible(Frame()) != FALSE, !hidden);
        // A plain second start brings the window back, and opens no menu.
        if (hidden) {
            Request(StartRequest::Show);
            EXPECT_TRUE(::IsWindowVisible(Frame()));
            EXPECT_EQ(shell.popups.size(), 1u);
        }
    }
}
} // namespace
