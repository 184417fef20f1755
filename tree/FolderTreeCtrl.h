// CFolderTreeCtrl: the tree that mirrors the root folder, read lazily as folders expand and
// kept up with the disk while it is shown. The folders it has read live in its model; each
// item is linked to its node beside its data word, which stays the entry's ItemKind.
#pragma once
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>
#include "framework/Dpi.h"
#include "framework/ImageList.h"
#include "framework/TreeCtrl.h"
#include "tree/FolderEntry.h"
#include "tree/FolderModel.h"
#include "tree/RootWatch.h"
#include "tree/ShellPath.h"
#include "tree/ShellIcons.h"

class CFolderTreeCtrl : public CTreeCtrl {
public:
    CFolderTreeCtrl() = default;
    ~CFolderTreeCtrl() override;

    // Clears the tree and shows the root folder's contents.
    BOOL DisplayTree(const ShellPath& root, BOOL bShowFiles);
    // Clears the tree and forgets the root: there is none to show.
    void ClearRoot();
    // The program ends: the folder watches are left for the system to close with the process.
    void LeaveWatchesToProcessEnd();
    // The system image list of the tree's scale.
    BOOL AttachSystemImageList();
    // Draws the tree at another scale: its font, icons, indent and line height.
    void SetDpi(UINT nDpi);
    // Lists the item's folder and inserts its entries as its last children.
    void FillChildren(HTREEITEM hParent);
    BOOL HasChildren(const ShellPath& folder);
    // The full path an item stands for as its texts read; a shortcut's lacks its extension.
    std::string GetItemPath(HTREEITEM hItem) const;
    // The entry's own path, for the file and shell functions: a shortcut's with its extension.
    ShellPath ItemFilePath(HTREEITEM hItem) const;
    // The root folder in both forms.
    const ShellPath& RootPath() const { return m_model.RootPath(); }
    CFolderModel& Model() { return m_model; }
    // The item that shows the node, or null while it shows none.
    HTREEITEM ItemOf(const FolderNode& node) const;
    void RefillItem(HTREEITEM hItem, UINT nAction);
    void OnItemExpanded(NMHDR* pHeader, LRESULT* pResult);
    // An item is drawn for the first time: its icons, from the shell.
    void OnGetDispInfo(NMHDR* pHeader, LRESULT* pResult);

    // Lists the expanded folders in pre-order, relative to the root unless full paths are
    // asked for. While the root is away: what was expanded when it went.
    void CollectExpanded(std::vector<std::string>& list, BOOL bFullPaths) const;
    // Expands the folders along each saved path in turn (code page 932 paths and ":utf-8:"
    // ones alike) and selects the last item of the last one found in full; each folder is
    // listed once and the control lays the tree out once. How many paths were found in full.
    size_t RestoreExpanded(const std::vector<std::string>& paths);
    BOOL IsPathInTree(const std::string& path) const;

    // Opens the selected item if it is a file.
    void LaunchSelected();
    void OnDblClk(NMHDR* pHeader, LRESULT* pResult);
    void OnReturn(NMHDR* pHeader, LRESULT* pResult);

    // Lists the folders that changed on disk again and brings their items up to date; the
    // gathering timer calls it once a burst of changes has settled.
    void ApplyFolderChanges();
    // A burst of changes has settled when nothing came for this long.
    static constexpr unsigned kChangeQuietMs = 100;

    BOOL m_bShowFiles = FALSE;
    CImageList m_imageList; // the shell's system list, never owned
    std::string m_strRootPath; // ends with a backslash once a tree is shown; the model holds both forms
    CShellIcons m_icons;
    UINT m_nDpi = AfxGetSystemDpi(); // the control's own font and indent are made for this one

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    // What the changes a watch reported since the tree was last brought up to date say.
    struct PendingChange {
        std::vector<std::string> names;
        std::vector<std::pair<std::wstring, std::wstring>> renames;
        bool overflow = false;
        bool ended = false;
    };
    // The items the tree keeps its place by while items come and go.
    struct Anchors {
        HTREEITEM selected = nullptr;
        HTREEITEM top = nullptr;
    };
    // A name as saved paths are matched against it, letter case aside: the code page's form,
    // or for a name it cannot spell the wide one (which no code page 932 path names).
    struct MatchName {
        std::string ansi;
        std::wstring wide;
        bool operator==(const MatchName&) const = default;
    };
    using KnownChildren = std::unordered_map<const FolderNode*, std::vector<std::pair<MatchName, FolderNode*>>>;

