// The order in which the framework creates, shows and closes document, frame and view.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include "DocumentHarness.h"
#include "Recorder.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/FrameWnd.h"
#include "framework/ShellCalls.h"
#include "framework/TreeCtrl.h"
#include "framework/View.h"
#include "framework/WinApp.h"
#include "res/resource.h"

namespace {
Recorder g_log;

class LifeDoc : public CDocument {
public:
    LifeDoc() { g_log.Add("doc created"); }
    ~LifeDoc() override { g_log.Add("doc deleted"); }
    BOOL OnNewDocument() override
    {
        g_log.Add(GetFirstView() != nullptr ? "doc new, view attached" : "doc new, no view");
        return CDocument::OnNewDocument();
    }
};

class LifeTree : public CTreeCtrl {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_DESTROY)
            g_log.Add("tree WM_DESTROY");
        if (message == WM_NCDESTROY)
            g_log.Add("tree WM_NCDESTROY");
        return CTreeCtrl::WindowProc(message, wParam, lParam);
    }
};

class LifeView : public CView {
public:
    LifeView() { g_log.Add("view constructed"); }
    BOOL Create(const char* cls, const char* title, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                CCreateContext* context) override
    {
        g_log.Add("view Create");
        if (!CView::Create(cls, title, style, rect, parent, id, context))
            return FALSE;
        RECT empty{};
        return tree.Create(WS_CHILD | WS_VISIBLE, empty, this, 1002);
    }
    void OnInitialUpdate() override
    {
        CWinApp* app = AfxGetApp();
        g_log.Add(app->m_pMainWnd == GetParentFrame() ? "initial update, main window set" : "initial update");
        CView::OnInitialUpdate();
    }
    void OnActivateView(BOOL bActivate, CView* a, CView* d) override
    {
        g_log.Add("view activated");
        CView::OnActivateView(bActivate, a, d);
    }
    LifeTree tree;

protected:
    ~LifeView() override { g_log.Add("view deleted"); }
    void OnDraw(HDC) override {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_SIZE:
            if (LOWORD(lParam) > 0 && g_log.events.back() != "view sized")
                g_log.Add("view sized");
            break;
        case WM_DESTROY:
            g_log.Add(::IsWindow(tree.m_hWnd) ? "view WM_DESTROY, tree alive" : "view WM_DESTROY");
            break;
        case WM_NCDESTROY:
            g_log.Add("view WM_NCDESTROY");
            break;
        }
        return CView::WindowProc(message, wParam, lParam);
    }
};

class LifeFrame : public CFrameWnd {
public:
    LifeFrame() { g_log.Add("frame constructed"); }
    void ActivateFrame(int nCmdShow) override
    {
        g_log.Add("activate " + std::to_string(nCmdShow) + ", app " + std::to_string(AfxGetApp()->m_nCmdShow));
        CFrameWnd::ActivateFrame(nCmdShow);
    }

protected:
    ~LifeFrame() override { g_log.Add("frame deleted"); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_DESTROY)
            g_log.Add("frame WM_DESTROY");
        if (message == WM_NCDESTROY)
            g_log.Add("frame WM_NCDESTROY");
        return CFrameWnd::WindowProc(message, wParam, lParam);
    }
};

class LifeApp : public CWinApp {
public:
    int ExitInstance() override
    {
        g_log.Add("exit instance");
        return CWinApp::ExitInstance();
    }
};

class LifecycleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_log.Clear();
        frame = OpenTestDocument(app, new CSingleDocTemplate(IDR_MAINFRAME, &AfxNew<CDocument, LifeDoc>,
                                                             &AfxNew<CFrameWnd, LifeFrame>, &AfxNew<CView, LifeView>));
        ASSERT_NE(frame, nullptr);
    }
    void TearDown() override { CloseTestDocuments(app); }
    bool QuitPosted()
    {
        MSG msg;
        return ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
    }

    LifeApp app;
    HWND frame = nullptr;
};

using Events = std::vector<std::string>;

