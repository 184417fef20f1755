#include "framework/TreeCtrl.h"

BOOL CTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(WC_TREEVIEWA, nullptr, dwStyle, rect, pParentWnd, nID);
}

std::string CTreeCtrl::GetItemText(HTREEITEM hItem) const
{
    // A text that fills the buffer may have been cut: try again with twice the room.
    std::string text(256, '\0');
    for (;;) {
        TVITEMA item{};
        item.mask = TVIF_TEXT;
        item.hItem = hItem;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        if (!GetItem(&item))
            return {};
        size_t length = std::char_traits<char>::length(text.c_str());
        if (length < text.size() - 1) {
            text.resize(length);
            return text;
        }
        text.assign(text.size() * 2, '\0');
    }
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const
{
    TVITEMA item{};
    item.mask = TVIF_PARAM;
    item.hItem = hItem;
    return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM hItem, DWORD_PTR data) const
{
    TVITEMA item{};
    item.mask = TVIF_PARAM;
    item.hItem = hItem;
    item.lParam = static_cast<LPARAM>(data);
    return SetItem(item);
}
