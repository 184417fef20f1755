#include "tree/FolderTreeCtrl.h"
#include <shellapi.h>
#include "framework/FileFind.h"
#include "framework/WaitCursor.h"
#include "tree/PathHelpers.h"

namespace {
std::string SearchPattern(const std::string& folder)
{
    return folder + (EndsWithBackslash(folder.c_str()) ? "*.*" : "\\*.*");
}

} // namespace

bool IsListedEntry(DWORD attributes)
{
    return (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY)) == 0;
}

CFolderTreeCtrl::~CFolderTreeCtrl()
{
    m_imageList.Detach();
}

BOOL CFolderTreeCtrl::DisplayTree(const std::string& root, BOOL bShowFiles)
{
    if (GetStyle() & TVS_EDITLABELS)
        ModifyStyle(TVS_EDITLABELS, 0);
    DeleteAllItems();
    if (!AttachSystemImageList())
        return FALSE;
    m_bShowFiles = bShowFiles;
    m_strRootPath = root;
    if (!EndsWithBackslash(root.c_str()))
        m_strRootPath += '\\';
    FillChildren(TVI_ROOT, root);
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

void CFolderTreeCtrl::FillChildren(HTREEITEM hParent, const std::string& folder)
{
    // A big folder takes a while to read: the hourglass stands from the first entry on.
    CWaitCursor wait;
    std::vector<std::string> folders;
    std::vector<std::string> files;
    CFileFind finder;
    for (BOOL more = finder.FindFile(SearchPattern(folder).c_str()); more;) {
        more = finder.FindNextFile();
        if (!IsListedEntry(finder.GetAttributes()))
            continue;
        if (finder.IsDirectory()) {
            if (!finder.IsDots())
                folders.push_back(finder.GetFilePath());
        } else if (m_bShowFiles) {
            files.push_back(finder.GetFilePath());
        }
    }

    SortNoCase(folders);
    SetRedraw(FALSE);
    for (const std::string& path : folders) {
        HTREEITEM hItem = InsertPathItem(hParent, path, kindFolder);
        if (hItem != nullptr && HasChildren(path))
            InsertPlaceholder(hItem);
    }
    if (m_bShowFiles) {
        SortNoCase(files);
        for (const std::string& path : files) {
            const ItemKind kind = IsInternetShortcutFile(path.c_str()) ? kindInternetShortcut
                                  : IsShortcutFile(path.c_str())       ? kindShortcut
                                                                       : kindFile;
            InsertPathItem(hParent, path, kind);
        }
    }
    SetRedraw(TRUE);
}

BOOL CFolderTreeCtrl::HasChildren(const std::string& folder)
{
    // Unlike the listing, hidden and temporary folders and temporary files count here.
    CFileFind finder;
    for (BOOL more = finder.FindFile(SearchPattern(folder).c_str()); more;) {
        more = finder.FindNextFile();
        if (finder.IsDirectory()) {
            if (!finder.IsDots())
                return TRUE;
        } else if (m_bShowFiles && !finder.MatchesMask(FILE_ATTRIBUTE_HIDDEN)) {
            return TRUE;
        }
    }
    return FALSE;
}

HTREEITEM CFolderTreeCtrl::InsertPathItem(HTREEITEM hParent, const std::string& path, ItemKind kind)
{
    std::string copy = path;
    if (EndsWithBackslash(copy.c_str()))
        copy.pop_back();
    std::string stem;
    if ((kind == kindShortcut && IsShortcutFile(copy.c_str(), &stem)) ||
        (kind == kindInternetShortcut && IsInternetShortcutFile(copy.c_str(), &stem)))
        copy = stem;
    StripRoot(copy);
    std::string text = hParent == TVI_ROOT ? copy : GetLastComponent(copy);

    // The icons are asked for when the item is first drawn: a folder of any size costs
    // the icons of one screen.
    TVINSERTSTRUCTA insert{};
    insert.hParent = hParent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | (kind != kindFolder ? TVIF_PARAM : 0u);
    insert.item.pszText = text.data();
    insert.item.iImage = I_IMAGECALLBACK;
    insert.item.iSelectedImage = I_IMAGECALLBACK;
    insert.item.lParam = kind;
    return InsertItem(insert);
}

void CFolderTreeCtrl::OnGetDispInfo(NMHDR* pHeader, LRESULT* pResult)
{
    *pResult = 0;
    TVITEMA& item = reinterpret_cast<NMTVDISPINFOA*>(pHeader)->item;
    if (!(item.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE)))
        return;
    const auto kind = static_cast<ItemKind>(item.lParam);
    std::string path = GetItemPath(item.hItem);
    if (kind == kindShortcut)
        path += ".lnk";
    else if (kind == kindInternetShortcut)
        path += ".url";
    CShellIcons::Images images;
    if (!m_icons.Lookup(path, kind == kindFolder, images)) {
        m_strError = "Error Gettting SystemFileInfo!";
        images = m_icons.Generic(kind == kindFolder);
    }
    item.iImage = images.normal;
    item.iSelectedImage = images.open;
    item.mask |= TVIF_DI_SETITEM; // the control keeps them: each item asks the shell once
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
    FillChildren(hItem, GetItemPath(hItem));
}

void CFolderTreeCtrl::OnItemExpanded(NMHDR* pHeader, LRESULT* pResult)
{
    const TVITEMA& item = reinterpret_cast<NMTREEVIEWA*>(pHeader)->itemNew;
    if (item.state & TVIS_EXPANDED) {
        RefillItem(item.hItem, TVE_EXPAND);
    } else {
        // Collapsing forgets the folder's contents and any deeper expansion.
        DeleteChildren(item.hItem);
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
