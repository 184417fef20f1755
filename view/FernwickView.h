// CFernwickView: the only view. Its folder tree covers the whole client area; it owns the
// notification-area icon and the always-on-top state, and handles the program's commands.
#pragma once
#include <string>
#include <vector>
#include "framework/Handles.h"
#include "framework/Menu.h"
#include "framework/View.h"
#include <shellapi.h>
#include "tree/FolderTreeCtrl.h"

// The notification-area icon's mouse events.
constexpr UINT WM_TRAYNOTIFY = WM_APP + 1;
// File items of the tray menu end at the last id below the framework's own.
constexpr size_t kTrayItemLimit = 0xE000 - 32800;

class CFernwickView : public CView {
public:
    // Takes the always-on-top flag the settings file held at start-up.
    CFernwickView();

    BOOL Create(const char* className, const char* windowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, CCreateContext* pContext = nullptr) override;
    // Fills the tree again from the root folder and re-expands the saved folders.
    void RebuildTree(const std::vector<std::string>& saved);
    // Writes the expanded folders, relative to the root, to the settings file.
    void SaveExpandedState();
    // Puts the main frame into or out of the topmost z-order.
    void ApplyTopMost();
    // Opens a file chosen in the tray menu.
    void LaunchPath(const std::string& path);
    // Tray file commands are found in m_trayPaths; the rest goes the framework's way.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // Adds the tray icon.
    void OnInitialUpdate() override;
    // Left button up restores the frame, right button up shows the tray menu; always 0.
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    // Appends a folder's subfolders (as complete submenus) and then its files, in the
    // order the file system gives them; folder ends with a backslash.
    void BuildFolderMenu(HMENU hMenu, std::vector<CMenu>& submenus, const std::string& folder);

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
    void ShowTrayMenu();
    void AppendFixedItems(HMENU hMenu) const;
    void OnTrayRestore();
    void OnTrayMinimize();
    void OnTrayExit();
    void OnViewTopMost();
    void OnUpdateViewTopMost(CCmdUI* pCmdUI);
    void OnFileRefresh();
    void OnFileOpenRoot();
    void OnAppAbout();

    UniqueIcon m_trayIcon;         // the icon m_nid shows
    const UINT m_nTaskbarCreated; // the shell's notice that the notification area is new
};

// The first command-line argument, or "Root" under the current directory.
std::string RootFolderArgument();
// The root made absolute ("D:" alone is the drive's root); empty when it does not fit
// MAX_PATH bytes, since a cut path would show a different folder.
std::string ResolveRootFolder(const std::string& given);
