// CFrameWnd: the single-document main window that hosts the view.
#pragma once
#include <string>
#include "framework/Wnd.h"

// The window class of every frame.
constexpr char kFrameClass[] = "AfxFrameWnd";

class CFrameWnd : public CWnd {
public:
    // Creates the frame from menu, icon and title string nIDResource; the context
    // names the view to create inside it.
    BOOL LoadFrame(UINT nIDResource, DWORD dwStyle, CWnd* pParentWnd, CCreateContext* pContext);
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    // -1: show a hidden frame normally, restore a minimized one, else leave it.
    virtual void ActivateFrame(int nCmdShow = -1);
    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* pView) { m_pViewActive = pView; }
    CDocument* GetActiveDocument() const;
    // Lays the view over the whole client area.
    void RecalcLayout();

    // Active view (with its document and template) first, then the frame, then the application.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PostNcDestroy() override;
    virtual BOOL OnCreateClient(CCreateContext* pContext);
    virtual void OnClose();
    virtual BOOL OnQueryEndSession();
    void OnEndSession(BOOL bEnding);
    // Each item's update handler runs before its pop-up opens.
    void OnInitMenuPopup(HMENU hPopup, UINT nIndex, BOOL bSysMenu) override;

private:
    void BringToTop(int nCmdShow) const;

    UINT m_nIDResource = 0;
    CView* m_pViewActive = nullptr;
};
