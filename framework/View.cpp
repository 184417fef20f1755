#include "framework/View.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/FrameWnd.h"

CView::~CView()
{
    if (m_pDocument != nullptr)
        m_pDocument->RemoveView(this);
}

CFrameWnd* CView::GetParentFrame() const
{
    for (HWND hWnd = ::GetParent(m_hWnd); hWnd != nullptr; hWnd = ::GetParent(hWnd))
        if (auto* frame = dynamic_cast<CFrameWnd*>(FromHandlePermanent(hWnd)))
            return frame;
    return nullptr;
}

BOOL CView::PreCreateWindow(CREATESTRUCTA& cs)
{
    CWnd::PreCreateWindow(cs);
    if (cs.style & WS_BORDER) {
        // A sunken edge instead of a flat border; the frame gives up its own.
        cs.style &= ~static_cast<LONG>(WS_BORDER);
        cs.dwExStyle |= WS_EX_CLIENTEDGE;
        if (CWnd* parent = FromHandlePermanent(cs.hwndParent))
            parent->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
    }
    return TRUE;
}

void CView::OnInitialUpdate()
{
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CView::OnActivateView(BOOL bActivate, CView* pActivateView, CView*)
{
    if (bActivate && pActivateView == this && ::GetForegroundWindow() == ::GetAncestor(m_hWnd, GA_ROOT))
        SetFocus();
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocument != nullptr && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CView::PostNcDestroy()
{
    delete this;
}

LRESULT CView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        auto* context = static_cast<CCreateContext*>(CreationParam(lParam));
        if (context != nullptr && context->m_pCurrentDoc != nullptr)
            context->m_pCurrentDoc->AddView(this);
        break;
    }
    case WM_INITIALUPDATE:
        OnInitialUpdate();
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = ::BeginPaint(m_hWnd, &ps);
        OnDraw(hdc);
        ::EndPaint(m_hWnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        if (CFrameWnd* frame = GetParentFrame(); frame != nullptr && frame->GetActiveView() == this)
            frame->SetActiveView(nullptr);
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
