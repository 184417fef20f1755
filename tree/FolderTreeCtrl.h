// CFolderTreeCtrl: the tree that mirrors the root folder, read lazily as folders expand.
#pragma once
#include <string>
#include <vector>
#include "framework/Dpi.h"
#include "framework/ImageList.h"
#include "framework/TreeCtrl.h"
#include "tree/ShellIcons.h"

// The data word of every tree item.
enum ItemKind : int {
    kindFolder = 0, // folders and the placeholder child
    kindFile = 1,
    kindShortcut = 2,         // ".lnk"
    kindInternetShortcut = 3, // ".url"
};

// Hidden and temporary entries never appear in the tree.
bool IsListedEntry(DWORD attributes);

class CFolderTreeCtrl : public CTreeCtrl {
public:
    CFolderTreeCtrl() = default;
    ~CFolderTreeCtrl() override;

    // Clears the tree and shows the root folder's contents.
    BOOL DisplayTree(const std::string& root, BOOL bShowFiles);
    // The system image list of the tree's scale.
    BOOL AttachSystemImageList();
    // Draws the tree at another scale: its font, icons, indent and line height.
    void SetDpi(UINT nDpi);
    void FillChildren(HTREEITEM hParent, const std::string& folder);
    HTREEITEM InsertPathItem(HTREEITEM hParent, const std::string& path, ItemKind kind);
    static std::string GetLastComponent(const std::string& path);
    BOOL HasChildren(const std::string& folder);
    // The full path an item stands for; a shortcut's lacks its extension, as its text does.
    std::string GetItemPath(HTREEITEM hItem) const;
    void RefillItem(HTREEITEM hItem, UINT nAction);
    void OnItemExpanded(NMHDR* pHeader, LRESULT* pResult);
    // An item is drawn for the first time: its icons, from the shell.
    void OnGetDispInfo(NMHDR* pHeader, LRESULT* pResult);

    // Lists the expanded folders in pre-order, relative to the root unless full paths are asked for.
    void CollectExpanded(std::vector<std::string>& list, BOOL bFullPaths) const;
    void CollectExpandedUnder(HTREEITEM hParent, std::vector<std::string>& list) const;
    // Expands the folders along a saved path and selects its last one.
    BOOL ExpandToPath(const std::string& path);
    BOOL IsPathInTree(const std::string& path) const;
    HTREEITEM FindChildByText(HTREEITEM hParent, const std::string& upperName) const;

    // Opens the selected item if it is a file.
    void LaunchSelected();
    void OnDblClk(NMHDR* pHeader, LRESULT* pResult);
    void OnReturn(NMHDR* pHeader, LRESULT* pResult);
    void OnRClick(NMHDR* pHeader, LRESULT* pResult);

    BOOL m_bShowFiles = FALSE;
    std::string m_strError; // the last failure; nothing shows it
    CImageList m_imageList; // the shell's system list, never owned
    std::string m_strRootPath; // ends with a backslash once a tree is shown
    CShellIcons m_icons;
    UINT m_nDpi = AfxGetSystemDpi(); // the control's own font and indent are made for this one

protected:
    BOOL OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    void DeleteChildren(HTREEITEM hItem);
    void InsertPlaceholder(HTREEITEM hItem);
    // Removes m_strRootPath from the front of path, letter case aside.
    bool StripRoot(std::string& path) const;

    // What the control chose for the system's DPI, kept from the first change of scale on.
    HFONT m_hSystemFont = nullptr; // the control's, never deleted here
    UINT m_nSystemIndent = 0;
    UniqueFont m_font; // the font of any other scale
};
