// The menu bar's own loop, opened for real in the running program: the tree waits for it to
// close before it follows the disk, and is drawn once it has.
#include "AppFixture.h"
#include "AlertableWait.h"

namespace {
using Names = std::vector<std::string>;

// What a timer running inside the menu loop saw there, before it closed the menu.
struct InsideMenu {
    const CFolderTreeCtrl* tree = nullptr;
    int ticks = 0;
    bool sawMenu = false;
    Names texts;
    bool done = false;
};
InsideMenu* g_inside = nullptr;
constexpr UINT kTickMs = 50;
constexpr int kTicksOpen = 12; // several times the tree's quiet time
constexpr int kTicksAtMost = 100;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    InsideMenu& inside = *g_inside;
    if (inside.done)
        return;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const bool open = ::GetGUIThreadInfo(::GetCurrentThreadId(), &info) && (info.flags & GUI_INMENUMODE) != 0;
    ++inside.ticks;
    if (open && inside.ticks >= kTicksOpen) {
        inside.sawMenu = true;
        inside.texts = ChildTexts(*inside.tree);
        ::EndMenu();
        inside.done = true;
    } else if (inside.ticks >= kTicksAtMost) {
        ::EndMenu();
        inside.done = true;
    }
}

// Pixels of the item's text that are not the tree's background: drawn text.
int DrawnPixels(const CFolderTreeCtrl& tree, HTREEITEM item)
{
    RECT rect{};
    if (!tree.GetItemRect(item, &rect, TRUE))
        return 0;
    HDC dc = ::GetDC(tree);
    const COLORREF background = ::GetPixel(dc, rect.left + 1, rect.top + 1);
    int drawn = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            drawn += ::GetPixel(dc, x, y) != background;
    ::ReleaseDC(tree, dc);
    return drawn;
}

class MenuLoopTest : public AppFixture {};

TEST_F(MenuLoopTest, AChangeReportedBeforeTheMenuBarOpensWaitsForItToCloseAndIsDrawn)
{
    folder.MakeFile("Root\\first.txt");
    Start(SW_SHOWNORMAL);
    ::SetForegroundWindow(Frame());
    const CFolderTreeCtrl& tree = Tree();
    ASSERT_EQ(ChildTexts(tree), Names{"first.txt"});
    {
        // The change is reported and its timer is running when the menu opens.
        const CModalScope held;
        folder.MakeFile("Root\\during.txt");
        WaitAlertably([] { return false; }, 500);
        ASSERT_EQ(ChildTexts(tree), Names{"first.txt"});
    }
    InsideMenu inside;
    inside.tree = &tree;
    g_inside = &inside;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, kTickMs, Tick);
    // As Alt+F opens it; the menu loop runs inside this message's dispatch.
    ::PostMessageA(Frame(), WM_SYSCOMMAND, SC_KEYMENU, 'f');
    EXPECT_TRUE(WaitAlertably([&] { return inside.done; }));
    ::KillTimer(nullptr, timer);
    g_inside = nullptr;
    ASSERT_TRUE(inside.sawMenu) << "the File menu did not open";
    EXPECT_EQ(inside.texts, Names{"first.txt"}) << "nothing moves under the open menu";

    ASSERT_TRUE(WaitAlertably([&] { return ChildTexts(tree) == Names{"during.txt", "first.txt"}; }))
        << "applied once the menu closed";
    WaitAlertably([] { return false; }, 200);
    EXPECT_FALSE(::GetUpdateRect(tree, nullptr, FALSE)) << "nothing is left to paint";
    EXPECT_GT(DrawnPixels(tree, ItemAt(tree, {"during.txt"})), 0) << "the new item is drawn";
    EXPECT_GT(DrawnPixels(tree, ItemAt(tree, {"first.txt"})), 0);
}
} // namespace
