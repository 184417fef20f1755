// Start-up of the application object in this process: the window it shows and what it
// leaves behind at exit.
#include <gtest/gtest.h>
#include "DocumentHarness.h"
#include "TempFolder.h"
#include "app/FernwickApp.h"
#include "framework/Path.h"
#include "res/resource.h"
#include "view/FernwickView.h"

namespace {
class AppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = AfxGetCurrentDirectory();
        folder.MakeFile("Root\\b.txt");
        folder.MakeFile("Root\\Apps\\a.txt");
        ::SetCurrentDirectoryA(folder.Path().c_str());
    }
    void TearDown() override
    {
        DrainMessages();
        ::SetCurrentDirectoryA(saved.c_str());
    }
    bool MutexExists() const
    {
        UniqueKernelHandle probe(::OpenMutexA(SYNCHRONIZE, FALSE, kSingleInstanceMutex));
        return static_cast<bool>(probe);
    }

    TempFolder folder;
    std::string saved;
};

TEST_F(AppTest, SettingsPathIsFixedFromTheCurrentDirectoryAtConstruction)
{
    CFernwickApp app;
    EXPECT_EQ(app.m_strIniPath, folder.Path() + "\\Fernwick.ini");
    ::SetCurrentDirectoryA(saved.c_str());
    EXPECT_EQ(app.m_strIniPath, folder.Path() + "\\Fernwick.ini");
}

TEST_F(AppTest, FirstInstanceShowsTheTitledWindowWithTheTreeFocusedOnItsFirstItem)
{
    CFernwickApp app;
    app.InitApplication(::GetModuleHandleA(nullptr));
    app.m_nCmdShow = SW_SHOWNORMAL;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_NE(app.m_pMainWnd, nullptr);
    HWND frame = app.m_pMainWnd->m_hWnd;
    EXPECT_EQ(app.m_pMainWnd->GetWindowText(), "Fernwick");
    EXPECT_EQ(::FindWindowA(nullptr, "Fernwick"), frame);
    EXPECT_TRUE(::IsWindowVisible(frame));
    EXPECT_TRUE(MutexExists());

    HWND view = ::GetDlgItem(frame, AFX_IDW_PANE_FIRST);
    HWND treeWnd = ::GetDlgItem(view, 1002);
    ASSERT_NE(treeWnd, nullptr);
    RECT client, tree;
    ::GetClientRect(view, &client);
    ::GetClientRect(treeWnd, &tree);
    EXPECT_EQ(tree.right, client.right);
    EXPECT_EQ(tree.bottom, client.bottom);
    EXPECT_EQ(::GetFocus(), treeWnd);

    auto* pView = static_cast<CFernwickView*>(CWnd::FromHandlePermanent(view));
    EXPECT_EQ(pView->m_wndTree.m_strRootPath, folder.Path() + "\\Root\\");
    HTREEITEM first = pView->m_wndTree.GetRootItem();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(pView->m_wndTree.GetSelectedItem(), first);
    EXPECT_EQ(pView->m_wndTree.GetItemText(first), "Apps");

    // Every command of the main menu has its handler on the route.
    HMENU menu = ::GetMenu(frame);
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
        ::SendMessageA(frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(::GetSubMenu(menu, i)), i);
    for (UINT id : {ID_FILE_REFRESH, ID_FILE_OPEN_ROOT, ID_VIEW_TOPMOST, ID_VIEW_STARTUP, ID_APP_EXIT, ID_APP_ABOUT})
        EXPECT_FALSE(::GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) << id;

    ::SendMessageA(frame, WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_FALSE(::IsWindow(frame));
    app.ExitInstance();
    EXPECT_FALSE(MutexExists()) << "exit releases the single-instance mutex";
    app.ExitInstance(); // log-off can reach it a second time
    EXPECT_FALSE(app.m_hMutex);
}

TEST_F(AppTest, AMissingRootStillStartsWithAnEmptyTree)
{
    RemoveTree(folder.Path() + "\\Root");
    CFernwickApp app;
    app.InitApplication(::GetModuleHandleA(nullptr));
    ASSERT_TRUE(app.InitInstance());
    HWND view = ::GetDlgItem(app.m_pMainWnd->m_hWnd, AFX_IDW_PANE_FIRST);
    auto* pView = static_cast<CFernwickView*>(CWnd::FromHandlePermanent(view));
    EXPECT_EQ(pView->m_wndTree.GetRootItem(), nullptr);
    app.CloseAllDocuments(FALSE);
    app.ExitInstance();
}
} // namespace
