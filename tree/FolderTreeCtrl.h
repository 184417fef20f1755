// CFolderTreeCtrl: the tree that mirrors the root folder, read lazily as folders expand and
// kept up with the disk while it is shown.
#pragma once
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>
#include "framework/Dpi.h"
#include "framework/ImageList.h"
#include "framework/TreeCtrl.h"
#include "tree/FolderEntry.h"
#include "tree/FolderWatch.h"
#include "tree/ShellPath.h"
#include "tree/ShellIcons.h"

class CFolderTreeCtrl : public CTreeCtrl {
public:
    CFolderTreeCtrl() = default;
    ~CFolderTreeCtrl() override;

    // Clears the tree and shows the root folder's contents.
    BOOL DisplayTree(const std::string& root, BOOL bShowFiles);
    BOOL DisplayTree(const ShellPath& root, BOOL bShowFiles);
    // The system image list of the tree's scale.
    BOOL AttachSystemImageList();
    // Draws the tree at another scale: its font, icons, indent and line height.
    void SetDpi(UINT nDpi);
    void FillChildren(HTREEITEM hParent, const ShellPath& folder);
    HTREEITEM InsertPathItem(HTREEITEM hParent, const std::string& path, ItemKind kind,
                             HTREEITEM hInsertAfter = TVI_LAST);
    static std::string GetLastComponent(const std::string& path);
    BOOL HasChildren(const ShellPath& folder);
    // The full path an item stands for; a shortcut's lacks its extension, as its text does.
    std::string GetItemPath(HTREEITEM hItem) const;
    // The same from the items' real names, for the file and shell functions.
    ShellPath GetItemShellPath(HTREEITEM hItem) const;
    // The root folder in both forms.
    ShellPath RootPath() const { return {m_strRootPath, m_strRootWide}; }
    void RefillItem(HTREEITEM hItem, UINT nAction);
    void OnItemExpanded(NMHDR* pHeader, LRESULT* pResult);
    // An item is drawn for the first time: its icons, from the shell.
    void OnGetDispInfo(NMHDR* pHeader, LRESULT* pResult);

    // Lists the expanded folders in pre-order, relative to the root unless full paths are asked for.
    void CollectExpanded(std::vector<std::string>& list, BOOL bFullPaths) const;
    void CollectExpandedUnder(HTREEITEM hParent, std::vector<std::string>& list) const;
    // Expands the folders along a saved path and selects its last one.
    BOOL ExpandToPath(const std::string& path);
    // What ExpandToPath for each path in order gives, in one pass: each folder is listed
    // once, the control lays the tree out once, and only the last selection is made. How
    // many paths were found in full.
    size_t RestoreExpanded(const std::vector<std::string>& paths);
    BOOL IsPathInTree(const std::string& path) const;
    // A saved path that holds names code page 932 cannot spell, walked by the items' real names.
    BOOL ExpandToWidePath(const std::wstring& path);

    // Opens the selected item if it is a file.
    void LaunchSelected();
    void OnDblClk(NMHDR* pHeader, LRESULT* pResult);
    void OnReturn(NMHDR* pHeader, LRESULT* pResult);
    void OnRClick(NMHDR* pHeader, LRESULT* pResult);
    // The item's menu at pt (screen): the program's own command, then the Explorer's.
    void ShowItemMenu(HTREEITEM hItem, POINT pt);

    // Lists the folders that changed on disk again and brings their items up to date; the
    // gathering timer calls it once a burst of changes has settled.
    void ApplyFolderChanges();
    // How many folders the changes had listed again: a burst should cost one listing.
    int m_nChangeListings = 0;
    // A burst of changes has settled when nothing came for this long.
    static constexpr unsigned kChangeQuietMs = 100;

