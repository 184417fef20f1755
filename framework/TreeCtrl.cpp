#include "framework/TreeCtrl.h"

BOOL CTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(WC_TREEVIEWA, nullptr, dwStyle, rect, pParentWnd, nID);
}

namespace {
// A text that fills the buffer may have been cut: try again with twice the room.
template <class Char, class Item, UINT message>
std::basic_string<Char> ReadItemText(const CTreeCtrl& tree, HTREEITEM hItem)
{
    std::basic_string<Char> text(256, Char());
    for (;;) {
        Item item{};
        item.mask = TVIF_TEXT;
        item.hItem = hItem;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        if (!tree.SendMessage(message, 0, reinterpret_cast<LPARAM>(&item)))
            return {};
        const size_t length = std::char_traits<Char>::length(text.c_str());
        if (length < text.size() - 1) {
            text.resize(length);
            return text;
        }
        text.assign(text.size() * 2, Char());
    }
}
} // namespace

std::string CTreeCtrl::GetItemText(HTREEITEM hItem) const
{
    return ReadItemText<char, TVITEMA, TVM_GETITEMA>(*this, hItem);
}

std::wstring CTreeCtrl::GetItemTextW(HTREEITEM hItem) const
{
    return ReadItemText<wchar_t, TVITEMW, TVM_GETITEMW>(*this, hItem);
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
