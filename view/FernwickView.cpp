#include "view/FernwickView.h"
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include "framework/WinApp.h"
#include "framework/Path.h"
#include "frame/MainFrame.h"
#include "framework/ShellCalls.h"
#include "res/resource.h"
#include "framework/Handles.h"
#include "tree/FolderListing.h"
#include "tree/Launching.h"
#include "tree/PathHelpers.h"
#include "shell/ShellMenuThread.h"

namespace {
// How long the end waits for the shell's verbs to put what they copied on the clipboard for good.
constexpr DWORD kVerbsEndMs = 2000;
} // namespace

ShellPath RootFolderArgument()
{
    for (int i = 1; i < __argc; ++i) {
        if (StartSwitch(__argv[i]))
            continue;
        // The ANSI argument vector guesses at a name code page 932 cannot spell; the wide
        // command line holds it as it is.
        int count = 0;
        const UniqueLocalMemory arguments(::CommandLineToArgvW(::GetCommandLineW(), &count));
        const auto* wide = static_cast<wchar_t**>(arguments.get());
        if (wide != nullptr && count > i)
            if (ShellPath root = PathFromWide(wide[i]); root.IsWide())
                return root;
        return PathFromAnsi(__argv[i]);
    }
    // No test for a current directory that already ends in a backslash (a drive root).
    return PathFromAnsi(AfxGetCurrentDirectory() + "\\Root");
}

StartRequest StartRequestArgument()
{
    StartRequest request = StartRequest::Show;
    for (int i = 1; i < __argc; ++i)
        if (const std::optional<StartRequest> given = StartSwitch(__argv[i]))
            request = *given;
    return request;
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

CFernwickView::CFernwickView(HandedSettings& settings)
    : m_bTopMost(settings.read.topMost), m_settings(settings),
      m_nTaskbarCreated(::RegisterWindowMessageA(kTaskbarCreatedMessage))
{
    // This Wine keeps one OLE clipboard window for the whole process, made by the first thread
    // that needs it and gone with that thread, and with it every later copy: made now, on the
    // thread that outlives the shell menus' threads. With nothing on the clipboard from here,
    // the flush does nothing more, on Windows too.
    ::OleFlushClipboard();
}

CFernwickView::~CFernwickView()
{
    g_shellCalls.Shell_NotifyIconA(NIM_DELETE, &m_nid);
    m_settings.atExit.topMost = m_bTopMost;
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
    if (!m_finder.Create(m_hWnd, IDC_FIND_PANEL))
        return FALSE;
    m_finder.m_panel.onCancel = [this] { EndSearch(); };
    m_finder.m_panel.onReveal = [this](const std::wstring& path) { RevealInTree(path); };
    m_finder.m_window.onReveal = [this](const std::wstring& path) {
        OnTrayRestore();
        RevealInTree(path);
    };
    RebuildTree(m_settings.read.folders);
    return TRUE;
}

void CFernwickView::RebuildTree(const std::vector<std::string>& saved)
{
    m_wndTree.DeleteAllItems();
    m_root = ResolveRootFolder(RootFolderArgument());
    m_finder.SetRoot(m_root.Empty() ? std::wstring() : m_root.Wide());
    if (m_root.Empty()) {
        m_wndTree.ClearRoot();
        return;
    }
    m_wndTree.DisplayTree(m_root, TRUE);
    m_wndTree.RestoreExpanded(saved);
}

std::optional<std::vector<std::string>> CFernwickView::ExpandedState() const
{
    // An empty tree shows no choice of the user's: the root is away, or was when it was built.
    const DWORD attributes = m_root.Empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(m_root.Wide().c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        m_wndTree.GetRootItem() == nullptr)
        return std::nullopt;
    std::vector<std::string> list;
    m_wndTree.CollectExpanded(list, FALSE);
    return list;
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

void CFernwickView::BeginSearch()
{
    if (!m_finder.MakePanel())
        return;
    if (!IsSearching()) {
        RECT client{};
        GetClientRect(&client);
        const HFONT font = m_wndTree.GetFont();
        m_finder.m_panel.SetLook(font != nullptr ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)),
                                 m_wndTree.m_nDpi);
        ::SetWindowPos(m_finder.m_panel.m_hWnd, HWND_TOP, 0, 0, client.right, client.bottom, SWP_SHOWWINDOW);
        m_wndTree.ShowWindow(SW_HIDE);
    }
    m_finder.m_panel.Begin();
}

