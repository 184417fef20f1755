// CView: the child window of the frame that shows the document.
#pragma once
#include "framework/Wnd.h"

class CView : public CWnd {
public:
    CDocument* GetDocument() const { return m_pDocument; }
    CFrameWnd* GetParentFrame() const;
    virtual void OnInitialUpdate();
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    // The frame is drawn at another scale now (its monitor's, or that monitor's new one).
    virtual void OnDpiChanged(UINT /*nDpi*/) {}

    // The view's own entries, then the document's (and with it the template's).
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    ~CView() override;
    virtual void OnDraw(HDC hdc) = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PostNcDestroy() override;

private:
    friend class CDocument;
    CDocument* m_pDocument = nullptr;
};