TEST_F(LifecycleTest, NewDocumentCreatesInOrderAndShowsTheFrameWithTheProcessShowCommand)
{
    EXPECT_EQ(g_log.events, (Events{"doc created", "frame constructed", "view constructed", "view Create",
                                    "view sized", "doc new, view attached", "initial update, main window set",
                                    "activate 4, app -1", "view activated"}));
    EXPECT_TRUE(::IsWindowVisible(frame));
    EXPECT_EQ(AfxGetApp()->m_nCmdShow, -1);

    HWND view = ::GetDlgItem(frame, AFX_IDW_PANE_FIRST);
    ASSERT_NE(view, nullptr);
    EXPECT_NE(::GetWindowLongPtrA(view, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    EXPECT_EQ(::GetWindowLongPtrA(view, GWL_STYLE) & WS_BORDER, 0);
    EXPECT_EQ(::GetWindowLongPtrA(frame, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    RECT client, pane;
    ::GetClientRect(frame, &client);
    ::GetWindowRect(view, &pane);
    EXPECT_EQ(pane.right - pane.left, client.right) << "the view fills the frame";
    char title[64];
    ::GetWindowTextA(frame, title, sizeof title);
    EXPECT_STREQ(title, "Fernwick");
    EXPECT_NE(::GetMenu(frame), nullptr);
}

TEST_F(LifecycleTest, DefaultActivationShowsAHiddenFrameAndRestoresAMinimizedOne)
{
    auto* pFrame = static_cast<CFrameWnd*>(app.m_pMainWnd);
    ::ShowWindow(frame, SW_HIDE);
    pFrame->ActivateFrame(-1);
    EXPECT_TRUE(::IsWindowVisible(frame));
    ::ShowWindow(frame, SW_MINIMIZE);
    pFrame->ActivateFrame(-1);
    EXPECT_FALSE(::IsIconic(frame));
    ::ShowWindow(frame, SW_MAXIMIZE);
    pFrame->ActivateFrame(-1);
    EXPECT_TRUE(::IsZoomed(frame)) << "a shown frame is left as it is";
}

TEST_F(LifecycleTest, CloseDestroysFrameViewTreeInOrderThenDeletesTheDocumentAndPostsQuit)
{
    g_log.Clear();
    ::SendMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(g_log.events,
              (Events{"frame WM_DESTROY", "view WM_DESTROY, tree alive", "tree WM_DESTROY", "tree WM_NCDESTROY",
                      "view WM_NCDESTROY", "view deleted", "frame WM_NCDESTROY", "frame deleted", "doc deleted"}));
    EXPECT_FALSE(::IsWindow(frame));
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_TRUE(QuitPosted());
}

TEST_F(LifecycleTest, EndOfSessionClosesLikeCloseWithoutWmCloseAndRunsExitInstance)
{
    EXPECT_TRUE(::SendMessageA(frame, WM_QUERYENDSESSION, 0, 0));
    EXPECT_TRUE(::IsWindow(frame)) << "the query alone closes nothing";
    g_log.Clear();
    ::SendMessageA(frame, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(g_log.events,
              (Events{"frame WM_DESTROY", "view WM_DESTROY, tree alive", "tree WM_DESTROY", "tree WM_NCDESTROY",
                      "view WM_NCDESTROY", "view deleted", "frame WM_NCDESTROY", "frame deleted", "doc deleted",
                      "exit instance"}));
}

TEST_F(LifecycleTest, EndSessionThatIsCancelledLeavesEverythingAlone)
{
    g_log.Clear();
    ::SendMessageA(frame, WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(::IsWindow(frame));
    EXPECT_TRUE(g_log.events.empty());
}

TEST_F(LifecycleTest, MessageLoopEndsAtTheQuitAndReturnsExitInstancesCode)
{
    ::PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(g_log.events.back(), "exit instance");
    EXPECT_EQ(std::count(g_log.events.begin(), g_log.events.end(), "frame deleted"), 1);
}

TEST_F(LifecycleTest, TemporaryWrappersLiveUntilTheProgramGoesIdle)
{
    HWND desktop = ::GetDesktopWindow();
    CWnd* wrapper = CWnd::FromHandle(desktop);
    ASSERT_NE(wrapper, nullptr);
    EXPECT_EQ(wrapper->m_hWnd, desktop);
    EXPECT_EQ(CWnd::FromHandle(desktop), wrapper) << "one wrapper per handle until idle";
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
    EXPECT_EQ(CWnd::FromHandle(frame), CWnd::FromHandlePermanent(frame)) << "a bound window is its own object";
    EXPECT_FALSE(app.OnIdle(0)) << "nothing more to do when idle";
    EXPECT_EQ(CWnd::FromHandlePermanent(desktop), nullptr);
}
} // namespace

namespace {
// A window and a control whose handler fails: the framework's window procedure and the
// control's subclass procedure stand between it and the system.
class Failing : public CWnd {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_APP)
            throw std::runtime_error("a handler failed");
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

int WINAPI ToldOnStandardError(HWND, LPCSTR, LPCSTR, UINT type)
{
    std::fprintf(stderr, "message box %s\n", (type & MB_ICONMASK) == MB_ICONSTOP ? "stop" : "other");
    return IDOK;
}

void FailIn(bool control)
{
    CWinApp app;
    app.InitApplication(::GetModuleHandleA(nullptr));
    const CShellCallsScope scope;
    g_shellCalls.MessageBoxA = ToldOnStandardError;
    Failing window;
    RECT rect{0, 0, 10, 10};
    window.CreateEx(0, control ? "STATIC" : nullptr, "", WS_POPUP, rect, nullptr, nullptr);
    window.SendMessage(WM_APP);
    std::fprintf(stderr, "the exception went on\n");
}

TEST(BoundaryDeathTest, AFailingHandlerEndsTheProgramWithAMessageBoxAndNothingCrossesIntoTheSystem)
{
    ::testing::GTEST_FLAG(death_test_style) = "threadsafe";
    for (bool control : {false, true})
        EXPECT_EXIT(FailIn(control), ::testing::ExitedWithCode(EXIT_FAILURE), "message box stop") << control;
}
} // namespace
