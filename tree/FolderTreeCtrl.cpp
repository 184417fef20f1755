#include "tree/FolderTreeCtrl.h"
#include <shellapi.h>
#include "framework/WaitCursor.h"
#include "tree/FolderListing.h"
#include "tree/PathHelpers.h"

namespace {
// An item of that text whose icons, and for a folder its expand button, are asked for when
// it is first drawn or expanded: a folder of any size costs the icons and probes of one screen.
template <class Insert, class Text>
Insert CallbackInsert(HTREEITEM hParent, HTREEITEM hInsertAfter, Text& text, ItemKind kind)
{
    Insert insert{};
    insert.hParent = hParent;
    insert.hInsertAfter = hInsertAfter;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | (kind != kindFolder ? TVIF_PARAM : TVIF_CHILDREN);
    insert.item.pszText = text.data();
    insert.item.iImage = I_IMAGECALLBACK;
    insert.item.iSelectedImage = I_IMAGECALLBACK;
    insert.item.cChildren = I_CHILDRENCALLBACK;
    insert.item.lParam = kind;
    return insert;
}
} // namespace

CFolderTreeCtrl::~CFolderTreeCtrl()
{
    m_imageList.Detach();
}

BOOL CFolderTreeCtrl::DisplayTree(const ShellPath& root, BOOL bShowFiles)
{
    if (GetStyle() & TVS_EDITLABELS)
        ModifyStyle(TVS_EDITLABELS, 0);
    StopWatching();
    DeleteAllItems();
    UnlinkBelow(m_model.Root());
    if (!AttachSystemImageList())
        return FALSE;
    m_bShowFiles = bShowFiles;
    const ShellPath rooted = EndsWithBackslash(root.ansi.c_str()) ? root : Append(root, "\\");
    m_strRootPath = rooted.ansi;
    m_model.SetRoot(rooted);
    m_bRootAway = false;
    m_awayExpanded.clear();
    // A root in another form than the search reports its entries in does not strip: the top
    // level shows whole paths.
    const ShellPath searchRoot = AbsoluteFolder(root);
    m_strTopPrefix = EndsWithBackslash(searchRoot.ansi.c_str()) ? searchRoot.ansi : searchRoot.ansi + '\\';
    StripRoot(m_strTopPrefix);
    FillChildren(TVI_ROOT);
    WatchRoot();
    return TRUE;
}

void CFolderTreeCtrl::ClearRoot()
{
    StopWatching();
    DeleteAllItems();
    UnlinkBelow(m_model.Root());
    m_strRootPath.clear();
    m_model.SetRoot({});
}

BOOL CFolderTreeCtrl::AttachSystemImageList()
{
    if (GetImageList(TVSIL_NORMAL) != nullptr)
        m_imageList.Detach();
    HIMAGELIST list = CShellIcons::ImageListForDpi(m_nDpi);
    if (list == nullptr)
        return FALSE;
    m_imageList.Attach(list);
    SetImageList(list, TVSIL_NORMAL);
    return TRUE;
}

void CFolderTreeCtrl::SetDpi(UINT nDpi)
{
    if (nDpi == m_nDpi || m_hWnd == nullptr)
        return;
    const UINT systemDpi = AfxGetSystemDpi();
    if (m_hSystemFont == nullptr) {
        m_hSystemFont = GetFont();
        m_nSystemIndent = GetIndent();
    }
    UniqueFont font = nDpi != systemDpi ? AfxCreateScaledFont(m_hSystemFont, systemDpi, nDpi) : UniqueFont();
    SetFont(font ? font.get() : m_hSystemFont);
    m_font = std::move(font);
    m_nDpi = nDpi;
    if (GetImageList(TVSIL_NORMAL) != nullptr)
        AttachSystemImageList();
    SetIndent(static_cast<UINT>(AfxScale(static_cast<int>(m_nSystemIndent), nDpi, systemDpi)));
    SetItemHeight(-1);
}

FolderNode* CFolderTreeCtrl::NodeOf(HTREEITEM hItem) const
{
    if (hItem == TVI_ROOT || hItem == nullptr)
        return hItem == TVI_ROOT ? const_cast<FolderNode*>(&m_model.Root()) : nullptr;
    const auto it = m_nodes.find(hItem);
    return it != m_nodes.end() ? it->second : nullptr;
}

