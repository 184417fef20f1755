// Remembered expansion: listing the expanded folders and expanding them again.
#include "framework/FileFind.h"
#include "tree/FolderTreeCtrl.h"
#include "tree/PathHelpers.h"

void CFolderTreeCtrl::CollectExpanded(std::vector<std::string>& list, BOOL bFullPaths) const
{
    CollectExpandedUnder(TVI_ROOT, list);
    if (bFullPaths)
        return;
    for (std::string& entry : list)
        StripRoot(entry);
}

void CFolderTreeCtrl::CollectExpandedUnder(HTREEITEM hParent, std::vector<std::string>& list) const
{
    if (hParent == nullptr)
        return;
    for (HTREEITEM hChild = GetChildItem(hParent); hChild != nullptr; hChild = GetNextSiblingItem(hChild)) {
        // A folder showing only its placeholder was never filled: not worth restoring.
        HTREEITEM hFirst = nullptr;
        if ((GetItemState(hChild, TVIS_EXPANDED) & TVIS_EXPANDED) && (hFirst = GetChildItem(hChild)) != nullptr &&
            !GetItemText(hFirst).empty()) {
            list.push_back(GetItemPath(hChild));
            CollectExpandedUnder(hChild, list);
        }
    }
}

BOOL CFolderTreeCtrl::IsPathInTree(const std::string& path) const
{
    std::string copy = path;
    MakeUpper(copy);
    TrimRightBackslashes(copy);
    for (HTREEITEM hTop = GetRootItem(); hTop != nullptr; hTop = GetNextSiblingItem(hTop)) {
        std::string text = GetItemText(hTop);
        MakeUpper(text);
        // Bytes, not components: only the first match is tested for existence.
        if (copy.size() >= text.size() && copy.compare(0, text.size(), text) == 0) {
            CFileFind finder;
            return finder.FindFile((m_strRootPath + copy).c_str());
        }
    }
    return FALSE;
}

HTREEITEM CFolderTreeCtrl::FindChildByText(HTREEITEM hParent, const std::string& upperName) const
{
    for (HTREEITEM hChild = GetChildItem(hParent); hChild != nullptr; hChild = GetNextSiblingItem(hChild)) {
        std::string text = GetItemText(hChild);
        MakeUpper(text);
        if (text == upperName)
            return hChild;
    }
    return nullptr;
}

BOOL CFolderTreeCtrl::ExpandToPath(const std::string& path)
{
    if (!IsPathInTree(path))
        return FALSE;
    std::string copy = path;
    MakeUpper(copy);
    if (!EndsWithBackslash(copy.c_str()))
        copy += '\\';

    HTREEITEM hCurrent = TVI_ROOT;
    size_t start = 0;
    for (size_t i = 0; i < copy.size(); i += CharSize(copy, i)) {
        // A second byte 0x5C is no separator.
        if (CharSize(copy, i) == 2 || copy[i] != '\\')
            continue;
        // Each expansion's listing turns redrawing back on.
        SetRedraw(FALSE);
        hCurrent = FindChildByText(hCurrent, copy.substr(start, i - start));
        if (hCurrent == nullptr)
            break;
        // The first expansion fills the item before TVM_EXPAND returns.
        Expand(hCurrent, TVE_EXPAND);
        start = i + 1;
    }
    BOOL found = hCurrent != nullptr;
    if (found)
        SelectItem(hCurrent);
    SetRedraw(TRUE);
    return found;
}
