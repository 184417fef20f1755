// Remembered expansion: listing the expanded folders and expanding them again.
#include <algorithm>
#include "framework/FileFind.h"
#include "framework/WaitCursor.h"
#include "tree/FolderTreeCtrl.h"
#include "tree/PathHelpers.h"
#include "tree/WidePathText.h"

namespace {
std::u16string ToU16(const std::wstring& wide)
{
    return {wide.begin(), wide.end()};
}

std::wstring Upper(std::wstring text)
{
    if (!text.empty())
        ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}
} // namespace

void CFolderTreeCtrl::CollectExpanded(std::vector<std::string>& list, BOOL bFullPaths) const
{
    CollectExpandedUnder(TVI_ROOT, list);
    if (bFullPaths)
        return;
    const std::wstring root = Upper(RootPath().Wide());
    for (std::string& entry : list) {
        std::u16string wide;
        if (!DecodeWidePath(entry, wide)) {
            StripRoot(entry);
            continue;
        }
        // Below the root the path may be one code page 932 spells after all.
        std::wstring path(wide.begin(), wide.end());
        if (Upper(path.substr(0, root.size())) == root)
            path.erase(0, root.size());
        const ShellPath relative = PathFromWide(path);
        entry = relative.IsWide() ? EncodeWidePath(ToU16(relative.wide)) : relative.ansi;
    }
}

void CFolderTreeCtrl::CollectExpandedUnder(HTREEITEM hParent, std::vector<std::string>& list) const
{
    if (hParent == nullptr)
        return;
    for (HTREEITEM hChild = GetChildItem(hParent); hChild != nullptr; hChild = GetNextSiblingItem(hChild)) {
        // Each level lists its folders first, so the walk ends at the first file: a big
        // folder's files cost nothing (Wine's control finds every item it is given by a search).
        TVITEMA item{};
        item.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_STATE;
        item.hItem = hChild;
        item.stateMask = TVIS_EXPANDED;
        if (!GetItem(&item) || item.lParam != kindFolder)
            return;
        // A folder showing only its placeholder was never filled: not worth restoring.
        HTREEITEM hFirst = nullptr;
        if ((item.state & TVIS_EXPANDED) && (hFirst = GetChildItem(hChild)) != nullptr && !GetItemText(hFirst).empty()) {
            const ShellPath path = GetItemShellPath(hChild);
            list.push_back(path.IsWide() ? EncodeWidePath(ToU16(path.wide)) : path.ansi);
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
        if (!text.empty() && copy.size() >= text.size() && copy.compare(0, text.size(), text) == 0) {
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
        if (!child.upperText.empty() && child.upperText == upperName)
            return child.hItem;
    return nullptr;
}

const std::vector<CFolderTreeCtrl::KnownChild>& CFolderTreeCtrl::ChildrenOf(HTREEITEM hParent,
                                                                            KnownChildren& known) const
{
    const auto [it, added] = known.try_emplace(hParent);
    if (added)
        for (HTREEITEM hChild = GetChildItem(hParent); hChild != nullptr; hChild = GetNextSiblingItem(hChild)) {
            std::string text = SpelledText(hChild);
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
        std::u16string wide;
        const bool encoded = DecodeWidePath(path, wide);
        // Such a path, and below a root the code page cannot spell every path, is walked by
        // the real names, one at a time: the control's own expansions leave nothing known.
        if (encoded || !m_strRootWide.empty()) {
            if (ExpandToWidePath(encoded ? std::wstring(wide.begin(), wide.end()) : FromCodePage(path))) {
                ++restored;
                hLast = nullptr; // selected already
            }
            redrawOff = false; // its walk turns redrawing back on
            known.clear();
            continue;
        }
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
    const ShellPath path = GetItemShellPath(hItem);
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

BOOL CFolderTreeCtrl::ExpandToWidePath(const std::wstring& path)
{
    // As for a path the code page spells: the first top-level item the path begins with, by
    // letters without regard to case, decides, and the path must exist under the root.
    std::wstring copy = path;
    while (!copy.empty() && copy.back() == L'\\')
        copy.pop_back();
    const std::wstring upper = Upper(copy);
    const auto begins = [&](HTREEITEM h) {
        const std::wstring text = Upper(GetItemTextW(h));
        return upper.compare(0, text.size(), text) == 0;
    };
    HTREEITEM hTop = GetRootItem();
    while (hTop != nullptr && !begins(hTop))
        hTop = GetNextSiblingItem(hTop);
    if (hTop == nullptr || ::GetFileAttributesW((RootPath().Wide() + copy).c_str()) == INVALID_FILE_ATTRIBUTES)
        return FALSE;
    HTREEITEM hCurrent = TVI_ROOT;
    for (size_t start = 0; start <= upper.size() && hCurrent != nullptr;) {
        const size_t end = std::min(upper.find(L'\\', start), upper.size());
        SetRedraw(FALSE);
        const std::wstring component = upper.substr(start, end - start);
        HTREEITEM hChild = GetChildItem(hCurrent);
        while (hChild != nullptr && Upper(GetItemTextW(hChild)) != component)
            hChild = GetNextSiblingItem(hChild);
        hCurrent = hChild;
        if (hCurrent != nullptr)
            Expand(hCurrent, TVE_EXPAND);
        start = end + 1;
    }
    if (hCurrent != nullptr)
        SelectItem(hCurrent);
    SetRedraw(TRUE);
    return hCurrent != nullptr;
}
