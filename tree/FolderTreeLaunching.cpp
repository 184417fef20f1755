// Launching: double-click and Enter open the selected file.
#include "framework/ShellCalls.h"
#include "tree/FolderTreeCtrl.h"
#include "tree/Launching.h"

void CFolderTreeCtrl::LaunchSelected()
{
    HTREEITEM hItem = GetSelectedItem();
    if (hItem == nullptr)
        return;
    const auto kind = static_cast<ItemKind>(GetItemData(hItem));
    if (kind == kindFolder)
        return;
    OpenWithShell(m_hWnd, ItemFilePath(hItem), kind == kindShortcut);
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