void CFernwickView::EndSearch()
{
    if (!IsSearching())
        return;
    m_wndTree.ShowWindow(SW_SHOW);
    m_finder.m_panel.ShowWindow(SW_HIDE);
    m_wndTree.SetFocus();
}

bool CFernwickView::IsSearching() const
{
    return m_finder.m_panel.m_hWnd != nullptr && m_finder.m_panel.IsWindowVisible();
}

void CFernwickView::RevealInTree(const std::wstring& relative)
{
    EndSearch();
    // Each folder on the way is expanded, which lists its node's children, before the next
    // name is looked for among them: by node, never by an item's text, which a shortcut
    // shares with a folder of its name and a top-level item may prefix.
    HTREEITEM hFound = nullptr;
    for (size_t end = relative.find(L'\\');; end = relative.find(L'\\', end + 1)) {
        const FolderNode* node = m_wndTree.Model().FindEntry(relative.substr(0, end));
        const HTREEITEM hItem = node != nullptr ? m_wndTree.ItemOf(*node) : nullptr;
        if (hItem == nullptr)
            break;
        hFound = hItem;
        if (end == std::wstring::npos)
            break;
        m_wndTree.Expand(hItem, TVE_EXPAND);
    }
    // As far as the tree has it: a folder gone since keeps the selection on its parent.
    if (hFound != nullptr)
        m_wndTree.SelectItem(hFound);
}

BOOL CFernwickView::PreTranslateMessage(MSG* pMsg)
{
    // Ctrl+F from the tree or the find box; every other key keeps its meaning in the tree.
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == 'F' && (::GetKeyState(VK_CONTROL) & 0x8000) &&
        !(::GetKeyState(VK_MENU) & 0x8000)) {
        BeginSearch();
        return TRUE;
    }
    return CView::PreTranslateMessage(pMsg);
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
    RebuildTree(m_settings.refreshFolders(ExpandedState()));
}

void CFernwickView::OnFileOpenRoot()
{
    if (!m_wndTree.RootPath().Empty())
        OpenFolder(m_wndTree.RootPath());
}

void CFernwickView::RegisterHotkey()
{
    // An empty value turns the hotkey off; one that names no hotkey is taken as the same.
    const std::optional<HotkeyText> hotkey = ParseHotkey(m_settings.read.hotkey);
    if (!hotkey || m_hotkey.Register(m_hWnd, *hotkey))
        return;
    AfxMessageBox((AfxLoadString(IDS_HOTKEY_TAKEN) + FormatHotkey(*hotkey)).c_str(), MB_OK | MB_ICONINFORMATION);
}

void CFernwickView::OnStartRequest(StartRequest request)
{
    // Inside a menu, the About box or a message box, another menu or window of ours would
    // run in that one's loop; the request goes.
    if (AfxInModalState())
        return;
    switch (request) {
    case StartRequest::Find: {
        POINT cursor{};
        g_shellCalls.GetCursorPos(&cursor);
        m_finder.ShowFindWindow(cursor);
        break;
    }
    case StartRequest::Menu:
        ShowTrayMenu(); // at the pointer
        break;
    case StartRequest::Show:
        break;
    }
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
    case WM_HOTKEY:
        OnStartRequest(StartRequest::Find);
        return 0;
    case WM_SHOWINSTANCE: // passed on by the frame, with a switch
        OnStartRequest(static_cast<StartRequest>(wParam));
        return 0;
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
        if (m_finder.m_panel.m_hWnd != nullptr)
            m_finder.m_panel.SetWindowPos(nullptr, 0, 0, LOWORD(lParam), HIWORD(lParam), SWP_NOMOVE | SWP_NOZORDER);
        return 0;
    case WM_DESTROY: {
        const LRESULT result = CView::WindowProc(message, wParam, lParam);
        m_settings.atExit.folders = ExpandedState(); // the tree still exists
        m_wndTree.LeaveWatchesToProcessEnd(); // the view goes only with the program
        CShellMenuThread::EndAll(kVerbsEndMs);
        m_hotkey.Unregister();
        return result;
    }
    case WM_CONTEXTMENU:
        OnContextMenu(reinterpret_cast<HWND>(wParam), lParam);
        return 0;
    case WM_MENUDRAG:
        return OnMenuDrag(static_cast<UINT>(wParam), reinterpret_cast<HMENU>(lParam));
    case WM_SETFOCUS:
        // Keys belong to the find box during a search, else to the tree.
        if (IsSearching()) {
            m_finder.m_panel.SetFocus();
            return 0;
        }
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
