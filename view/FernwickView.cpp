#include "view/FernwickView.h"
#include <cstdlib>
#include "app/FernwickApp.h"
#include "app/Settings.h"
#include "framework/Path.h"
#include "frame/MainFrame.h"
#include "framework/ShellCalls.h"
#include "res/resource.h"
#include "tree/Launching.h"
#include "tree/PathHelpers.h"

std::string RootFolderArgument()
{
    if (__argc >= 2)
        return __argv[1];
    // No test for a current directory that already ends in a backslash (a drive root).
    return AfxGetCurrentDirectory() + "\\Root";
}

std::string ResolveRootFolder(const std::string& given)
{
    if (given.empty() || given.size() >= MAX_PATH)
        return {};
    std::string full = AfxGetFullPathName(given.c_str());
    return full.size() < MAX_PATH ? full : std::string();
}

CFernwickView::CFernwickView()
    : m_bTopMost(ReadTopMost(AfxGetIniPath())), m_nTaskbarCreated(::RegisterWindowMessageA(kTaskbarCreatedMessage))
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
    RebuildTree();
    return TRUE;
}

void CFernwickView::RebuildTree()
{
    m_wndTree.DeleteAllItems();
    const std::string root = ResolveRootFolder(RootFolderArgument());
    if (root.empty()) {
        m_wndTree.m_strRootPath.clear();
        return;
    }
    m_wndTree.DisplayTree(root, TRUE);
    std::vector<std::string> saved;
    ReadDirTreeList(saved, AfxGetIniPath());
    for (const std::string& path : saved)
        m_wndTree.ExpandToPath(path);
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

void CFernwickView::LaunchPath(const std::string& path)
{
    // Internet shortcuts are ordinary files here: they run in the current directory.
    OpenWithShell(m_hWnd, path, IsShortcutFile(path.c_str()));
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
    RebuildTree();
}

void CFernwickView::OnFileOpenRoot()
{
    const std::string& root = m_wndTree.m_strRootPath;
    if (root.empty())
        return;
    g_shellCalls.ShellExecuteA(nullptr, "open", root.c_str(), nullptr, "", SW_SHOW);
}

void CFernwickView::OnAppAbout()
{
    if (CFernwickApp* app = AfxGetFernwickApp())
        app->ShowAboutBox();
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
    case ID_FILE_REFRESH:
        return entry.Command(this, &CFernwickView::OnFileRefresh);
    case ID_FILE_OPEN_ROOT:
        return entry.Command(this, &CFernwickView::OnFileOpenRoot);
    case ID_APP_ABOUT:
        return entry.Command(this, &CFernwickView::OnAppAbout);
    }
    return CView::OnCommandEntry(entry);
}
