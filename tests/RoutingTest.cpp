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

// Ids each level handles; a level handles an id when the id is in its mask.
enum : UINT {
    ID_ALL = 40001,     // every level
    ID_DOC_UP = 40002,  // document, template, frame, application
    ID_FRAME_UP = 40003,
    ID_APP_ONLY = 40004,
    ID_NOBODY = 40005,
    ID_CHECKED = 40006,  // the view's update handler checks it
    ID_DISABLED = 40007, // the view's update handler disables it
    ID_TEMPLATE = 40008, // template only
    ID_SYSTEM = 0xF123,  // framework range, no handler
};

// Each level's entries are a switch like the program's own; a handler logs who ran.
#define LOGGER(name) \
    void On##name() { g_log.Add(std::string(Who()) + ":" #name); }

class TestDoc : public CDocument {
    static const char* Who() { return "doc"; }
    LOGGER(All)
    LOGGER(DocUp)

protected:
    BOOL OnCommandEntry(const CCmdEntry& e) override
    {
        switch (e.nID) {
        case ID_ALL:
            return e.Command(this, &TestDoc::OnAll);
        case ID_DOC_UP:
            return e.Command(this, &TestDoc::OnDocUp);
        }
        return CDocument::OnCommandEntry(e);
    }
};

class TestTemplate : public CSingleDocTemplate {
public:
    using CSingleDocTemplate::CSingleDocTemplate;

private:
    static const char* Who() { return "template"; }
    LOGGER(DocUp)
    LOGGER(Template)

protected:
    BOOL OnCommandEntry(const CCmdEntry& e) override
    {
        switch (e.nID) {
        case ID_DOC_UP:
            return e.Command(this, &TestTemplate::OnDocUp);
        case ID_TEMPLATE:
            return e.Command(this, &TestTemplate::OnTemplate);
        }
        return CSingleDocTemplate::OnCommandEntry(e);
    }
};

class TestFrame : public CFrameWnd {
    static const char* Who() { return "frame"; }
    LOGGER(All)
    LOGGER(DocUp)
    LOGGER(FrameUp)

protected:
    BOOL OnCommandEntry(const CCmdEntry& e) override
    {
        switch (e.nID) {
        case ID_ALL:
            return e.Command(this, &TestFrame::OnAll);
        case ID_DOC_UP:
            return e.Command(this, &TestFrame::OnDocUp);
        case ID_FRAME_UP:
            return e.Command(this, &TestFrame::OnFrameUp);
        }
        return CFrameWnd::OnCommandEntry(e);
    }
};

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
    LOGGER(DocUp)
    LOGGER(FrameUp)
    LOGGER(AppOnly)

protected:
    BOOL OnCommandEntry(const CCmdEntry& e) override
    {
        switch (e.nID) {
        case ID_ALL:
            return e.Command(this, &TestApp::OnAll);
        case ID_DOC_UP:
            return e.Command(this, &TestApp::OnDocUp);
        case ID_FRAME_UP:
            return e.Command(this, &TestApp::OnFrameUp);
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
        frame = OpenTestDocument(app, new TestTemplate(IDR_MAINFRAME, &AfxNew<CDocument, TestDoc>,
                                                       &AfxNew<CFrameWnd, TestFrame>, &AfxNew<CView, TestView>));
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
    EXPECT_EQ(Command(frame, ID_DOC_UP), (Events{"doc:DocUp"}));
    EXPECT_EQ(Command(frame, ID_TEMPLATE), (Events{"template:Template"}));
    EXPECT_EQ(Command(frame, ID_FRAME_UP), (Events{"frame:FrameUp"}));
    EXPECT_EQ(Command(frame, ID_APP_ONLY), (Events{"app:AppOnly"}));
    EXPECT_EQ(Command(frame, ID_NOBODY), Events{});
}

TEST_F(RoutingTest, ViewOwnedMenuCommandNeverReachesFrameOrApplication)
{
    EXPECT_EQ(Command(view, ID_ALL), (Events{"view:All"}));
    EXPECT_EQ(Command(view, ID_DOC_UP), (Events{"doc:DocUp"}));
    EXPECT_EQ(Command(view, ID_TEMPLATE), (Events{"template:Template"}));
    EXPECT_EQ(Command(view, ID_FRAME_UP), Events{});
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
    EXPECT_TRUE(pFrame->OnCmdMsg(ID_FRAME_UP, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(info.pTarget, pFrame);
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
