// The framework's modal dialog and the pre-translation that both message loops do.
#include <gtest/gtest.h>
#include "ModalScript.h"
#include "Recorder.h"
#include "framework/Dialog.h"
#include "framework/WinApp.h"
#include "res/resource.h"

namespace {
Recorder g_log;

class Control : public CWnd {
public:
    int presubclassed = 0;
    bool boundWhenPresubclassed = false;

protected:
    void PreSubclassWindow() override
    {
        ++presubclassed;
        boundWhenPresubclassed = FromHandlePermanent(m_hWnd) == this;
    }
};

class ExchangeDialog : public CDialog {
public:
    ExchangeDialog() : CDialog(IDD_ABOUTBOX) {}
    Control control;
    CWnd missing;
    bool boundAtInit = false;

protected:
    BOOL OnInitDialog() override
    {
        boundAtInit = FromHandlePermanent(m_hWnd) == this;
        CDialog::OnInitDialog();
        UpdateData();
        return TRUE;
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_LINK, control);
        DDX_Control(pDX, 4711, missing);
    }
};

TEST(DialogTest, BoundBeforeInitDialogAndEachControlSubclassedOnce)
{
    ExchangeDialog dialog;
    const INT_PTR result = RunModal([&] { return dialog.DoModal(); }, {[&](HWND hDlg) {
                                        EXPECT_EQ(dialog.control.m_hWnd, ::GetDlgItem(hDlg, IDC_LINK));
                                        ::PostMessageA(hDlg, WM_COMMAND, IDOK, 0);
                                    }});
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(dialog.boundAtInit);
    EXPECT_EQ(dialog.control.presubclassed, 1) << "the second exchange left the control alone";
    EXPECT_TRUE(dialog.control.boundWhenPresubclassed);
    EXPECT_EQ(dialog.missing.m_hWnd, nullptr);
    EXPECT_EQ(dialog.control.m_hWnd, nullptr) << "the control went with its dialog";
}

class Listener : public CWnd {
public:
    const char* name = "";
    WPARAM takes = 0; // the WM_APP this window keeps from dispatching; 0: none
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message != WM_APP)
            return FALSE;
        g_log.Add(std::string("pre ") + name);
        return pMsg->wParam == takes;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_APP)
            g_log.Add(std::string("dispatched to ") + name);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST(PreTranslateTest, TheLoopOffersMessagesUpToTheTopLevelWindowAndDispatchesWhatNobodyTook)
{
    Listener owner, top, child, grandchild;
    RECT rect{0, 0, 100, 100};
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP, rect, nullptr, nullptr));
    ASSERT_TRUE(top.CreateEx(0, nullptr, "top", WS_POPUP, rect, owner.m_hWnd, nullptr));
    ASSERT_TRUE(child.Create(nullptr, nullptr, WS_CHILD, rect, &top, 1));
    ASSERT_TRUE(grandchild.Create(nullptr, nullptr, WS_CHILD, rect, &child, 2));
    owner.name = "owner";
    top.name = "top";
    child.name = "child";
    grandchild.name = "grandchild";
    child.takes = 2;

    CWinApp app;
    ::PostMessageA(grandchild.m_hWnd, WM_APP, 1, 0);
    ::PostMessageA(grandchild.m_hWnd, WM_APP, 2, 0);
    ::PostQuitMessage(0);
    app.Run();
    EXPECT_EQ(g_log.events, (std::vector<std::string>{"pre grandchild", "pre child", "pre top", "dispatched to grandchild",
                                                      "pre grandchild", "pre child"}))
        << "a top-level window's owner is not its parent";
}
} // namespace
