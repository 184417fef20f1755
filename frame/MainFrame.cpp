#include "frame/MainFrame.h"
#include "app/FernwickApp.h"

CMainFrame::CMainFrame()
{
    // Started from a shortcut that runs minimized: stay hidden in the notification area.
    CWinApp* app = AfxGetApp();
    m_nInitialShowCmd = app != nullptr && app->m_nCmdShow == SW_SHOWMINNOACTIVE ? SW_HIDE : SW_SHOW;
}

void CMainFrame::OnShowInstance()
{
    ShowWindow(IsIconic() ? SW_RESTORE : SW_SHOW);
    ::SetForegroundWindow(m_hWnd);
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SHOWINSTANCE:
        OnShowInstance();
        return 0;
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
}
