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

BOOL CFolderTreeCtrl::DisplayTree(const std::string& root, BOOL bShowFiles)
{
    return DisplayTree(PathFromAnsi(root), bShowFiles);
}

BOOL CFolderTreeCtrl::DisplayTree(const ShellPath& root, BOOL bShowFiles)
{
    if (GetStyle() & TVS_EDITLABELS)
        ModifyStyle(TVS_EDITLABELS, 0);
    StopWatching();
    DeleteAllItems();
    if (!AttachSystemImageList())
        return FALSE;
    m_bShowFiles = bShowFiles;
    const ShellPath rooted = EndsWithBackslash(root.ansi.c_str()) ? root : Append(root, "\\");
    m_strRootPath = rooted.ansi;
    m_strRootWide = rooted.wide;
    FillChildren(TVI_ROOT, root);
    WatchRoot();
    return TRUE;
}

BOOL CFolderTreeCtrl::AttachSystemImageList()
{
    if (GetImageList(TVSIL_NORMAL) != nullptr)
        m_imageList.Detach();
    HIMAGELIST list = CShellIcons::ImageListForDpi(m_nDpi);
    if (list == nullptr) {
        m_strError = "Cannot retrieve the Handle of SystemImageList!";
        return FALSE;
    }
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

void CFolderTreeCtrl::FillChildren(HTREEITEM hParent, const ShellPath& folder)
{
    // A big folder takes a while to read: the hourglass stands from the first entry on.
    CWaitCursor wait;
    SetRedraw(FALSE);
    InsertListing(hParent, folder);
    SetRedraw(TRUE);
}

std::vector<CFolderTreeCtrl::KnownChild> CFolderTreeCtrl::InsertListing(HTREEITEM hParent, const ShellPath& folder,
                                                                        bool* hasButton)
{
    const std::vector<FolderEntry> entries = ListFolder(folder, ListingRule::Tree, m_bShowFiles, hasButton);
    const ShellPath searchRoot = AbsoluteFolder(folder);
    std::vector<KnownChild> inserted;
    inserted.reserve(entries.size());
    for (const FolderEntry& entry : entries) {
        std::string text;
        if (HTREEITEM hItem = InsertEntry(hParent, TVI_LAST, searchRoot, entry, &text)) {
            MakeUpper(text);
            inserted.push_back({std::move(text), hItem});
        }
    }
    return inserted;
}

HTREEITEM CFolderTreeCtrl::InsertEntry(HTREEITEM hParent, HTREEITEM hInsertAfter, const ShellPath& searchRoot,
                                       const FolderEntry& entry, std::string* pText)
{
    if (entry.wide.empty()) {
        std::string text = ItemText(hParent, EntryPath(searchRoot, entry).ansi, entry.kind);
        if (pText != nullptr)
            *pText = text;
        return InsertItem(CallbackInsert<TVINSERTSTRUCTA>(hParent, hInsertAfter, text, entry.kind));
    }
    if (pText != nullptr)
        pText->clear();
    // Its real name, through the wide message, into the same control.
    std::wstring text = WideCaption(entry);
    return InsertItem(CallbackInsert<TVINSERTSTRUCTW>(hParent, hInsertAfter, text, entry.kind));
}

std::wstring CFolderTreeCtrl::EntryText(HTREEITEM hParent, const ShellPath& searchRoot, const FolderEntry& entry) const
{
    return entry.wide.empty() ? FromCodePage(ItemText(hParent, EntryPath(searchRoot, entry).ansi, entry.kind))
                              : WideCaption(entry);
}

BOOL CFolderTreeCtrl::HasChildren(const ShellPath& folder)
{
    return HasButtonEntries(folder, m_bShowFiles);
}

std::string CFolderTreeCtrl::ItemText(HTREEITEM hParent, const std::string& path, ItemKind kind) const
{
    std::string copy = path;
    if (EndsWithBackslash(copy.c_str()))
        copy.pop_back();
    const std::string name = GetLastComponent(copy);
    const std::string caption = Caption(name, kind);
    if (hParent != TVI_ROOT)
        return caption;
    // The top level shows the path below the root: a root in another form shows it whole.
    copy = copy.substr(0, copy.size() - name.size()) + caption;
    StripRoot(copy);
    return copy;
}

HTREEITEM CFolderTreeCtrl::InsertPathItem(HTREEITEM hParent, const std::string& path, ItemKind kind,
                                          HTREEITEM hInsertAfter)
{
    std::string text = ItemText(hParent, path, kind);
    return InsertItem(CallbackInsert<TVINSERTSTRUCTA>(hParent, hInsertAfter, text, kind));
}

void CFolderTreeCtrl::OnGetDispInfo(NMHDR* pHeader, LRESULT* pResult)
{
    *pResult = 0;
    TVITEMA& item = reinterpret_cast<NMTVDISPINFOA*>(pHeader)->item;
    if (!(item.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN)))
        return;
    const auto kind = static_cast<ItemKind>(item.lParam);
    const ShellPath path = Append(GetItemShellPath(item.hItem), FileNameOf("", kind));
    if (item.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE)) {
        CShellIcons::Images images;
        if (!m_icons.Lookup(path, kind == kindFolder, images)) {
            m_strError = "Error Gettting SystemFileInfo!";
            images = m_icons.Generic(kind == kindFolder);
        }
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
    }
    item.mask |= TVIF_DI_SETITEM; // the control keeps them: each item asks once
}

