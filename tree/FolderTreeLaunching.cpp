// Launching: double-click and Enter open the selected file, the right-click menu hands a
// shortcut to the helper that shows its target, and offers the Explorer's own menu below.
#include "framework/Handles.h"
#include "framework/ShellCalls.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "shell/ExplorerMenu.h"
#include "tree/FolderTreeCtrl.h"
#include "tree/Launching.h"
#include <windowsx.h> // last: its macros would rename the framework's members

void CFolderTreeCtrl::LaunchSelected()
{
    HTREEITEM hItem = GetSelectedItem();
    if (hItem == nullptr)
        return;
    const auto kind = static_cast<ItemKind>(GetItemData(hItem));
    if (kind == kindFolder)
        return;
    // Shortcut texts lack their extension.
    OpenWithShell(m_hWnd, Append(GetItemShellPath(hItem), FileNameOf("", kind)), kind == kindShortcut);
}

void CFolderTreeCtrl::OnDblClk(NMHDR*, LRESULT* pResult)
{
    // Anywhere on the caret item's line counts, beside its text too.
    if (HTREEITEM hItem = GetSelectedItem()) {
        POINT cursor{};
        g_shellCalls.GetCursorPos(&cursor);
        RECT line{};
        if (GetItemRect(hItem, &line, FALSE)) {
            ClientToScreen(&line);
            if (::PtInRect(&line, cursor))
                LaunchSelected();
        }
    }
    *pResult = 0; // a folder still expands or collapses
}

void CFolderTreeCtrl::OnReturn(NMHDR*, LRESULT* pResult)
{
    HTREEITEM hItem = GetSelectedItem();
    if (hItem != nullptr && GetItemData(hItem) != kindFolder)
        LaunchSelected();
    *pResult = 0;
}

void CFolderTreeCtrl::OnRClick(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    // The item under the pointer, which need not be the selected one.
    const DWORD pos = ::GetMessagePos();
    POINT pt{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
    ScreenToClient(&pt);
    HTREEITEM hItem = HitTest(pt);
    if (hItem == nullptr)
        return;
    POINT cursor{};
    g_shellCalls.GetCursorPos(&cursor);
    ShowItemMenu(hItem, cursor);
}

void CFolderTreeCtrl::ShowItemMenu(HTREEITEM hItem, POINT pt)
{
    UniqueMenu menu(::LoadMenuA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_ITEM_MENU)));
    HMENU popup = ::GetSubMenu(menu.get(), 0);
    if (popup == nullptr)
        return;
    const auto kind = static_cast<ItemKind>(GetItemData(hItem));
    switch (kind) {
    case kindShortcut:
        break;
    case kindFolder:
    case kindFile:
    case kindInternetShortcut:
        ::EnableMenuItem(popup, ID_OPEN_LINK_TARGET, MF_BYCOMMAND | MF_GRAYED);
        break;
    default:
        return;
    }
    // Read now: a verb may take the item from the disk and the tree.
    const ShellPath stem = GetItemShellPath(hItem);
    // The shell's dialogs belong to the frame; the menu's own window keeps the frame's update
    // pass away from it.
    CExplorerMenu explorer(Append(stem, FileNameOf("", kind)).Wide(), ::GetParent(GetParent()));
    const HWND self = m_hWnd;
    const UINT chosen = explorer.Track(popup, pt);
    menu.reset();
    // A session that ended while the menu was open took the tree with it.
    if (chosen == ID_OPEN_LINK_TARGET && ::IsWindow(self))
        RunCommandLine(LinkTargetCommandLine(stem));
}
