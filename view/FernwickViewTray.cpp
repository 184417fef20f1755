// The notification-area icon and its menu: the root folder as cascading submenus, each read
// when it is about to open, then the program's own commands.
#include "framework/WinApp.h"
#include "frame/MainFrame.h"
#include "framework/Dpi.h"
#include "framework/MenuRightClick.h"
#include "framework/ShellCalls.h"
#include "res/resource.h"
#include "shell/DragOut.h"
#include "view/FernwickView.h"
#include "tree/FolderListing.h"

namespace {
// Items can be dragged out of the menu: Windows then tells the owner with WM_MENUDRAG.
void AllowDragging(HMENU hMenu)
{
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_STYLE;
    info.dwStyle = MNS_DRAGDROP;
    ::SetMenuInfo(hMenu, &info);
}
} // namespace


void CFernwickView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    // Until ShowFirstItem: the screen at the last restored folder is never drawn, nor its icons asked for.
    m_wndTree.SetRedraw(FALSE);
    m_trayIcon.Update();
    m_nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    m_nid.hWnd = m_hWnd;
    m_nid.uID = 1;
    m_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_nid.uCallbackMessage = WM_TRAYNOTIFY;
    m_nid.hIcon = m_trayIcon.Get();
    const std::string tip = AfxGetApp() != nullptr ? AfxGetApp()->m_strAppName : std::string();
    lstrcpynA(m_nid.szTip, tip.c_str(), 64);
    g_shellCalls.Shell_NotifyIconA(NIM_ADD, &m_nid);
}

LRESULT CFernwickView::OnTrayNotify(WPARAM, LPARAM lParam)
{
    switch (lParam) {
    case WM_LBUTTONUP:
        OnTrayRestore();
        break;
    case WM_RBUTTONUP:
        ShowTrayMenu();
        break;
    }
    return 0;
}

void CFernwickView::ShowTrayMenu()
{
    // The system takes no child window for the foreground window: the frame's (hidden or
    // not) is what puts the menu loop's thread in the foreground. The view still owns the menu.
    const HWND frame = ::GetAncestor(m_hWnd, GA_ROOT);
    ::SetForegroundWindow(frame);
    SetFocus();
    m_trayPaths.clear();
    m_trayIds.clear();
    m_traySubmenus.clear();
    m_trayMenuIcons.Clear();
    UniqueMenu top(::CreatePopupMenu());
    if (!top)
        return;
    AllowDragging(top.get());
    if (!m_wndTree.m_strRootPath.empty())
        BuildFolderMenu(top.get(), m_wndTree.RootPath());
    AppendFixedItems(top.get());

    // The menu closes when the user clicks elsewhere only if its thread is in the foreground.
    ForceForegroundWindow(frame);
    POINT cursor{};
    g_shellCalls.GetCursorPos(&cursor);
    m_trayMenuIcons.SetDpi(AfxGetMonitorDpi(::MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST)));
    // Windows may end the session while the menu is open, and the view is gone when it
    // returns: from here on nothing of the object is touched.
    const HWND self = m_hWnd;
    {
        const CMenuRightClick rightClick(
            [this](HMENU hMenu, UINT nPos, POINT pt) { return OnTrayRightClick(hMenu, nPos, pt); });
        AfxTrackPopupMenu(top.get(), TPM_RIGHTBUTTON, cursor, self);
    }
    top.reset(); // its submenus go with it
    if (CWnd::FromHandlePermanent(self) == this) {
        m_traySubmenus.clear();
        m_trayMenuIcons.Clear();
        // A verb chosen from an entry's own menu, now that the tray menu is gone: its
        // questions and dialogs never meet an open menu.
        if (const std::unique_ptr<CExplorerMenu> entryMenu = std::move(m_trayEntryMenu))
            entryMenu->RunChosen();
    }
    ::PostMessageA(self, WM_NULL, 0, 0);
}

std::wstring CFernwickView::TrayEntryPath(HMENU hMenu, UINT nPos) const
{
    if (HMENU hSub = ::GetSubMenu(hMenu, static_cast<int>(nPos))) {
        const auto it = m_traySubmenus.find(hSub);
        if (it == m_traySubmenus.end())
            return {};
        std::wstring folder = it->second.Wide();
        if (!folder.empty() && folder.back() == L'\\')
            folder.pop_back();
        return folder;
    }
    const UINT id = ::GetMenuItemID(hMenu, static_cast<int>(nPos));
    if (id < ID_TRAY_ITEM_FIRST || id - ID_TRAY_ITEM_FIRST >= m_trayPaths.size())
        return {};
    return m_trayPaths[id - ID_TRAY_ITEM_FIRST].Wide();
}