HTREEITEM CFolderTreeCtrl::ItemOf(const FolderNode& node) const
{
    if (&node == &m_model.Root())
        return TVI_ROOT;
    const auto it = m_items.find(&node);
    return it != m_items.end() ? it->second : nullptr;
}

void CFolderTreeCtrl::UnlinkBelow(const FolderNode& folder)
{
    for (const std::unique_ptr<FolderNode>& child : folder.children) {
        if (const auto it = m_items.find(child.get()); it != m_items.end()) {
            m_nodes.erase(it->second);
            m_items.erase(it);
        }
        StopWatching(*child);
        UnlinkBelow(*child);
    }
}

void CFolderTreeCtrl::FillChildren(HTREEITEM hParent)
{
    FolderNode* folder = NodeOf(hParent);
    if (folder == nullptr)
        return;
    // A big folder takes a while to read: the hourglass stands from the first entry on.
    CWaitCursor wait;
    SetRedraw(FALSE);
    m_model.List(*folder, m_bShowFiles);
    InsertListed(hParent, *folder);
    SetRedraw(TRUE);
}

void CFolderTreeCtrl::InsertListed(HTREEITEM hParent, const FolderNode& folder)
{
    for (const std::unique_ptr<FolderNode>& child : folder.children)
        InsertNode(hParent, TVI_LAST, *child);
}

HTREEITEM CFolderTreeCtrl::InsertNode(HTREEITEM hParent, HTREEITEM hInsertAfter, FolderNode& node)
{
    HTREEITEM hItem = nullptr;
    if (node.entry.wide.empty()) {
        std::string text = AnsiText(node);
        hItem = InsertItem(CallbackInsert<TVINSERTSTRUCTA>(hParent, hInsertAfter, text, node.entry.kind));
    } else {
        // Its real name, through the wide message, into the same control.
        std::wstring text = WideCaption(node.entry);
        hItem = InsertItem(CallbackInsert<TVINSERTSTRUCTW>(hParent, hInsertAfter, text, node.entry.kind));
    }
    if (hItem != nullptr) {
        m_nodes[hItem] = &node;
        m_items[&node] = hItem;
    }
    return hItem;
}

std::string CFolderTreeCtrl::AnsiText(const FolderNode& node) const
{
    const std::string caption = Caption(node.entry.name, node.entry.kind);
    return node.parent == &m_model.Root() ? m_strTopPrefix + caption : caption;
}

BOOL CFolderTreeCtrl::HasChildren(const ShellPath& folder)
{
    return HasButtonEntries(folder, m_bShowFiles);
}

void CFolderTreeCtrl::OnGetDispInfo(NMHDR* pHeader, LRESULT* pResult)
{
    *pResult = 0;
    TVITEMA& item = reinterpret_cast<NMTVDISPINFOA*>(pHeader)->item;
    if (!(item.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN)))
        return;
    FolderNode* node = NodeOf(item.hItem);
    if (node == nullptr)
        return;
    const bool isFolder = node->entry.kind == kindFolder;
    const ShellPath path = m_model.PathOf(*node);
    if (item.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE)) {
        CShellIcons::Images images;
        if (!m_icons.Lookup(path, isFolder, images))
            images = m_icons.Generic(isFolder);
        item.iImage = images.normal;
        item.iSelectedImage = images.open;
    }
    if (item.mask & TVIF_CHILDREN) {
        // A folder with something to show gets its placeholder now; one filled or given a
        // placeholder since has its children already.
        bool children = GetChildItem(item.hItem) != nullptr;
        if (!children && HasChildren(path)) {
            InsertPlaceholder(item.hItem);
            children = true;
        }
        item.cChildren = children ? 1 : 0;
        // Drawn, its button follows its contents: a folder's watch does not see inside its subfolders.
        if (isFolder && m_watched.count(node) == 0)
            WatchFolder(*node);
    }
    item.mask |= TVIF_DI_SETITEM; // the control keeps them: each item asks once
}

