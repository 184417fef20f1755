// The main frame in the running program: its saved placement, minimize-to-tray, the way
// back, and starts that must never show the window.
#include <algorithm>
#include "AppFixture.h"

namespace {
// Notes every top-level window of this thread that is about to become visible.
class ShowWatch {
public:
    ShowWatch() : m_hook(::SetWindowsHookExA(WH_CALLWNDPROC, Hook, nullptr, ::GetCurrentThreadId()))
    {
        s_shown = 0;
    }
    ~ShowWatch() { ::UnhookWindowsHookEx(m_hook); }
    int Shown() const { return s_shown; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
        const bool topLevel = ::GetParent(msg->hwnd) == nullptr;
        if (code == HC_ACTION && topLevel &&
            ((msg->message == WM_SHOWWINDOW && msg->wParam) ||
             (msg->message == WM_WINDOWPOSCHANGING &&
              (reinterpret_cast<const WINDOWPOS*>(msg->lParam)->flags & SWP_SHOWWINDOW))))
            ++s_shown;
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK m_hook;
    static inline int s_shown = 0;
};

class FrameTest : public AppFixture {
protected:
    WINDOWPLACEMENT Placement() const
    {
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        ::GetWindowPlacement(Frame(), &wp);
        return wp;
    }
    bool Visible() const { return ::IsWindowVisible(Frame()); }
    void Minimize() const { ::ShowWindow(Frame(), SW_MINIMIZE); }
    void SecondInstance() const { ::SendMessageA(Frame(), WM_SHOWINSTANCE, 0, 0); }
    UINT SavedShowCmd() const
    {
        const std::string pos = IniValue("WindowPos");
        return static_cast<UINT>(std::stoul(pos.substr(pos.find(',') + 1)));
    }
};

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(FrameTest, FirstStartIsAtTheDefaultRectangleAndTheCloseSavesWhereTheWindowWas)
{
    Start(SW_SHOWNORMAL);
    EXPECT_TRUE(Visible());
    EXPECT_TRUE(SameRect(Placement().rcNormalPosition, RECT{100, 100, 500, 400}));
    ::SetWindowPos(Frame(), nullptr, 150, 120, 420, 330, SWP_NOZORDER);
    Close();
    const std::string saved = IniValue("WindowPos");
    EXPECT_EQ(saved.substr(saved.size() - 16), ",150,120,570,450") << saved;
    Start(SW_SHOWNORMAL);
    EXPECT_TRUE(SameRect(Placement().rcNormalPosition, RECT{150, 120, 570, 450}));
    EXPECT_EQ(Placement().ptMaxPosition.x, -::GetSystemMetrics(SM_CXBORDER));
}

TEST_F(FrameTest, MinimizeHidesAndTheWayBackRestoresNormalOrMaximizedAsItWas)
{
    Start(SW_SHOWNORMAL);
    for (int state : {SW_SHOWMAXIMIZED, SW_SHOWNORMAL}) {
        SCOPED_TRACE(state);
        ::ShowWindow(Frame(), state);
        Minimize();
        EXPECT_FALSE(Visible()) << "minimized means hidden in the tray";
        EXPECT_EQ(g_nRestoreShowCmd, state) << "what the frame was before the minimize";
        SecondInstance();
        EXPECT_TRUE(Visible());
        EXPECT_FALSE(::IsIconic(Frame()));
        EXPECT_EQ(::IsZoomed(Frame()) != FALSE, state == SW_SHOWMAXIMIZED);
    }
}

TEST_F(FrameTest, AStartFromAMinimizedShortcutNeverShowsTheWindow)
{
    {
        ShowWatch watch;
        Start(SW_SHOWMINNOACTIVE);
        EXPECT_EQ(watch.Shown(), 0) << "not even for a moment";
    }
    EXPECT_FALSE(Visible());
    EXPECT_EQ(MainFrame().m_nInitialShowCmd, SW_HIDE);
    SecondInstance();
    EXPECT_TRUE(Visible());
    EXPECT_TRUE(SameRect(Placement().rcNormalPosition, RECT{100, 100, 500, 400}));
}

TEST_F(FrameTest, ClosedWhileHiddenTheNextStartIsHiddenUnlessStartedMaximized)
{
    Start(SW_SHOWNORMAL);
    ::ShowWindow(Frame(), SW_SHOWMAXIMIZED);
    Minimize();
    Close();
    EXPECT_EQ(SavedShowCmd(), static_cast<UINT>(SW_SHOWMINIMIZED));

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        {
            ShowWatch watch;
            Start(SW_SHOWNORMAL);
            EXPECT_EQ(watch.Shown(), 0);
        }
        EXPECT_FALSE(Visible());
        Close(); // never shown, it stays in the tray for the next start
        EXPECT_EQ(SavedShowCmd(), static_cast<UINT>(SW_SHOWMINIMIZED));
    }
    Start(SW_SHOWNORMAL);
    SecondInstance();
    EXPECT_TRUE(::IsZoomed(Frame())) << "it was maximized before it went to the tray";
    Close();

    Start(SW_SHOWMAXIMIZED);
    EXPECT_TRUE(Visible());
    EXPECT_TRUE(::IsZoomed(Frame())) << "a maximized shortcut overrides the saved state";
}

TEST_F(FrameTest, ASavedPlacementOnNoMonitorOrBrokenComesUpWhereTheUserSeesIt)
{
    const RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    struct Case {
        const char* windowPos;
        LONG width, height;
    };
    for (const Case& c : {Case{"0,1,0,0,0,0,5000,6000,5400,6300", 400, 300},
                          Case{"0,1,0,0,0,0,-9000,-9000,-8000,-8800", 1000, 200},
                          Case{"0,1,0,0,0,0,300,300,100,100", 400, 300},
                          Case{"0,99,0,0,0,0,-2147483648,0,2147483647,10", 0, 0}}) {
        SCOPED_TRACE(c.windowPos);
        SetIniValue("WindowPos", c.windowPos);
        Start(SW_SHOWNORMAL);
        RECT window;
        ::GetWindowRect(Frame(), &window);
        RECT seen;
        EXPECT_TRUE(::IntersectRect(&seen, &window, &screen))
            << window.left << "," << window.top << "," << window.right << "," << window.bottom;
        EXPECT_TRUE(Visible());
        if (c.width > 0) {
            EXPECT_EQ(window.right - window.left, c.width);
            EXPECT_EQ(window.bottom - window.top, c.height);
        }
        Close();
        const std::string saved = IniValue("WindowPos");
        EXPECT_EQ(std::count(saved.begin(), saved.end(), ','), 9) << saved;
    }
}
} // namespace