bool CFernwickView::OnTrayRightClick(HMENU hMenu, UINT nPos, POINT pt)
{
    const std::wstring path = TrayEntryPath(hMenu, nPos);
    if (path.empty())
        return false;
    auto explorer = std::make_unique<CExplorerMenu>(path, ::GetAncestor(m_hWnd, GA_ROOT));
    const UniqueMenu popup(::CreatePopupMenu());
    const HWND self = m_hWnd;
    // Over the tray menu, which stays open behind it; a file gone shows nothing.
    const bool chosen = popup && explorer->Choose(popup.get(), pt, TPM_RECURSE) != 0;
    // This Wine ends every menu of the thread with the nested one, at the menu loop's next
    // message: that is now, not at the next move of the mouse.
    ::PostMessageA(self, WM_NULL, 0, 0);
    if (chosen && CWnd::FromHandlePermanent(self) == this) {
        // As the Start menu: a verb chosen closes the menu, and runs once it is gone.
        m_trayEntryMenu = std::move(explorer);
        ::EndMenu();
    }
    return true;
}

LRESULT CFernwickView::OnMenuDrag(UINT nPos, HMENU hMenu)
{
    const std::wstring path = TrayEntryPath(hMenu, nPos);
    if (path.empty())
        return MND_CONTINUE;
    // Dropped, the file went where the user wanted it and the menu has done its work; a
    // drag given up leaves the menu open.
    return DragOut(path, ::GetAncestor(m_hWnd, GA_ROOT)) != DROPEFFECT_NONE ? MND_ENDMENU : MND_CONTINUE;
}

void CFernwickView::BuildFolderMenu(HMENU hMenu, const ShellPath& folder)
{
    // A caption code page 932 cannot spell goes to the wide call.
    const auto append = [hMenu](UINT flags, UINT_PTR id, const FolderEntry& entry) {
        return entry.wide.empty() ? ::AppendMenuA(hMenu, flags, id, Caption(entry.name, entry.kind).c_str())
                                  : ::AppendMenuW(hMenu, flags, id, WideCaption(entry).c_str());
    };
    for (const FolderEntry& entry : ListFolder(folder, ListingRule::Tray)) {
        const ShellPath path = EntryPath(folder, entry);
        if (entry.kind == kindFolder) {
            // Filled when it is about to open: a right click reads one folder, not the tree.
            HMENU hSub = ::CreatePopupMenu();
            if (hSub == nullptr)
                return; // out of menu handles: what is built so far stays
            AllowDragging(hSub);
            const int count = ::GetMenuItemCount(hMenu);
            if (append(MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(hSub), entry)) {
                m_traySubmenus.emplace(hSub, Append(path, "\\"));
                m_trayMenuIcons.Attach(hMenu, static_cast<UINT>(count), path, true);
                continue;
            }
            // A refused submenu may still have left an item behind, whose id would be the handle.
            if (::GetMenuItemCount(hMenu) > count)
                ::RemoveMenu(hMenu, static_cast<UINT>(count), MF_BYPOSITION);
            ::DestroyMenu(hSub);
            continue;
        }
        // A path past 260 bytes is offered as the tree offers it: the shell refuses it, and says so.
        const size_t index = TrayItemIndex(path);
        if (index >= kTrayItemLimit)
            return;
        const int count = ::GetMenuItemCount(hMenu);
        if (append(MF_STRING, ID_TRAY_ITEM_FIRST + index, entry))
            m_trayMenuIcons.Attach(hMenu, static_cast<UINT>(count), path, false);
    }
}

void CFernwickView::OnInitMenuPopup(HMENU hPopup, UINT, BOOL bSysMenu)
{
    if (bSysMenu)
        return;
    // At every opening: what is on disk now, not what was there when it last opened.
    const auto it = m_traySubmenus.find(hPopup);
    if (it == m_traySubmenus.end())
        return;
    const ShellPath folder = it->second;
    if (::GetMenuItemCount(hPopup) > 0) {
        IndexTrayPaths();
        EmptyTraySubmenu(hPopup);
    }
    BuildFolderMenu(hPopup, folder);
}

