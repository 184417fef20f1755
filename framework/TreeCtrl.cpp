#include "framework/TreeCtrl.h"
#include "framework/GrowingText.h"

BOOL CTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(WC_TREEVIEWA, nullptr, dwStyle, rect, pParentWnd, nID);
}

namespace {
template <class Char, class Item, UINT message>
std::basic_string<Char> ReadItemText(const CTreeCtrl& tree, HTREEITEM hItem)
{
    return AfxReadGrowing<Char>([&](Char* buffer, size_t size) -> size_t {
        Item item{};
        item.mask = TVIF_TEXT;
        item.hItem = hItem;
        item.pszText = buffer;
        item.cchTextMax = static_cast<int>(size);
        buffer[0] = Char();
        if (!tree.SendMessage(message, 0, reinterpret_cast<LPARAM>(&item)))
            return 0;
        return std::char_traits<Char>::length(buffer);
    }, 256);
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
