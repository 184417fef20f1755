// CFernwickView: the only view; its folder tree covers the whole client area.
#pragma once
#include <string>
#include "framework/View.h"
#include "tree/FolderTreeCtrl.h"

class CFernwickView : public CView {
public:
    BOOL Create(const char* className, const char* windowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, CCreateContext* pContext = nullptr) override;
    // Fills the tree again from the root folder.
    void RebuildTree();

    CFolderTreeCtrl m_wndTree;

protected:
    void OnDraw(HDC) override {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The first command-line argument, or "Root" under the current directory.
std::string RootFolderPath();
