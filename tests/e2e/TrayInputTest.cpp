// The tray menu of Fernwick.exe under real input: a right click on its notification icon
// opens it, and a click elsewhere or Esc closes it, with the window shown or hidden. Without
// a window manager this Wine shows the icons in a small window of its own at the top left.
#include <windows.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>
#include "TempFolder.h"
#include "e2e/FernwickProcess.h"

namespace {
std::vector<HWND> TrayIcons()
{
    std::vector<HWND> icons;
    if (HWND tray = ::FindWindowA("__winex11_standalone_tray", nullptr))
        ::EnumChildWindows(
            tray,
            [](HWND hwnd, LPARAM lParam) -> BOOL {
                reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&icons));
    return icons;
}

void Send(INPUT input)
{
    ::SendInput(1, &input, sizeof input);
}

// At a user's pace: the button comes up a moment after it went down.
void Click(POINT at, DWORD down, DWORD up)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = at.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = at.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    for (DWORD flags : {DWORD(MOUSEEVENTF_MOVE), down, up}) {
        input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
        Send(input);
        ::Sleep(150);
    }
}

void PressEscape()
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VK_ESCAPE;
    Send(input);
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    Send(input);
}

POINT Center(HWND hwnd)
{
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST(TrayInputTest, TheMenuClosesOnAClickElsewhereAndOnEscWithTheWindowShownOrHidden)
{
    ASSERT_TRUE(WaitFor([] { return TitledWindows().empty(); })) << "another Fernwick runs in this Wine session";
    TempFolder folder;
    folder.MakeFile("Root\\Games\\pong.txt");
    // Another program's window in front of Fernwick's, where the click elsewhere lands.
    const std::unique_ptr<std::remove_pointer_t<HWND>, decltype(&::DestroyWindow)> other(
        ::CreateWindowExA(WS_EX_TOPMOST, "STATIC", "elsewhere", WS_POPUP | WS_BORDER | WS_VISIBLE, 350, 300, 300, 200,
                          nullptr, nullptr, nullptr, nullptr),
        &::DestroyWindow);
    ASSERT_NE(other, nullptr);
    const POINT elsewhere{600, 450};
    for (WORD show : {WORD(SW_SHOWNORMAL), WORD(SW_SHOWMINNOACTIVE)}) {
        for (bool escape : {false, true}) {
            SCOPED_TRACE(std::string(show == SW_SHOWNORMAL ? "shown" : "hidden") + (escape ? ", Esc" : ", click"));
            const std::vector<HWND> before = TrayIcons();
            FernwickProcess process(folder.Path(), show);
            ASSERT_TRUE(process.Started()) << process.StartFailure();
            ASSERT_TRUE(process.WaitForIdle()) << "the program is " << process.State();
            const std::vector<HWND> titled = TitledWindows(process.Id());
            ASSERT_EQ(titled.size(), 1u);
            ASSERT_EQ(::IsWindowVisible(titled[0]) != FALSE, show == SW_SHOWNORMAL);
            HWND icon = nullptr;
            ASSERT_TRUE(WaitFor([&] {
                for (HWND h : TrayIcons())
                    if (std::find(before.begin(), before.end(), h) == before.end())
                        icon = h;
                return icon != nullptr;
            })) << "no notification icon came";

            Click(Center(icon), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
            HWND menu = WaitForOpenMenuOf(process.Id());
            ASSERT_NE(menu, nullptr) << "the right click opened no menu";
            EXPECT_EQ(::GetForegroundWindow(), titled[0]) << "the menu's thread is not in the foreground";
            if (escape)
                PressEscape();
            else
                Click(elsewhere, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
            EXPECT_TRUE(WaitFor([&] { return OpenMenuOf(process.Id()) == nullptr; }, 5000)) << "the menu stayed open";
        }
    }
}
} // namespace
