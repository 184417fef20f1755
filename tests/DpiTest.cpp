// The running program moved to a monitor of another scale, and its placement across scales.
#include <gtest/gtest.h>
#include <tuple>
#include "AppFixture.h"
#include "ScaleChange.h"
#include "framework/Dpi.h"
#include "res/resource.h"

namespace {
// Answers the placement that puts a top-level window at `at` as Windows does when that place
// is on a monitor of another scale: WM_DPICHANGED, with the size scaled to it.
class MonitorOfScale {
public:
    MonitorOfScale(POINT at, UINT dpi) : m_hook(::SetWindowsHookExA(WH_CALLWNDPROCRET, Hook, nullptr, ::GetCurrentThreadId()))
    {
        s_at = at;
        s_dpi = dpi;
        s_sent = false;
    }
    ~MonitorOfScale() { ::UnhookWindowsHookEx(m_hook); }
    bool Sent() const { return s_sent; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* msg = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(msg->lParam);
        if (code == HC_ACTION && !s_sent && msg->message == WM_WINDOWPOSCHANGED && ::GetParent(msg->hwnd) == nullptr &&
            pos->x == s_at.x && pos->y == s_at.y) {
            s_sent = true;
            const UINT from = AfxGetSystemDpi();
            ChangeScale(msg->hwnd, s_dpi,
                        RECT{pos->x, pos->y, pos->x + AfxScale(pos->cx, s_dpi, from), pos->y + AfxScale(pos->cy, s_dpi, from)});
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK m_hook;
    static inline POINT s_at{};
    static inline UINT s_dpi = 0;
    static inline bool s_sent = false;
};

class DpiTest : public AppFixture {
protected:
    // What the user sees of the tree: font height, line height, indent, icon width.
    std::tuple<LONG, int, int, int> TreeLook() const
    {
        int icon = 0;
        int unused = 0;
        ::ImageList_GetIconSize(Tree().GetImageList(TVSIL_NORMAL), &icon, &unused);
        return {FontHeight(Tree().m_hWnd), Tree().GetItemHeight(), static_cast<int>(Tree().GetIndent()), icon};
    }
    const UINT systemDpi = AfxGetSystemDpi();
};

TEST_F(DpiTest, TheManifestMakesTheProgramAwareOfEachMonitorsScale)
{
    using Context = DPI_AWARENESS_CONTEXT(WINAPI*)();
    using Awareness = int(WINAPI*)(DPI_AWARENESS_CONTEXT);
    HMODULE user32 = ::GetModuleHandleA("user32.dll");
    const auto context = reinterpret_cast<Context>(reinterpret_cast<void*>(::GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
    const auto awareness =
        reinterpret_cast<Awareness>(reinterpret_cast<void*>(::GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    ASSERT_TRUE(context != nullptr && awareness != nullptr);
    EXPECT_EQ(awareness(context()), 2) << "DPI_AWARENESS_PER_MONITOR_AWARE";
}

TEST_F(DpiTest, AtTwiceTheScaleTheWindowTakesItsRectangleAndTheTreeGrowsThenComesBackAsItWas)
{
    folder.MakeFile("Root\\readme.txt");
    Start(SW_SHOWNORMAL);
    const auto [font, line, indent, icon] = TreeLook();
    const RECT moved{300, 40, 1100, 640};
    ChangeScale(Frame(), 2 * systemDpi, moved);
    EXPECT_TRUE(SameRect(WindowRect(Frame()), moved));
    const auto [bigFont, bigLine, bigIndent, bigIcon] = TreeLook();
    EXPECT_EQ(bigFont, 2 * font);
    EXPECT_EQ(bigIcon, 2 * icon) << "the shell's list of icons of that size";
    EXPECT_EQ(bigIndent, 2 * indent);
    EXPECT_GE(bigLine, bigIcon);
    EXPECT_GT(bigLine, line);
    Command(ID_FILE_REFRESH);
    EXPECT_EQ(std::get<3>(TreeLook()), bigIcon) << "a refresh keeps the scale";

    const RECT back{100, 100, 500, 400};
    ChangeScale(Frame(), systemDpi, back);
    EXPECT_TRUE(SameRect(WindowRect(Frame()), back));
    EXPECT_EQ(TreeLook(), std::make_tuple(font, line, indent, icon));
}

TEST_F(DpiTest, TheSavedPlacementKeepsItsPixelsAtEveryScale)
{
    Start(SW_SHOWNORMAL);
    const LONG systemFont = FontHeight(Tree().m_hWnd);
    const RECT onTheOther{260, 180, 1060, 780}; // dragged onto a monitor of twice the scale
    ChangeScale(Frame(), 2 * systemDpi, onTheOther);
    Close();
    Start(SW_SHOWNORMAL);
    EXPECT_TRUE(SameRect(WindowRect(Frame()), onTheOther)) << "not scaled back to this monitor's scale";
    Close();

    // Windows answers a placement on a monitor of another scale with a rectangle scaled to it:
    // the window takes the scale but keeps the pixels it was closed with.
    MonitorOfScale monitor(POINT{onTheOther.left, onTheOther.top}, 2 * systemDpi);
    Start(SW_SHOWNORMAL);
    ASSERT_TRUE(monitor.Sent());
    EXPECT_TRUE(SameRect(WindowRect(Frame()), onTheOther));
    EXPECT_EQ(FontHeight(Tree().m_hWnd), 2 * systemFont);
}
} // namespace
