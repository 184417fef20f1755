#include "view/TrayMenuIcons.h"

void CTrayMenuIcons::Attach(HMENU hMenu, UINT nPosition, const std::string& path, bool isFolder)
{
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_BITMAP | MIIM_DATA;
    info.hbmpItem = HBMMENU_CALLBACK;
    info.dwItemData = m_items.size() + 1;
    if (::SetMenuItemInfoA(hMenu, nPosition, TRUE, &info))
        m_items.push_back({path, isFolder, std::nullopt});
}

CTrayMenuIcons::Item* CTrayMenuIcons::Find(UINT ctlType, ULONG_PTR itemData)
{
    if (ctlType != ODT_MENU || itemData == 0 || itemData > m_items.size())
        return nullptr;
    return &m_items[itemData - 1];
}

HIMAGELIST CTrayMenuIcons::ImageList()
{
    // Asking for a list costs a query by path: once per scale, not once per menu.
    if (m_nImageListDpi != m_nDpi || m_hImageList == nullptr) {
        m_hImageList = CShellIcons::ImageListForDpi(m_nDpi);
        m_nImageListDpi = m_nDpi;
    }
    return m_hImageList;
}

bool CTrayMenuIcons::OnMeasureItem(MEASUREITEMSTRUCT& measure)
{
    if (Find(measure.CtlType, measure.itemData) == nullptr)
        return false;
    int cx = 0;
    int cy = 0;
    if (HIMAGELIST list = ImageList())
        ::ImageList_GetIconSize(list, &cx, &cy);
    measure.itemWidth = static_cast<UINT>(cx);
    measure.itemHeight = static_cast<UINT>(cy);
    return true;
}

bool CTrayMenuIcons::OnDrawItem(const DRAWITEMSTRUCT& draw)
{
    Item* item = Find(draw.CtlType, draw.itemData);
    if (item == nullptr)
        return false;
    HIMAGELIST list = ImageList();
    // A long menu scrolls: the items off its window ask the shell nothing.
    if (list == nullptr || !::RectVisible(draw.hDC, &draw.rcItem))
        return true;
    if (!item->images) {
        CShellIcons::Images images;
        if (!m_icons.Lookup(item->path, item->isFolder, images))
            images = m_icons.Generic(item->isFolder);
        item->images = images;
    }
    // A folder whose submenu is open shows its open icon, as the tree's selected folder does.
    const int index = draw.itemState & ODS_SELECTED ? item->images->open : item->images->normal;
    int cx = 0;
    int cy = 0;
    ::ImageList_GetIconSize(list, &cx, &cy);
    const RECT& rc = draw.rcItem;
    ::ImageList_Draw(list, index, draw.hDC, rc.left + (rc.right - rc.left - cx) / 2, rc.top + (rc.bottom - rc.top - cy) / 2,
                     ILD_TRANSPARENT);
    return true;
}

size_t CTrayMenuIcons::CountLookedUp() const
{
    size_t count = 0;
    for (const Item& item : m_items)
        count += item.images.has_value() ? 1 : 0;
    return count;
}
