// CFernwickView: the only view. Its folder tree covers the whole client area; it owns the
// notification-area icon and the always-on-top state, and handles the program's commands.
#pragma once
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>
#include "frame/HandedSettings.h"
#include "framework/Handles.h"
#include "framework/View.h"
#include "res/resource.h"
#include <shellapi.h>
#include "search/Finder.h"
#include "frame/StartSwitch.h"
#include "framework/ComScope.h"
#include "shell/ExplorerMenu.h"
#include "shell/StartupShortcut.h"
#include "tree/FolderTreeCtrl.h"
#include "view/GlobalHotkey.h"
#include "view/TrayIconImage.h"
#include "view/TrayMenuIcons.h"

// The notification-area icon's mouse events.
constexpr UINT WM_TRAYNOTIFY = WM_APP + 1;
// File items of the tray menu end at the last id below the framework's own.
constexpr size_t kTrayItemLimit = AFX_ID_FRAMEWORK_FIRST - ID_TRAY_ITEM_FIRST;

class CFernwickView : public CView {
public:
    // Takes the always-on-top flag and the folders the settings file held at start-up.
    explicit CFernwickView(HandedSettings& settings);

    BOOL Create(const char* className, const char* windowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, CCreateContext* pContext = nullptr) override;
    // Fills the tree again from the root folder and re-expands the saved folders.
    void RebuildTree(const std::vector<std::string>& saved);
    // The expanded folders, relative to the root; none while the root folder is away or the
    // tree is empty, since the saved folders must outlast a root that is away for a while.
    std::optional<std::vector<std::string>> ExpandedState() const;
    // Puts the main frame into or out of the topmost z-order.
    void ApplyTopMost();
    // The end of start-up: the tree's first item selected, the focus in the tree, and the
    // tree drawn again, which the initial update stopped (the restored folders' screen in
    // between is never drawn).
    void ShowFirstItem();
    // Takes the hotkey the settings file held at start-up. One another program holds is said
    // once, in a message box, and the program runs without it.
    void RegisterHotkey();
    // What a start with a switch asks: the find window or the tray menu at the pointer.
    void OnStartRequest(StartRequest request);
    // Opens a file chosen in the tray menu.
    void LaunchPath(const ShellPath& path);
    // Tray file commands are found in m_trayPaths; the rest goes the framework's way.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // Adds the tray icon.
    void OnInitialUpdate() override;
    // The tree at the frame's new scale; the tray icon at the notification area's.
    void OnDpiChanged(UINT nDpi) override;
    // Left button up restores the frame, right button up shows the tray menu; always 0.
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    // Appends a folder's subfolders (as submenus, filled when they open) and then its files,
    // in the order the file system gives them; folder ends with a backslash.
    void BuildFolderMenu(HMENU hMenu, const ShellPath& folder);
    // Ctrl+F: the find panel takes the tree's place and the focus; the tree is kept as it is.
    void BeginSearch();
    // The tree back as it was, with the focus.
    void EndSearch();
    bool IsSearching() const;
    // Expands the folders along a path below the root (by real names) and selects the
    // entry's item; as far as the tree has it.
    void RevealInTree(const std::wstring& relative);

    // First: the shell's objects below need OLE on this thread while the view lives.
    CComScope m_ole{CComScope::Kind::Ole};
    NOTIFYICONDATAA m_nid{};
    CFolderTreeCtrl m_wndTree;
    bool m_bTopMost = false;
    std::vector<ShellPath> m_trayPaths; // entry i: the tray menu's file command 32800 + i
    // The submenus of the open tray menu, with their folders.
    std::unordered_map<HMENU, ShellPath> m_traySubmenus;
    // Once a submenu opens again: the index of each path of m_trayPaths, by path.
    std::map<std::pair<std::string, std::wstring>, size_t> m_trayIds;
    // The Explorer's menu of a tray entry whose verb was chosen: it runs once the tray menu is gone.
    std::unique_ptr<CExplorerMenu> m_trayEntryMenu;
    // The icons of the open tray menu's files and folders, from the tree's own queries.
    CTrayMenuIcons m_trayMenuIcons{m_wndTree.m_icons};
    // Finding anything under the root: its index, the panel over the tree, the find window.
    CFinder m_finder{m_wndTree.m_icons};
    // The shortcut that starts this program with Windows.
    CStartupShortcut m_startup = CStartupShortcut::ForThisProgram();

protected:
    // Removes the tray icon and leaves the always-on-top flag for the save at exit.
    ~CFernwickView() override;
    void OnDraw(HDC) override {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCommandEntry(const CCmdEntry& entry) override;
    // A submenu of the tray menu is about to open: its folder is read now.
    void OnInitMenuPopup(HMENU hPopup, UINT nIndex, BOOL bSysMenu) override;
    // The tree's right click and drag, which the tree leaves to its parent.
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    // The item context menu of the item under the pointer.
    void OnTreeRClick();
    // The item's menu at pt (screen): the program's own command, then the Explorer's.
    void ShowItemMenu(HTREEITEM hItem, POINT pt);
    // An item dragged from the tree goes out as the file it is.
    void OnTreeBeginDrag(HTREEITEM hItem);
    void ShowTrayMenu();
    // The file or folder of a tray menu item by its real name; empty for the program's own items.
    std::wstring TrayEntryPath(HMENU hMenu, UINT nPos) const;
    // A right click on a tray entry: its Explorer menu over the tray menu. False for the
    // program's own items, which take the right button as a click.
    bool OnTrayRightClick(HMENU hMenu, UINT nPos, POINT pt);
    // A tray entry dragged out of its submenu goes out as the file it is.
    LRESULT OnMenuDrag(UINT nPos, HMENU hMenu);
    // A file item's index in m_trayPaths; kTrayItemLimit when there is no id left for it.
    size_t TrayItemIndex(const ShellPath& path);
    void IndexTrayPaths();
    // Deletes a submenu's items, and forgets the submenus among them.
    void EmptyTraySubmenu(HMENU hMenu);
    void AppendFixedItems(HMENU hMenu);
    void OnTrayRestore();
    void OnTrayMinimize();
    void OnTrayExit();
    void OnViewTopMost();
    void OnUpdateViewTopMost(CCmdUI* pCmdUI);
    // The Apps key or Shift+F10 in the tree: the item menu at the selected item.
    void OnContextMenu(HWND hWnd, LPARAM lParam);
    void OnViewStartup();
    void OnUpdateViewStartup(CCmdUI* pCmdUI);
    void OnFileRefresh();
    void OnFileOpenRoot();
    void OnAppAbout();
    // After a new notification area or a change of scale: the icon at the size it wants now.
    void OnTaskbarCreated();

    HandedSettings& m_settings;
    ShellPath m_root;             // the root folder of the tree shown
    CTrayIconImage m_trayIcon;    // the icon m_nid shows
    CGlobalHotkey m_hotkey;
    const UINT m_nTaskbarCreated; // the shell's notice that the notification area is new
};

// The first command-line argument that is no switch, or "Root" under the current directory.
ShellPath RootFolderArgument();
// The last switch of the command line; Show when there is none.
StartRequest StartRequestArgument();
// The root made absolute ("D:" alone is the drive's root); empty when it does not fit
// MAX_PATH bytes, since a cut path would show a different folder.
std::string ResolveRootFolder(const std::string& given);
ShellPath ResolveRootFolder(const ShellPath& given);
// The command line that hands a shortcut file to Brisquet.exe, by its full path when it
// stands beside the program.
ShellPath LinkTargetCommandLine(const ShellPath& shortcut);