    BOOL m_bShowFiles = FALSE;
    std::string m_strError; // the last failure; nothing shows it
    CImageList m_imageList; // the shell's system list, never owned
    std::string m_strRootPath; // ends with a backslash once a tree is shown
    std::wstring m_strRootWide; // the same, kept only for a root code page 932 cannot spell
    CShellIcons m_icons;
    UINT m_nDpi = AfxGetSystemDpi(); // the control's own font and indent are made for this one

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    // What the changes a watch reported since the tree was last brought up to date say.
    struct PendingChange {
        std::vector<std::string> names;
        bool overflow = false;
        bool ended = false;
    };
    // The items the tree keeps its place by while items come and go.
    struct Anchors {
        HTREEITEM selected = nullptr;
        HTREEITEM top = nullptr;
    };

    // One child as a restore knows it: its text upper-cased, as saved paths are matched;
    // empty for a name the code page cannot spell, which no saved ANSI path names.
    struct KnownChild {
        std::string upperText;
        HTREEITEM hItem;
    };
    // What a restore has read or inserted of each item's children.
    using KnownChildren = std::unordered_map<HTREEITEM, std::vector<KnownChild>>;

    // Lists the folder and inserts its entries last under hParent; *hasButton, when asked
    // for: whether the folder has what gives it an expand button.
    std::vector<KnownChild> InsertListing(HTREEITEM hParent, const ShellPath& folder, bool* hasButton = nullptr);
    const std::vector<KnownChild>& ChildrenOf(HTREEITEM hParent, KnownChildren& known) const;
    bool IsPathInTree(const std::string& path, const std::vector<KnownChild>& topLevel) const;
    // The first child whose upper-cased text is upperName, or null.
    HTREEITEM FindChildByText(HTREEITEM hParent, const std::string& upperName, KnownChildren& known) const;
    // The last item of a saved path, its folders expanded; null when a component is missing.
    HTREEITEM ExpandSavedPath(const std::string& path, KnownChildren& known);
    void ExpandForRestore(HTREEITEM hItem, KnownChildren& known);
    void DeleteChildren(HTREEITEM hItem);
    void InsertPlaceholder(HTREEITEM hItem);
    // The item's text in code page 932; empty for a name it cannot spell, whose ANSI text is
    // only a guess, which may be another entry's name.
    std::string SpelledText(HTREEITEM hItem) const;
    // Removes m_strRootPath from the front of path, letter case aside.
    bool StripRoot(std::string& path) const;
    // The text an entry's item shows under hParent: its caption, or for the top level its
    // path with the root stripped.
    std::string ItemText(HTREEITEM hParent, const std::string& path, ItemKind kind) const;
    // Inserts the entry after hInsertAfter; *pText, when asked for: its text in code
    // page 932, empty for a name the code page cannot spell.
    HTREEITEM InsertEntry(HTREEITEM hParent, HTREEITEM hInsertAfter, const ShellPath& searchRoot,
                          const FolderEntry& entry, std::string* pText = nullptr);
    // The text an item shows, in the form the control holds it.
    std::wstring EntryText(HTREEITEM hParent, const ShellPath& searchRoot, const FolderEntry& entry) const;

    // The live tree (FolderTreeLive.cpp).
    void WatchFolder(HTREEITEM hFolder, const ShellPath& path);
    void WatchRoot();
    void StopWatching();
    void OnFolderChanged(HTREEITEM hFolder, const FolderChange& change);
    void OnRootParentChanged();
    void ScheduleChanges();
    void OnChangeTimer();
    void ShowRoot();
    void UpdateChildren(HTREEITEM hFolder, const ShellPath& path, const PendingChange& change, Anchors& anchors);
    void DeleteKeepingPlace(HTREEITEM hItem, Anchors& anchors);
    void UpdateButton(HTREEITEM hFolder, const ShellPath& path);

    std::unordered_map<HTREEITEM, std::unique_ptr<CFolderWatch>> m_watches; // TVI_ROOT: the root
    std::unique_ptr<CFolderWatch> m_rootParentWatch; // sees the root itself go and come back
    std::unordered_map<HTREEITEM, PendingChange> m_pending;
    bool m_bCheckRoot = false;
    ULONGLONG m_firstPendingTick = 0;

    // What the control chose for the system's DPI, kept from the first change of scale on.
    HFONT m_hSystemFont = nullptr; // the control's, never deleted here
    UINT m_nSystemIndent = 0;
    UniqueFont m_font; // the font of any other scale
};
