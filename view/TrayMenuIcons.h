// The small icons of the tray menu's files and folders: the tree's, asked for only when the
// menu draws an item, at the scale of the monitor the menu opens on.
#pragma once
#include "tree/ShellPath.h"
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>
#include <windows.h>
#include <commctrl.h>
#include "framework/Handles.h"
#include "tree/ShellIcons.h"

class CTrayMenuIcons {
public:
    // Asks the shell through the tree's icons, so both show one answer for one entry.
    explicit CTrayMenuIcons(CShellIcons& icons) : m_icons(icons) {}

    // A new menu: the items and pictures of the last one are forgotten.
    void Clear();
    // The scale of the monitor the menu opens on.
    void SetDpi(UINT nDpi) { m_nDpi = nDpi; }
    // The item at that position shows the entry's icon, drawn by the menu's owner.
    void Attach(HMENU hMenu, UINT nPosition, const ShellPath& path, bool isFolder);
    // The item at that position shows no icon but keeps the icons' room: this Wine widens
    // only the items with a picture, and cuts the longest of the others short.
    void KeepColumn(HMENU hMenu, UINT nPosition);
    // The owner's WM_MEASUREITEM and WM_DRAWITEM; false for an item that is not one of these.
    bool OnMeasureItem(MEASUREITEMSTRUCT& measure);
    bool OnDrawItem(const DRAWITEMSTRUCT& draw);
    // How many items have asked the shell: those drawn so far.
    size_t CountLookedUp() const;

private:
    struct Item {
        ShellPath path; // empty: no icon
        bool isFolder = false;
        std::optional<CShellIcons::Images> images; // once drawn; redrawing asks nothing
    };

    void AddItem(HMENU hMenu, UINT nPosition, Item item);
    Item* Find(UINT ctlType, ULONG_PTR itemData);
    // The system image list of the menu's scale, asked for at its first item.
    HIMAGELIST ImageList();
    // The icon at that index, ready to blend onto any background; null when none can be made.
    HBITMAP Picture(HIMAGELIST hList, int nIndex, SIZE size);

    CShellIcons& m_icons;
    std::vector<Item> m_items; // an item's data word is its index here, plus one
    UINT m_nDpi = USER_DEFAULT_SCREEN_DPI;
    HIMAGELIST m_hImageList = nullptr; // the shell's, never destroyed
    UINT m_nImageListDpi = 0;
    // The pictures of the icons the open menu has drawn: under Wine one image-list draw
    // costs as much as the rest of an item's paint, and a submenu of files shows few icons.
    UniqueMemoryDC m_pictureDC;
    std::unordered_map<int, UniqueGdiObject> m_pictures; // index -> 32-bit bitmap, premultiplied
};
