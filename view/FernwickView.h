// CFernwickView: the only view. Its folder tree covers the whole client area; it owns the
// notification-area icon and the always-on-top state, and handles the program's commands.
#pragma once
#include <string>
#include <vector>
#include "framework/View.h"
#include <shellapi.h>
#include "tree/FolderTreeCtrl.h"

class CFernwickView : public CView {
public:
    // Reads the always-on-top flag when the settings file exists.
    CFernwickView();

    BOOL Create(const char* className, const char* windowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, CCreateContext* pContext = nullptr) override;
    // Fills the tree again from the root folder and re-expands the saved folders.
    void RebuildTree();
    // Writes the expanded folders, relative to the root, to the settings file.
    void SaveExpandedState();
    // Puts the main frame into or out of the topmost z-order.
    void ApplyTopMost();
    // Opens a file chosen in the tray menu.
    void LaunchPath(const std::string& path);

    NOTIFYICONDATAA m_nid{};
    CFolderTreeCtrl m_wndTree;
    bool m_bTopMost = false;
    std::vector<std::string> m_trayPaths; // entry i: the tray menu's file command 32800 + i

protected:
    // Removes the tray icon and stores the always-on-top flag, when the file exists.
    ~CFernwickView() override;
    void OnDraw(HDC) override {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommandEntry(const CCmdEntry& entry) override;

private:
    void OnViewTopMost();
    void OnUpdateViewTopMost(CCmdUI* pCmdUI);
    void OnFileRefresh();
    void OnFileOpenRoot();
    void OnAppAbout();
};

// The first command-line argument, or "Root" under the current directory.
std::string RootFolderArgument();
// The root made absolute; empty when it does not fit MAX_PATH bytes, since a cut path
// would show a different folder.
std::string ResolveRootFolder(const std::string& given);