std::string CFolderTreeCtrl::GetLastComponent(const std::string& path)
{
    std::string component = path;
    if (EndsWithBackslash(component.c_str()))
        component.pop_back();
    int slash = ReverseFind(component, '\\');
    return slash < 0 ? component : component.substr(static_cast<size_t>(slash) + 1);
}

std::string CFolderTreeCtrl::GetItemPath(HTREEITEM hItem) const
{
    std::vector<std::string> texts;
    for (HTREEITEM h = hItem; h != nullptr; h = GetParentItem(h))
        texts.push_back(GetItemText(h));
    std::string path;
    for (auto it = texts.rbegin(); it != texts.rend(); ++it)
        path += *it + '\\';
    TrimRightBackslashes(path);
    return m_strRootPath.empty() ? path : m_strRootPath + path;
}

ShellPath CFolderTreeCtrl::GetItemShellPath(HTREEITEM hItem) const
{
    std::wstring path;
    for (HTREEITEM h = hItem; h != nullptr; h = GetParentItem(h))
        path = GetItemTextW(h) + L'\\' + path;
    while (!path.empty() && path.back() == L'\\')
        path.pop_back();
    return PathFromWide(RootPath().Wide() + path);
}

std::string CFolderTreeCtrl::SpelledText(HTREEITEM hItem) const
{
    std::string text;
    return ToCodePage(GetItemTextW(hItem), text) ? text : std::string();
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
    if (nAction != TVE_EXPAND)
        return;
    DeleteChildren(hItem);
    const ShellPath path = GetItemShellPath(hItem);
    FillChildren(hItem, path);
    WatchFolder(hItem, path);
}

void CFolderTreeCtrl::OnItemExpanded(NMHDR* pHeader, LRESULT* pResult)
{
    const TVITEMA& item = reinterpret_cast<NMTREEVIEWA*>(pHeader)->itemNew;
    if (item.state & TVIS_EXPANDED) {
        RefillItem(item.hItem, TVE_EXPAND);
    } else {
        // Collapsing forgets the folder's contents and any deeper expansion. The control drops
        // them in one pass: deleted one by one, each costs a search through all its items.
        m_watches.erase(item.hItem);
        for (HTREEITEM h = GetParentItem(GetSelectedItem()); h != nullptr; h = GetParentItem(h))
            if (h == item.hItem) {
                SelectItem(item.hItem); // as deleting the selected child one by one ends
                break;
            }
        Expand(item.hItem, TVE_COLLAPSE | TVE_COLLAPSERESET);
        DeleteChildren(item.hItem); // should a control keep them
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
    case TVN_DELETEITEMA:
        // A folder that leaves the tree is no longer watched, however it left.
        m_watches.erase(reinterpret_cast<NMTREEVIEWA*>(header)->itemOld.hItem);
        *pResult = 0;
        return TRUE;
    case NM_DBLCLK:
        OnDblClk(header, pResult);
        return TRUE;
    case NM_RETURN:
        OnReturn(header, pResult);
        return TRUE;
    case NM_RCLICK:
        OnRClick(header, pResult);
        return TRUE;
    }
    return FALSE;
}
