// The running program at another scale. Wine gives every monitor the system's DPI and never
// changes it, so a change of scale comes as Windows brings it: WM_DPICHANGED to the frame,
// with the rectangle the window should take.
#include <gtest/gtest.h>
#include "AppFixture.h"
#include "framework/Dpi.h"
#include "res/resource.h"

namespace {
LOGFONTA FontOf(HWND hWnd)
{
    LOGFONTA font{};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(hWnd, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

int IconWidth(HIMAGELIST list)
{
    int cx = 0;
    int cy = 0;
    ::ImageList_GetIconSize(list, &cx, &cy);
    return cx;
}

void ChangeScale(HWND hWnd, UINT dpi, RECT suggested)
{
    ::SendMessageA(hWnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

bool HasWindowRect(HWND hWnd, const RECT& expected)
{
    RECT rect{};
    ::GetWindowRect(hWnd, &rect);
    return ::EqualRect(&rect, &expected);
}

// What the user sees of the tree.
struct TreeLook {
    LONG fontHeight;
    SHORT itemHeight;
    UINT indent;
    int iconWidth;
};

// Answers the first placement that puts the frame at `at` as Windows does when that place
// is on a monitor of another scale: WM_DPICHANGED, with the size scaled.
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
        if (code == HC_ACTION && !s_sent && msg->message == WM_WINDOWPOSCHANGED && ::GetParent(msg->hwnd) == nullptr) {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(msg->lParam);
            if (pos->x == s_at.x && pos->y == s_at.y) {
                s_sent = true;
                const UINT from = AfxGetSystemDpi();
                ChangeScale(msg->hwnd, s_dpi,
                            RECT{pos->x, pos->y, pos->x + AfxScale(pos->cx, s_dpi, from),
                                 pos->y + AfxScale(pos->cy, s_dpi, from)});
            }
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
    TreeLook Look() const
    {
        return {FontOf(Tree().m_hWnd).lfHeight, Tree().GetItemHeight(), Tree().GetIndent(),
                IconWidth(Tree().GetImageList(TVSIL_NORMAL))};
    }
    bool HasNormalRect(const RECT& expected) const
    {
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        ::GetWindowPlacement(Frame(), &wp);
        return ::EqualRect(&wp.rcNormalPosition, &expected);
    }

    const UINT systemDpi = AfxGetSystemDpi();
};

TEST_F(DpiTest, TheProgramIsAwareOfEachMonitorsScale)
{
    using Call = DPI_AWARENESS_CONTEXT(WINAPI*)();
    using Awareness = int(WINAPI*)(DPI_AWARENESS_CONTEXT);
    HMODULE user32 = ::GetModuleHandleA("user32.dll");
    const auto context = reinterpret_cast<Call>(reinterpret_cast<void*>(::GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
    const auto awareness =
        reinterpret_cast<Awareness>(reinterpret_cast<void*>(::GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    ASSERT_TRUE(context != nullptr && awareness != nullptr);
    EXPECT_EQ(awareness(context()), 2) << "DPI_AWARENESS_PER_MONITOR_AWARE, as the manifest declares";
}

TEST_F(DpiTest, OnAMonitorOfTwiceTheScaleTheWindowTakesItsRectangleAndTheTreeGrowsAndComesBack)
{
    folder.MakeFile("Root\\readme.txt");
    Start(SW_SHOWNORMAL);
    const TreeLook start = Look();
    ASSERT_LT(start.fontHeight, 0) << "a character height";

    const RECT moved{300, 40, 1100, 640};
    ChangeScale(Frame(), 2 * systemDpi, moved);
    EXPECT_TRUE(HasWindowRect(Frame(), moved));
    const TreeLook twice = Look();
    EXPECT_EQ(twice.fontHeight, 2 * start.fontHeight);
    EXPECT_EQ(twice.iconWidth, 2 * start.iconWidth) << "the shell's list of icons of that size";
    EXPECT_EQ(twice.indent, 2 * start.indent);
    EXPECT_GE(twice.itemHeight, twice.iconWidth);
    EXPECT_GT(twice.itemHeight, start.itemHeight);
    RECT view;
    ::GetClientRect(View().m_hWnd, &view);
    RECT tree;
    ::GetWindowRect(Tree().m_hWnd, &tree);
    EXPECT_EQ(tree.right - tree.left, view.right) << "the tree still covers the view";

    Command(ID_FILE_REFRESH);
    EXPECT_EQ(Look().iconWidth, twice.iconWidth) << "a refresh keeps the scale";

    const RECT back{100, 100, 500, 400};
    ChangeScale(Frame(), systemDpi, back);
    EXPECT_TRUE(HasWindowRect(Frame(), back));
    const TreeLook again = Look();
    EXPECT_EQ(again.fontHeight, start.fontHeight);
    EXPECT_EQ(again.itemHeight, start.itemHeight);
    EXPECT_EQ(again.indent, start.indent);
    EXPECT_EQ(again.iconWidth, start.iconWidth);
}

TEST_F(DpiTest, TheSavedPlacementKeepsItsPhysicalRectangleAtEveryScale)
{
    Start(SW_SHOWNORMAL);
    const LONG systemFont = FontOf(Tree().m_hWnd).lfHeight;
    const RECT onTheOther{260, 180, 1060, 780}; // dragged onto a monitor of twice the scale
    ChangeScale(Frame(), 2 * systemDpi, onTheOther);
    Close();

    // Started again at the system's scale: the same pixels, not a size scaled back.
    Start(SW_SHOWNORMAL);
    EXPECT_TRUE(HasNormalRect(onTheOther));
    Close();

    // Restored onto a monitor of another scale, Windows answers the placement with a scaled
    // rectangle: the window takes the scale, the size stays the one it was closed with.
    MonitorOfScale monitor(POINT{onTheOther.left, onTheOther.top}, 2 * systemDpi);
    Start(SW_SHOWNORMAL);
    ASSERT_TRUE(monitor.Sent());
    EXPECT_TRUE(HasNormalRect(onTheOther));
    EXPECT_TRUE(HasWindowRect(Frame(), onTheOther));
    EXPECT_EQ(FontOf(Tree().m_hWnd).lfHeight, 2 * systemFont);
}
} // namespace
