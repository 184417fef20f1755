#include "framework/FrameWnd.h"
#include "framework/Handles.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/Menu.h"
#include "framework/View.h"
#include "framework/WinApp.h"

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.lpszClass == nullptr) {
        RegisterWindowClass(kFrameClass, ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIDResource)),
                            COLOR_BTNFACE);
        cs.lpszClass = kFrameClass;
    }
    // A view brings this edge as its own. Given to a frame that makes one, it would be taken
    // back at once, and the frame laid out and drawn again for it.
    const auto* context = static_cast<const CCreateContext*>(cs.lpCreateParams);
    if (context == nullptr || context->m_pNewViewClass == nullptr)
        cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDResource = nIDResource;
    CSingleDocTemplate* pTemplate = pContext != nullptr ? pContext->m_pNewDocTemplate : nullptr;
    const std::string title = pTemplate != nullptr ? pTemplate->GetDocString(0) : AfxLoadString(nIDResource);
    UniqueMenu menu(::LoadMenuA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(nIDResource)));
    RECT rect{CW_USEDEFAULT, CW_USEDEFAULT, 0, 0};
    if (CreateEx(0, nullptr, title.c_str(), dwStyle, rect, pParentWnd ? pParentWnd->m_hWnd : nullptr, menu.get(),
                 pContext)) {
        menu.release(); // the window owns it now
        return TRUE;
    }
    // A window destroyed during its creation took its menu with it.
    if (!::IsMenu(menu.get()))
        menu.release();
    return FALSE;
}

BOOL CFrameWnd::OnCreateClient(CCreateContext* pContext)
{
    if (pContext == nullptr || pContext->m_pNewViewClass == nullptr)
        return TRUE;
    CView* pView = pContext->m_pNewViewClass();
    RECT empty{0, 0, 0, 0};
    // A view that fails to be created deletes itself.
    return pView->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, empty, this, AFX_IDW_PANE_FIRST, pContext);
}

void CFrameWnd::InitialUpdateFrame(CDocument*, BOOL bMakeVisible)
{
    auto* pView = dynamic_cast<CView*>(FromHandlePermanent(::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST)));
    if (pView != nullptr)
        SetActiveView(pView);
    SendMessageToDescendants(WM_INITIALUPDATE);
    if (bMakeVisible) {
        int nCmdShow = -1;
        CWinApp* app = AfxGetApp();
        if (app != nullptr && app->m_pMainWnd == this) {
            nCmdShow = app->m_nCmdShow;
            app->m_nCmdShow = -1;
        }
        ActivateFrame(nCmdShow);
        if (pView != nullptr)
            pView->OnActivateView(TRUE, pView, pView);
    }
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1) {
        if (!IsWindowVisible())
            nCmdShow = SW_SHOWNORMAL;
        else if (IsIconic())
            nCmdShow = SW_RESTORE;
    }
    BringToTop(nCmdShow);
    if (nCmdShow != -1) {
        ShowWindow(nCmdShow);
        BringToTop(nCmdShow);
    }
}

void CFrameWnd::BringToTop(int nCmdShow) const
{
    switch (nCmdShow) {
    case SW_HIDE:
    case SW_SHOWNOACTIVATE:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
    case SW_SHOWNA:
        return;
    }
    ::BringWindowToTop(::GetLastActivePopup(m_hWnd));
}

CDocument* CFrameWnd::GetActiveDocument() const
{
    return m_pViewActive != nullptr ? m_pViewActive->GetDocument() : nullptr;
}

void CFrameWnd::RecalcLayout()
{
    HWND pane = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST);
    if (pane == nullptr)
        return;
    RECT rc;
    GetClientRect(&rc);
    ::SetWindowPos(pane, nullptr, 0, 0, rc.right, rc.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (m_pViewActive != nullptr && m_pViewActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CFrameWnd::OnClose()
{
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this && GetActiveDocument() != nullptr) {
        // The document is never modified, so nothing needs asking before it closes.
        app->HideApplication();
        app->CloseAllDocuments(FALSE);
        return;
    }
    DestroyWindow();
}

BOOL CFrameWnd::OnQueryEndSession()
{
    return TRUE;
}

void CFrameWnd::OnEndSession(BOOL bEnding)
{
    CWinApp* app = AfxGetApp();
    if (!bEnding || app == nullptr || app->m_pMainWnd != this)
        return;
    app->CloseAllDocuments(TRUE);
    if (app->m_pMainWnd == this) // no document took the frame down
        DestroyWindow();
    app->ExitInstance();
}

void CFrameWnd::OnInitMenuPopup(HMENU hPopup, UINT, BOOL bSysMenu)
{
    if (bSysMenu)
        return;
    CMenu popup(hPopup);
    CCmdUI state;
    state.m_hMenu = hPopup;
    const int count = popup.GetMenuItemCount();
    for (int i = 0; i < count; ++i) {
        UINT nID = popup.GetMenuItemID(i);
        if (nID == 0 || nID == static_cast<UINT>(-1)) // separator or submenu
            continue;
        state.m_nIndex = static_cast<UINT>(i);
        state.m_nID = nID;
        state.DoUpdate(this, nID < AFX_FIRST_SYSTEM_COMMAND);
    }
}

void CFrameWnd::PostNcDestroy()
{
    delete this;
}

LRESULT CFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        if (Default() == -1)
            return -1;
        if (!OnCreateClient(static_cast<CCreateContext*>(CreationParam(lParam))))
            return -1;
        RecalcLayout();
        return 0;
    case WM_SIZE:
        Default();
        if (wParam != SIZE_MINIMIZED)
            RecalcLayout();
        return 0;
    case WM_SETFOCUS:
        if (m_pViewActive != nullptr) {
            m_pViewActive->SetFocus();
            return 0;
        }
        break;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_QUERYENDSESSION:
        return OnQueryEndSession();
    case WM_ENDSESSION:
        OnEndSession(static_cast<BOOL>(wParam));
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
