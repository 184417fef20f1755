#include "view/FernwickView.h"
#include <cctype>
#include <cstdlib>
#include "app/Settings.h"
#include "framework/WinApp.h"
#include "framework/Path.h"
#include "frame/MainFrame.h"
#include "framework/ShellCalls.h"
#include "res/resource.h"
#include "framework/Handles.h"
#include "tree/FolderListing.h"
#include "tree/Launching.h"
#include "tree/PathHelpers.h"

ShellPath RootFolderArgument()
{
    if (__argc >= 2) {
        // The ANSI argument vector guesses at a name code page 932 cannot spell; the wide
        // command line holds it as it is.
        int count = 0;
        const UniqueLocalMemory arguments(::CommandLineToArgvW(::GetCommandLineW(), &count));
        const auto* wide = static_cast<wchar_t**>(arguments.get());
        if (wide != nullptr && count >= 2)
            if (ShellPath root = PathFromWide(wide[1]); root.IsWide())
                return root;
        return PathFromAnsi(__argv[1]);
    }
    // No test for a current directory that already ends in a backslash (a drive root).
    return PathFromAnsi(AfxGetCurrentDirectory() + "\\Root");
}

std::string ResolveRootFolder(const std::string& given)
{
    if (given.empty() || given.size() >= MAX_PATH)
        return {};
    // "D:" alone is that drive's root: made absolute as it stands it would be the drive's
    // current directory.
    const bool bareDrive = given.size() == 2 && given[1] == ':' && std::isalpha(static_cast<unsigned char>(given[0]));
    std::string full = AfxGetFullPathName((bareDrive ? given + '\\' : given).c_str());
    return full.size() < MAX_PATH ? full : std::string();
}

ShellPath ResolveRootFolder(const ShellPath& given)
{
    if (!given.IsWide())
        return PathFromAnsi(ResolveRootFolder(given.ansi));
    const ShellPath full = given.wide.size() < MAX_PATH ? AbsoluteFolder(given) : ShellPath();
    return full.wide.size() < MAX_PATH ? full : ShellPath();
}

CFernwickView::CFernwickView()
    : m_bTopMost(AfxGetSavedSettings().topMost), m_nTaskbarCreated(::RegisterWindowMessageA(kTaskbarCreatedMessage))
{
}

CFernwickView::~CFernwickView()
{
    g_shellCalls.Shell_NotifyIconA(NIM_DELETE, &m_nid);
    WriteTopMost(m_bTopMost, AfxGetIniPath());
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
    m_wndTree.SetDpi(AfxGetWindowDpi(m_wndTree.m_hWnd));
    RebuildTree(AfxGetSavedSettings().folders);
    return TRUE;
}

void CFernwickView::RebuildTree(const std::vector<std::string>& saved)
{
    m_wndTree.DeleteAllItems();
    const ShellPath root = ResolveRootFolder(RootFolderArgument());
    if (root.Empty()) {
        m_wndTree.m_strRootPath.clear();
        m_wndTree.m_strRootWide.clear();
        return;
    }
    m_wndTree.DisplayTree(root, TRUE);
    m_wndTree.RestoreExpanded(saved);
}

void CFernwickView::SaveExpandedState()
{
    std::vector<std::string> list;
    m_wndTree.CollectExpanded(list, FALSE);
    WriteDirTreeList(list, AfxGetIniPath());
}

void CFernwickView::OnDpiChanged(UINT nDpi)
{
    m_wndTree.SetDpi(nDpi);
    // The frame's monitor may be the one of the notification area.
    if (m_trayIcon.Update()) {
        m_nid.hIcon = m_trayIcon.Get();
        g_shellCalls.Shell_NotifyIconA(NIM_MODIFY, &m_nid);
    }
}

void CFernwickView::OnTaskbarCreated()
{
    // Windows says so after a change of scale too, with the icon still there: then the add
    // fails and the icon is changed instead. Without the icon a hidden window is lost.
    m_trayIcon.Update();
    m_nid.hIcon = m_trayIcon.Get();
    if (!g_shellCalls.Shell_NotifyIconA(NIM_ADD, &m_nid))
        g_shellCalls.Shell_NotifyIconA(NIM_MODIFY, &m_nid);
}

