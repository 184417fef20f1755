#include "view/FernwickView.h"
#include <cstdlib>
#include "framework/Path.h"
#include "res/resource.h"

std::string RootFolderPath()
{
    if (__argc >= 2)
        return __argv[1];
    // No test for a current directory that already ends in a backslash (a drive root).
    return AfxGetCurrentDirectory() + "\\Root";
}

BOOL CFernwickView::Create(const char* className, const char* windowName, DWORD dwStyle, const RECT& rect,
                           CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    if (!CView::Create(className, windowName, dwStyle, rect, pParentWnd, nID, pContext))
        return FALSE;
    if (m_wndTree.m_hWnd != nullptr)
        return TRUE;
    RECT empty{0, 0, 0, 0};
    if (!m_wndTree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, empty, this,
                          IDC_FOLDER_TREE))
        return FALSE;
    RebuildTree();
    return TRUE;
}

void CFernwickView::RebuildTree()
{
    m_wndTree.DeleteAllItems();
    m_wndTree.DisplayTree(RootFolderPath(), TRUE);
}

LRESULT CFernwickView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        Default();
        if (m_wndTree.m_hWnd != nullptr)
            m_wndTree.SetWindowPos(nullptr, 0, 0, LOWORD(lParam), HIWORD(lParam), SWP_NOMOVE | SWP_NOZORDER);
        return 0;
    case WM_SETFOCUS:
        // Keys belong to the tree whenever the window is active again.
        if (m_wndTree.m_hWnd != nullptr) {
            m_wndTree.SetFocus();
            return 0;
        }
        break;
    }
    return CView::WindowProc(message, wParam, lParam);
}
