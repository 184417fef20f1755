// Command routing through view, document, template, frame and application, and the
// update pass that runs before a menu opens.
#include <gtest/gtest.h>
#include "DocumentHarness.h"
#include "Recorder.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/FrameWnd.h"
#include "framework/View.h"
#include "framework/WinApp.h"
#include "res/resource.h"

namespace {
Recorder g_log;

// Ids each level handles. The program handles commands in its view and its application
// only; the document, template and frame pass them along.
enum : UINT {
    ID_ALL = 40001,     // view and application
    ID_APP_ONLY = 40004,
    ID_NOBODY = 40005,
    ID_CHECKED = 40006,  // the view's update handler checks it
    ID_DISABLED = 40007, // the view's update handler disables it
    ID_SYSTEM = 0xF123,  // framework range, no handler
};

// Each level's entries are a switch like the program's own; a handler logs who ran.
#define LOGGER(name) \
    void On##name() { g_log.Add(std::string(Who()) + ":" #name); }

class TestView : public CView {
    static const char* Who() { return "view"; }
    LOGGER(All)
    LOGGER(Checked)
    LOGGER(Disabled)
    void OnUpdateChecked(CCmdUI* ui) { ui->SetCheck(1); }
    void OnUpdateDisabled(CCmdUI* ui) { ui->Enable(FALSE); }

protected:
    void OnDraw(HDC) override {}
    BOOL OnCommandEntry(const CCmdEntry& e) override
    {
        switch (e.nID) {
        case ID_ALL:
            return e.Command(this, &TestView::OnAll);
        case ID_CHECKED:
            return e.Command(this, &TestView::OnChecked) || e.Update(this, &TestView::OnUpdateChecked);
        case ID_DISABLED:
            return e.Command(this, &TestView::OnDisabled) || e.Update(this, &TestView::OnUpdateDisabled);
        }
        return CView::OnCommandEntry(e);
    }
};

class TestApp : public CWinApp {
    static const char* Who() { return "app"; }
    LOGGER(All)
    LOGGER(AppOnly)

protected:
    BOOL OnCommandEntry(const CCmdEntry& e) override
    {
        switch (e.nID) {
        case ID_ALL:
            return e.Command(this, &TestApp::OnAll);
        case ID_APP_ONLY:
            return e.Command(this, &TestApp::OnAppOnly);
        }
        return CWinApp::OnCommandEntry(e);
    }
};
#undef LOGGER

class RoutingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = OpenTestDocument(app, new CSingleDocTemplate(IDR_MAINFRAME, &AfxNew<CDocument, CDocument>,
                                                             &AfxNew<CFrameWnd, CFrameWnd>, &AfxNew<CView, TestView>));
        ASSERT_NE(frame, nullptr);
        view = ::GetDlgItem(frame, AFX_IDW_PANE_FIRST);
        ASSERT_NE(view, nullptr);
        g_log.Clear();
    }
    void TearDown() override { CloseTestDocuments(app); }

    std::vector<std::string> Command(HWND target, UINT id)
    {
        g_log.Clear();
        ::SendMessageA(target, WM_COMMAND, id, 0);
        return g_log.events;
    }

    TestApp app;
    HWND frame = nullptr;
    HWND view = nullptr;
};

using Events = std::vector<std::string>;

TEST_F(RoutingTest, FrameCommandRunsOnlyTheFirstHandlerOnTheRoute)
{
    EXPECT_EQ(Command(frame, ID_ALL), (Events{"view:All"}));
    EXPECT_EQ(Command(frame, ID_APP_ONLY), (Events{"app:AppOnly"}));
    EXPECT_EQ(Command(frame, ID_NOBODY), Events{});
}

TEST_F(RoutingTest, ViewOwnedMenuCommandNeverReachesTheApplication)
{
    EXPECT_EQ(Command(view, ID_ALL), (Events{"view:All"}));
    EXPECT_EQ(Command(view, ID_APP_ONLY), Events{});
}

TEST_F(RoutingTest, CommandIdZeroAndCommandsDisabledByTheirUpdateHandlerAreDropped)
{
    EXPECT_EQ(Command(frame, 0), Events{});
    EXPECT_EQ(Command(frame, ID_DISABLED), Events{});
    EXPECT_EQ(Command(frame, ID_CHECKED), (Events{"view:Checked"}));
}

TEST_F(RoutingTest, HandlerLookupFindsTheTargetWithoutRunningIt)
{
    AFX_CMDHANDLERINFO info;
    CWnd* pFrame = CWnd::FromHandlePermanent(frame);
    EXPECT_TRUE(pFrame->OnCmdMsg(ID_APP_ONLY, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(info.pTarget, &app);
    EXPECT_TRUE(pFrame->OnCmdMsg(ID_ALL, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(info.pTarget, CWnd::FromHandlePermanent(view));
    EXPECT_TRUE(pFrame->OnCmdMsg(ID_CHECKED, CN_UPDATE_COMMAND_UI, nullptr, &info));
    EXPECT_TRUE(g_log.events.empty()) << "a lookup runs nothing";
    EXPECT_FALSE(pFrame->OnCmdMsg(ID_NOBODY, CN_COMMAND, nullptr, &info));
}

TEST_F(RoutingTest, UpdatePassSetsChecksAndDisablesUnhandledItemsBeforeThePopupOpens)
{
    HMENU popup = ::CreatePopupMenu();
    for (UINT id : {ID_ALL, ID_NOBODY, ID_CHECKED, ID_DISABLED, ID_APP_ONLY, ID_SYSTEM})
        ::AppendMenuA(popup, MF_STRING, id, "item");
    ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    ::SendMessageA(frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);

    auto state = [&](UINT id) { return ::GetMenuState(popup, id, MF_BYCOMMAND); };
    EXPECT_EQ(state(ID_ALL) & (MF_GRAYED | MF_CHECKED), 0u);
    EXPECT_NE(state(ID_NOBODY) & MF_GRAYED, 0u);
    EXPECT_NE(state(ID_CHECKED) & MF_CHECKED, 0u);
    EXPECT_EQ(state(ID_CHECKED) & MF_GRAYED, 0u) << "an update handler that only checks leaves it enabled";
    EXPECT_NE(state(ID_DISABLED) & MF_GRAYED, 0u);
    EXPECT_EQ(state(ID_APP_ONLY) & MF_GRAYED, 0u);
    EXPECT_EQ(state(ID_SYSTEM) & MF_GRAYED, 0u) << "framework ids are never auto-disabled";
    EXPECT_TRUE(g_log.events.empty()) << "the update pass runs no command";

    // The system menu gets no pass.
    HMENU other = ::CreatePopupMenu();
    ::AppendMenuA(other, MF_STRING, ID_NOBODY, "item");
    ::SendMessageA(frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(other), MAKELPARAM(0, TRUE));
    EXPECT_EQ(::GetMenuState(other, ID_NOBODY, MF_BYCOMMAND) & MF_GRAYED, 0u);
    ::DestroyMenu(popup);
    ::DestroyMenu(other);
}

TEST_F(RoutingTest, ExitCommandClosesTheMainWindow)
{
    ::SendMessageA(frame, WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_FALSE(::IsWindow(frame));
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}
} // namespace
