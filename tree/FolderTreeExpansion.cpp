// Remembered expansion: listing the expanded folders and expanding them again.
#include "framework/FileFind.h"
#include "framework/WaitCursor.h"
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
    KnownChildren known;
    return IsPathInTree(path, ChildrenOf(TVI_ROOT, known));
}

bool CFolderTreeCtrl::IsPathInTree(const std::string& path, const std::vector<KnownChild>& topLevel) const
{
    std::string given = path;
    TrimRightBackslashes(given);
    std::string copy = given;
    MakeUpper(copy);
    for (const KnownChild& top : topLevel) {
        // Bytes, not components: only the first match is tested for existence.
        const std::string& text = top.upperText;
        if (copy.size() >= text.size() && copy.compare(0, text.size(), text) == 0) {
            // Asked in its own letter case: the file system ignores case, but this Wine finds
            // a name in another case only by reading the whole folder. Without wildcards a
            // search finds what the attributes are found for, and they cost less to ask.
            const std::string full = m_strRootPath + given;
            if (given.find_first_of("*?") == std::string::npos)
                return ::GetFileAttributesA(full.c_str()) != INVALID_FILE_ATTRIBUTES;
            CFileFind finder;
            return finder.FindFile(full.c_str());
        }
    }
    return false;
}

HTREEITEM CFolderTreeCtrl::FindChildByText(HTREEITEM hParent, const std::string& upperName, KnownChildren& known) const
{
    for (const KnownChild& child : ChildrenOf(hParent, known))
        if (child.upperText == upperName)
            return child.hItem;
    return nullptr;
}

const std::vector<CFolderTreeCtrl::KnownChild>& CFolderTreeCtrl::ChildrenOf(HTREEITEM hParent,
                                                                            KnownChildren& known) const
{
    const auto [it, added] = known.try_emplace(hParent);
    if (added)
        for (HTREEITEM hChild = GetChildItem(hParent); hChild != nullptr; hChild = GetNextSiblingItem(hChild)) {
            std::string text = GetItemText(hChild);
            MakeUpper(text);
            it->second.push_back({std::move(text), hChild});
        }
    return it->second;
}

BOOL CFolderTreeCtrl::ExpandToPath(const std::string& path)
{
    return RestoreExpanded({path}) == 1;
}

size_t CFolderTreeCtrl::RestoreExpanded(const std::vector<std::string>& paths)
{
    KnownChildren known;
    HTREEITEM hLast = nullptr;
    size_t restored = 0;
    bool redrawOff = false;
    for (const std::string& path : paths) {
        // A path that names nothing changes nothing, not even the redrawing.
        if (!IsPathInTree(path, ChildrenOf(TVI_ROOT, known)))
            continue;
        if (!redrawOff) {
            SetRedraw(FALSE);
            redrawOff = true;
        }
        if (HTREEITEM hItem = ExpandSavedPath(path, known)) {
            hLast = hItem;
            ++restored;
        }
    }
    if (redrawOff)
        SetRedraw(TRUE);
    // Selecting scrolls to the item: only once the control has laid the tree out again.
    if (hLast != nullptr)
        SelectItem(hLast);
    return restored;
}

HTREEITEM CFolderTreeCtrl::ExpandSavedPath(const std::string& path, KnownChildren& known)
{
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
        const std::string component = copy.substr(start, i - start);
        hCurrent = FindChildByText(hCurrent, component, known);
        if (hCurrent == nullptr)
            break;
        if (!component.empty()) // else the placeholder, which has nothing to expand
            ExpandForRestore(hCurrent, known);
        start = i + 1;
    }
    return hCurrent;
}

void CFolderTreeCtrl::ExpandForRestore(HTREEITEM hItem, KnownChildren& known)
{
    if (static_cast<ItemKind>(GetItemData(hItem)) != kindFolder)
        return; // a file is not expanded
    const UINT state = GetItemState(hItem, TVIS_EXPANDED | TVIS_EXPANDEDONCE);
    if (state & TVIS_EXPANDED)
        return; // expanded already (by an earlier path, too): it keeps its children
    if (state & TVIS_EXPANDEDONCE) {
        // Collapsed since its first expansion: the control expands it without asking, as ever.
        Expand(hItem, TVE_EXPAND);
        return;
    }
    // What its first expansion does, without the layout the control makes of each step: the
    // placeholder goes, the listing comes, and the item is marked as TVM_EXPAND marks it. A
    // folder whose button was never asked for is listed straight away; with nothing that
    // gives it a button it is not expanded, as a folder without a button is not.
    CWaitCursor wait;
    const bool hadChild = GetChildItem(hItem) != nullptr;
    DeleteChildren(hItem);
    const std::string path = GetItemPath(hItem);
    bool hasButton = false;
    std::vector<KnownChild> children = InsertListing(hItem, path, &hasButton);
    const bool expanded = hadChild || hasButton;
    TVITEMA item{};
    item.mask = TVIF_STATE | TVIF_CHILDREN;
    item.hItem = hItem;
    item.cChildren = children.empty() ? 0 : 1;
    item.stateMask = TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    item.state = expanded ? item.stateMask : 0;
    SetItem(item);
    known[hItem] = std::move(children);
    if (expanded)
        WatchFolder(hItem, path);
}