    FolderNode* NodeOf(HTREEITEM hItem) const;
    // Drops the links of the folder's descendants and their watches, before the model forgets them.
    void UnlinkBelow(const FolderNode& folder);
    // Inserts the node's item after hInsertAfter and links the two.
    HTREEITEM InsertNode(HTREEITEM hParent, HTREEITEM hInsertAfter, FolderNode& node);
    // Inserts the items of the nodes the diff added, in the folder's order, last under hParent.
    void InsertListed(HTREEITEM hParent, const FolderNode& folder);
    // The text the node's item shows, in the control's ANSI form; a top-level item's may
    // begin with the part of the root's path that does not strip.
    std::string AnsiText(const FolderNode& node) const;
    // The node's name as saved paths name it (the top level with what precedes its caption).
    MatchName MatchNameOf(const FolderNode& node) const;
    const std::vector<std::pair<MatchName, FolderNode*>>& ChildrenOf(const FolderNode& folder, KnownChildren& known) const;
    // The last node of a saved path, its folders expanded; null when a component is missing.
    FolderNode* ExpandSavedPath(const std::string& path, KnownChildren& known);
    void ExpandForRestore(FolderNode& node, KnownChildren& known);
    // The folders expanded under the folder, in pre-order, as paths relative to the root.
    void CollectExpandedUnder(const FolderNode& folder, const ShellPath& relative, BOOL bFullPaths,
                              std::vector<std::string>& list) const;
    void DeleteChildren(HTREEITEM hItem);
    void InsertPlaceholder(HTREEITEM hItem);
    // Removes m_strRootPath from the front of path, letter case aside.
    bool StripRoot(std::string& path) const;

    // The live tree (FolderTreeLive.cpp). Watching starts and stops only in the four calls below.
    void WatchFolder(FolderNode& folder);
    void WatchRoot();
    void StopWatching();
    void StopWatching(const FolderNode& folder);
    void OnRootChange(const RootChange& change);
    void OnFolderChanged(FolderNode* folder, const FolderChange& change);
    void OnRootParentChanged();
    void ScheduleChanges();
    void OnChangeTimer();
    void ShowRoot();
    void UpdateChildren(FolderNode& folder, const PendingChange& change, Anchors& anchors);
    // The node's item again at its folder's new place, with the items of its listed folders.
    HTREEITEM ReinsertNode(HTREEITEM hParent, HTREEITEM hInsertAfter, FolderNode& node);
    void DeleteKeepingPlace(HTREEITEM hItem, Anchors& anchors);
    void UpdateButton(HTREEITEM hFolder, const ShellPath& path);

    CFolderModel m_model;
    // Each item's node and each node's item: beside the data word, which stays the ItemKind.
    std::unordered_map<HTREEITEM, FolderNode*> m_nodes;
    std::unordered_map<const FolderNode*, HTREEITEM> m_items;
    std::string m_strTopPrefix; // what a top-level text shows before its caption: the root unstripped
    bool m_bMovingItems = false; // items deleted to be inserted again keep their folders' watches

    // Folders watched: the root, the expanded ones, and the collapsed ones drawn (for their button).
    std::unique_ptr<CRootWatch> m_rootWatch; // the root, and under this Wine each folder asked for
    // The folders whose changes the tree follows, by the path the watch knows each by.
    std::unordered_map<const FolderNode*, std::wstring> m_watched;
    std::unordered_map<const FolderNode*, PendingChange> m_pending;
    bool m_bCheckRoot = false;
    ULONGLONG m_firstPendingTick = 0;
    bool m_bRootAway = false;                 // the root went: the tree is empty until it comes back
    std::vector<std::string> m_awayExpanded; // what was expanded when it went

    // What the control chose for the system's DPI, kept from the first change of scale on.
    HFONT m_hSystemFont = nullptr; // the control's, never deleted here
    UINT m_nSystemIndent = 0;
    UniqueFont m_font; // the font of any other scale
};