size_t CFernwickView::TrayItemIndex(const ShellPath& path)
{
    // Once a submenu has opened again, a file keeps the id it was given: an id chosen from an
    // earlier opening still opens its own file, and openings use up no more ids.
    const bool indexed = !m_trayIds.empty();
    if (indexed)
        if (const auto it = m_trayIds.find({path.ansi, path.wide}); it != m_trayIds.end())
            return it->second;
    if (m_trayPaths.size() >= kTrayItemLimit)
        return kTrayItemLimit;
    m_trayPaths.push_back(path);
    if (indexed)
        m_trayIds.emplace(std::pair(path.ansi, path.wide), m_trayPaths.size() - 1);
    return m_trayPaths.size() - 1;
}

void CFernwickView::IndexTrayPaths()
{
    // The list holds each path once: its ids are only ever given through this index then.
    for (size_t i = m_trayIds.size(); i < m_trayPaths.size(); ++i)
        m_trayIds.emplace(std::pair(m_trayPaths[i].ansi, m_trayPaths[i].wide), i);
}

void CFernwickView::EmptyTraySubmenu(HMENU hMenu)
{
    for (int i = ::GetMenuItemCount(hMenu) - 1; i >= 0; --i) {
        if (HMENU hSub = ::GetSubMenu(hMenu, i)) {
            EmptyTraySubmenu(hSub);
            m_traySubmenus.erase(hSub); // a new submenu may get the handle back
        }
        ::DeleteMenu(hMenu, static_cast<UINT>(i), MF_BYPOSITION);
    }
}

void CFernwickView::AppendFixedItems(HMENU hMenu)
{
    // "Visible" is the frame's state: it hides itself when minimized.
    const bool visible = IsWindowVisible();
    const bool iconsAbove = ::GetMenuItemCount(hMenu) > 0;
    constexpr UINT kSeparator = 0;
    const struct {
        UINT id;
        UINT flags;
    } items[] = {
        {kSeparator, MF_SEPARATOR},
        {ID_TRAY_RESTORE, static_cast<UINT>(visible ? MF_GRAYED : MF_ENABLED)},
        {ID_TRAY_MINIMIZE, static_cast<UINT>(visible ? MF_ENABLED : MF_GRAYED)},
        {kSeparator, MF_SEPARATOR},
        {ID_FILE_REFRESH, MF_ENABLED},
        {ID_FILE_OPEN_ROOT, MF_ENABLED},
        {kSeparator, MF_SEPARATOR},
        {ID_VIEW_TOPMOST, static_cast<UINT>(m_bTopMost ? MF_CHECKED : MF_UNCHECKED)},
        {ID_VIEW_STARTUP,
         static_cast<UINT>(m_startup.Read() == CStartupShortcut::State::Ours ? MF_CHECKED : MF_UNCHECKED)},
        {kSeparator, MF_SEPARATOR},
        {ID_APP_ABOUT, MF_ENABLED},
        {kSeparator, MF_SEPARATOR},
        {ID_TRAY_EXIT, MF_ENABLED},
    };
    for (const auto& item : items) {
        if (item.flags == MF_SEPARATOR)
            ::AppendMenuA(hMenu, MF_SEPARATOR, 0, nullptr);
        else if (::AppendMenuA(hMenu, MF_STRING | item.flags, item.id, AfxLoadString(item.id).c_str()) && iconsAbove)
            m_trayMenuIcons.KeepColumn(hMenu, static_cast<UINT>(::GetMenuItemCount(hMenu) - 1));
    }
}

BOOL CFernwickView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // Only a real command runs a launch; lookups and update requests find nothing here.
    if (pHandlerInfo == nullptr && nID >= ID_TRAY_ITEM_FIRST && nCode == CN_COMMAND &&
        nID - ID_TRAY_ITEM_FIRST < m_trayPaths.size()) {
        const ShellPath path = m_trayPaths[nID - ID_TRAY_ITEM_FIRST];
        LaunchPath(path);
        return TRUE;
    }
    return CView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CFernwickView::OnTrayRestore()
{
    if (CWnd* frame = AfxGetMainWnd()) {
        frame->ShowWindow(g_nRestoreShowCmd);
        ForceForegroundWindow(frame->m_hWnd);
    }
}

void CFernwickView::OnTrayMinimize()
{
    CWnd* frame = AfxGetMainWnd();
    if (frame != nullptr && !frame->IsIconic())
        frame->ShowWindow(SW_MINIMIZE); // the frame then hides itself
}

void CFernwickView::OnTrayExit()
{
    // Exactly as the close box: placement, folders, icon and "TopMost" are all saved.
    if (CWnd* frame = AfxGetMainWnd())
        frame->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
}