std::string CFolderTreeCtrl::GetItemPath(HTREEITEM hItem) const
{
    std::string path;
    for (const FolderNode* node = NodeOf(hItem); node != nullptr && node != &m_model.Root(); node = node->parent)
        path = AnsiText(*node) + '\\' + path;
    TrimRightBackslashes(path);
    return m_strRootPath.empty() ? path : m_strRootPath + path;
}

ShellPath CFolderTreeCtrl::ItemFilePath(HTREEITEM hItem) const
{
    const FolderNode* node = NodeOf(hItem);
    return node != nullptr ? m_model.PathOf(*node) : ShellPath();
}

bool CFolderTreeCtrl::StripRoot(std::string& path) const
{
    const size_t n = m_strRootPath.size();
    if (n == 0 || path.size() < n || CompareNoCase(path.substr(0, n).c_str(), m_strRootPath.c_str()) != 0)
        return false;
    path.erase(0, n);
    return true;
}

void CFolderTreeCtrl::DeleteChildren(HTREEITEM hItem)
{
    while (HTREEITEM hChild = GetChildItem(hItem))
        if (!DeleteItem(hChild))
            break;
}

void CFolderTreeCtrl::InsertPlaceholder(HTREEITEM hItem)
{
    // Its empty text tells it from a real child.
    char empty[] = "";
    TVINSERTSTRUCTA insert{};
    insert.hParent = hItem;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = empty;
    InsertItem(insert);
}

void CFolderTreeCtrl::RefillItem(HTREEITEM hItem, UINT nAction)
{
    FolderNode* node = NodeOf(hItem);
    if (nAction != TVE_EXPAND || node == nullptr)
        return;
    DeleteChildren(hItem);
    FillChildren(hItem);
    WatchFolder(*node);
}

void CFolderTreeCtrl::OnItemExpanded(NMHDR* pHeader, LRESULT* pResult)
{
    const TVITEMA& item = reinterpret_cast<NMTREEVIEWA*>(pHeader)->itemNew;
    if (item.state & TVIS_EXPANDED) {
        RefillItem(item.hItem, TVE_EXPAND);
    } else {
        // Collapsing forgets the folder's contents and any deeper expansion. The control drops
        // them in one pass: deleted one by one, each costs a search through all its items.
        for (HTREEITEM h = GetParentItem(GetSelectedItem()); h != nullptr; h = GetParentItem(h))
            if (h == item.hItem) {
                SelectItem(item.hItem); // as deleting the selected child one by one ends
                break;
            }
        Expand(item.hItem, TVE_COLLAPSE | TVE_COLLAPSERESET);
        DeleteChildren(item.hItem); // should a control keep them
        if (FolderNode* node = NodeOf(item.hItem)) {
            UnlinkBelow(*node); // however the control told of the items it dropped
            m_model.Forget(*node);
        }
        // The reset forgets the first expansion too; it was one.
        SetItemState(item.hItem, TVIS_EXPANDEDONCE, TVIS_EXPANDEDONCE);
        InsertPlaceholder(item.hItem);
    }
    *pResult = 0;
}

BOOL CFolderTreeCtrl::OnReflect(UINT message, WPARAM, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_NOTIFY)
        return FALSE;
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    switch (header->code) {
    case TVN_ITEMEXPANDEDA:
        OnItemExpanded(header, pResult);
        return TRUE;
    case TVN_GETDISPINFOA:
        OnGetDispInfo(header, pResult);
        return TRUE;
    case TVN_DELETEITEMA: {
        // The item's link goes with it, and a folder that leaves the tree is no longer watched,
        // however it left (unless it comes back at once, elsewhere).
        const auto it = m_nodes.find(reinterpret_cast<NMTREEVIEWA*>(header)->itemOld.hItem);
        if (it != m_nodes.end()) {
            m_items.erase(it->second);
            if (!m_bMovingItems)
                StopWatching(*it->second);
            m_nodes.erase(it);
        }
        *pResult = 0;
        return TRUE;
    }
    case NM_DBLCLK:
        OnDblClk(header, pResult);
        return TRUE;
    case NM_RETURN:
        OnReturn(header, pResult);
        return TRUE;
    }
    // NM_RCLICK goes on to the parent: what a right click offers is the view's to decide.
    return FALSE;
}