void CFernwickView::ApplyTopMost()
{
    CWnd* frame = AfxGetMainWnd();
    if (frame == nullptr)
        return;
    frame->SetWindowPos(m_bTopMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                        SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

void CFernwickView::ShowFirstItem()
{
    m_wndTree.SelectItem(m_wndTree.GetRootItem());
    m_wndTree.SetFocus();
    m_wndTree.SetRedraw(TRUE);
}

void CFernwickView::LaunchPath(const ShellPath& path)
{
    // Internet shortcuts are ordinary files here: they run in the current directory.
    OpenWithShell(m_hWnd, path, IsShortcutFile(path.ansi.c_str()));
}

void CFernwickView::OnViewTopMost()
{
    m_bTopMost = !m_bTopMost;
    ApplyTopMost();
}

void CFernwickView::OnUpdateViewTopMost(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_bTopMost ? 1 : 0);
}

void CFernwickView::OnFileRefresh()
{
    // Through the settings file, so the rebuilt tree expands the same folders.
    SaveExpandedState();
    RebuildTree(ReadSettings(AfxGetIniPath()).folders);
}

void CFernwickView::OnFileOpenRoot()
{
    const ShellPath root = m_wndTree.RootPath();
    if (root.Empty())
        return;
    if (root.IsWide())
        g_shellCalls.ShellExecuteW(nullptr, L"open", root.wide.c_str(), nullptr, L"", SW_SHOW);
    else
        g_shellCalls.ShellExecuteA(nullptr, "open", root.ansi.c_str(), nullptr, "", SW_SHOW);
}

void CFernwickView::OnAppAbout()
{
    // The application's own handler, as the main menu's command reaches it.
    if (CWinApp* app = AfxGetApp())
        app->OnCmdMsg(ID_APP_ABOUT, CN_COMMAND, nullptr, nullptr);
}

LRESULT CFernwickView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == m_nTaskbarCreated && m_nTaskbarCreated != 0) {
        OnTaskbarCreated();
        return 0;
    }
    switch (message) {
    case WM_TRAYNOTIFY:
        return OnTrayNotify(wParam, lParam);
    case WM_MEASUREITEM:
        if (m_trayMenuIcons.OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)))
            return TRUE;
        break;
    case WM_DRAWITEM:
        if (m_trayMenuIcons.OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)))
            return TRUE;
        break;
    case WM_SIZE:
        Default();
        if (m_wndTree.m_hWnd != nullptr)
            m_wndTree.SetWindowPos(nullptr, 0, 0, LOWORD(lParam), HIWORD(lParam), SWP_NOMOVE | SWP_NOZORDER);
        return 0;
    case WM_DESTROY: {
        const LRESULT result = CView::WindowProc(message, wParam, lParam);
        SaveExpandedState(); // the tree still exists
        return result;
    }
    case WM_CONTEXTMENU:
        OnContextMenu(reinterpret_cast<HWND>(wParam), lParam);
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

BOOL CFernwickView::OnCommandEntry(const CCmdEntry& entry)
{
    switch (entry.nID) {
    case ID_TRAY_RESTORE:
        return entry.Command(this, &CFernwickView::OnTrayRestore);
    case ID_TRAY_MINIMIZE:
        return entry.Command(this, &CFernwickView::OnTrayMinimize);
    case ID_TRAY_EXIT:
        return entry.Command(this, &CFernwickView::OnTrayExit);
    case ID_VIEW_TOPMOST:
        return entry.Command(this, &CFernwickView::OnViewTopMost) ||
               entry.Update(this, &CFernwickView::OnUpdateViewTopMost);
    case ID_VIEW_STARTUP:
        return entry.Command(this, &CFernwickView::OnViewStartup) ||
               entry.Update(this, &CFernwickView::OnUpdateViewStartup);
    case ID_FILE_REFRESH:
        return entry.Command(this, &CFernwickView::OnFileRefresh);
    case ID_FILE_OPEN_ROOT:
        return entry.Command(this, &CFernwickView::OnFileOpenRoot);
    case ID_APP_ABOUT:
        return entry.Command(this, &CFernwickView::OnAppAbout);
    }
    return CView::OnCommandEntry(entry);
}
