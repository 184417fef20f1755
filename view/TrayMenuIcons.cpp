#include "view/TrayMenuIcons.h"
#include <algorithm>
#include "framework/Dpi.h"

namespace {
// Pixels between an icon and its item's text, at 96 DPI.
constexpr int kGapAfterIcon = 4;

SIZE IconSize(HIMAGELIST list)
{
    int cx = 0;
    int cy = 0;
    if (list != nullptr)
        ::ImageList_GetIconSize(list, &cx, &cy);
    return {cx, cy};
}
} // namespace

void CTrayMenuIcons::Clear()
{
    m_items.clear();
    m_pictures.clear();
    m_pictureDC.reset();
}

void CTrayMenuIcons::Attach(HMENU hMenu, UINT nPosition, const ShellPath& path, bool isFolder)
{
    AddItem(hMenu, nPosition, {path, isFolder, std::nullopt});
}

void CTrayMenuIcons::KeepColumn(HMENU hMenu, UINT nPosition)
{
    AddItem(hMenu, nPosition, {});
}

void CTrayMenuIcons::AddItem(HMENU hMenu, UINT nPosition, Item item)
{
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_BITMAP | MIIM_DATA;
    info.hbmpItem = HBMMENU_CALLBACK;
    info.dwItemData = m_items.size() + 1;
    if (::SetMenuItemInfoA(hMenu, nPosition, TRUE, &info))
        m_items.push_back(std::move(item));
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
        m_pictures.clear();
    }
    return m_hImageList;
}

bool CTrayMenuIcons::OnMeasureItem(MEASUREITEMSTRUCT& measure)
{
    if (Find(measure.CtlType, measure.itemData) == nullptr)
        return false;
    const SIZE size = IconSize(ImageList());
    // Room after the icon, so that the text does not touch it.
    measure.itemWidth = static_cast<UINT>(size.cx + AfxScale(kGapAfterIcon, m_nDpi));
    measure.itemHeight = static_cast<UINT>(size.cy);
    return true;
}

bool CTrayMenuIcons::OnDrawItem(const DRAWITEMSTRUCT& draw)
{
    Item* item = Find(draw.CtlType, draw.itemData);
    if (item == nullptr)
        return false;
    HIMAGELIST list = ImageList();
    // A long menu scrolls: the items off its window ask the shell nothing.
    if (item->path.Empty() || list == nullptr || !::RectVisible(draw.hDC, &draw.rcItem))
        return true;
    if (!item->images) {
        CShellIcons::Images images;
        if (!m_icons.Lookup(item->path, item->isFolder, images))
            images = m_icons.Generic(item->isFolder);
        item->images = images;
    }
    // A folder whose submenu is open shows its open icon, as the tree's selected folder does.
    const int index = draw.itemState & ODS_SELECTED ? item->images->open : item->images->normal;
    const SIZE size = IconSize(list);
    HBITMAP picture = Picture(list, index, size);
    if (picture == nullptr)
        return true;
    const RECT& rc = draw.rcItem;
    const HGDIOBJ old = ::SelectObject(m_pictureDC.get(), picture);
    constexpr BLENDFUNCTION kBlend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::GdiAlphaBlend(draw.hDC, rc.left, rc.top + (rc.bottom - rc.top - size.cy) / 2, size.cx, size.cy, m_pictureDC.get(), 0, 0, size.cx, size.cy, kBlend);
    ::SelectObject(m_pictureDC.get(), old);
    return true;
}

HBITMAP CTrayMenuIcons::Picture(HIMAGELIST hList, int nIndex, SIZE size)
{
    if (const auto it = m_pictures.find(nIndex); it != m_pictures.end())
        return static_cast<HBITMAP>(it->second.get());
    if (!m_pictureDC)
        m_pictureDC.reset(::CreateCompatibleDC(nullptr));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueGdiObject bitmap(::CreateDIBSection(m_pictureDC.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!m_pictureDC || !bitmap)
        return nullptr;
    // Drawn by the list on black, the icon gives its colours already weighted by their
    // opacity; on white, the opacity itself: so it blends exactly as the list draws it.
    const HGDIOBJ old = ::SelectObject(m_pictureDC.get(), bitmap.get());
    auto* pixels = static_cast<DWORD*>(bits);
    const size_t count = static_cast<size_t>(size.cx) * static_cast<size_t>(size.cy);
    ::ImageList_Draw(hList, nIndex, m_pictureDC.get(), 0, 0, ILD_TRANSPARENT);
    ::GdiFlush();
    const std::vector<DWORD> onBlack(pixels, pixels + count);
    std::fill(pixels, pixels + count, 0x00FFFFFFu);
    ::ImageList_Draw(hList, nIndex, m_pictureDC.get(), 0, 0, ILD_TRANSPARENT);
    ::GdiFlush();
    ::SelectObject(m_pictureDC.get(), old);
    for (size_t i = 0; i < count; ++i) {
        const int seen = static_cast<int>(pixels[i] >> 8 & 0xFF) - static_cast<int>(onBlack[i] >> 8 & 0xFF);
        const auto alpha = static_cast<DWORD>(255 - std::clamp(seen, 0, 255));
        pixels[i] = (onBlack[i] & 0x00FFFFFF) | alpha << 24;
    }
    return static_cast<HBITMAP>(m_pictures.emplace(nIndex, std::move(bitmap)).first->second.get());
}

size_t CTrayMenuIcons::CountLookedUp() const
{
    size_t count = 0;
    for (const Item& item : m_items)
        count += item.images.has_value() ? 1 : 0;
    return count;
}
