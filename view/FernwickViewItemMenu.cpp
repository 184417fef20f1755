// The tree's right-click menu: for a shortcut, "open the link's target" hands it to the
// helper program that shows its target.
#include "framework/Handles.h"
#include "framework/Path.h"
#include "framework/ShellCalls.h"
#include "framework/WinApp.h"
#include "mbcs/Mbcs.h"
#include "res/resource.h"
#include "shell/ExplorerMenu.h"
#include "tree/Launching.h"
#include "view/FernwickView.h"
#include <windowsx.h> // last: its macros would rename the framework's members

namespace {
constexpr char kHelperProgram[] = "Brisquet.exe";
}

ShellPath LinkTargetCommandLine(const ShellPath& shortcut)
{
    // A program of that name in the current directory is never started instead.
    std::string program = AfxGetModuleFileName();
    program.resize(static_cast<size_t>(ReverseFind(program, '\\') + 1));
    program += kHelperProgram;
    if (::GetFileAttributesA(program.c_str()) == INVALID_FILE_ATTRIBUTES)
        program = kHelperProgram;
    else
        program = '"' + program + '"';
    if (!shortcut.IsWide())
        return PathFromAnsi(program + " \"" + shortcut.ansi + "\"");
    return {program + " \"" + shortcut.ansi + "\"", FromCodePage(program + " \"") + shortcut.wide + L"\""};
}

BOOL CFernwickView::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->hwndFrom != m_wndTree.m_hWnd)
        return CView::OnNotify(wParam, lParam, pResult);
    switch (header->code) {
    case NM_RCLICK:
        *pResult = 0;
        OnTreeRClick();
        return TRUE;
    case TVN_BEGINDRAGA:
    case TVN_BEGINDRAGW:
        // Both forms carry the item handle at the same place.
        *pResult = 0;
        OnTreeBeginDrag(reinterpret_cast<const NMTREEVIEWA*>(lParam)->itemNew.hItem);
        return TRUE;
    }
    return CView::OnNotify(wParam, lParam, pResult);
}

void CFernwickView::OnTreeRClick()
{
    // The item under the pointer, which need not be the selected one.
    const DWORD pos = ::GetMessagePos();
    POINT pt{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
    m_wndTree.ScreenToClient(&pt);
    HTREEITEM hItem = m_wndTree.HitTest(pt);
    if (hItem == nullptr)
        return;
    POINT cursor{};
    g_shellCalls.GetCursorPos(&cursor);
    ShowItemMenu(hItem, cursor);
}

void CFernwickView::ShowItemMenu(HTREEITEM hItem, POINT pt)
{
    UniqueMenu menu(::LoadMenuA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_ITEM_MENU)));
    HMENU popup = ::GetSubMenu(menu.get(), 0);
    if (popup == nullptr)
        return;
    switch (m_wndTree.GetItemData(hItem)) {
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
    // Taken now: a verb may take the item from the disk and the tree.
    const ShellPath file = m_wndTree.ItemFilePath(hItem);
    // The shell's dialogs belong to the frame; the menu's own window keeps the frame's update
    // pass away from it.
    CExplorerMenu explorer(file.Wide(), ::GetParent(m_hWnd));
    const HWND self = m_hWnd;
    const UINT chosen = explorer.Track(popup, pt);
    menu.reset();
    // A session that ended while the menu was open took the view with it.
    if (chosen == ID_OPEN_LINK_TARGET && ::IsWindow(self))
        RunCommandLine(LinkTargetCommandLine(file));
}
