// Remembered expansion: listing the expanded folders and expanding them again.
#include <algorithm>
#include "framework/FileFind.h"
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
        // A folder showing only its placeholder was never filled: not worth restoring.
        HTREEITEM hFirst = nullptr;
        if ((GetItemState(hChild, TVIS_EXPANDED) & TVIS_EXPANDED) && (hFirst = GetChildItem(hChild)) != nullptr &&
            !GetItemText(hFirst).empty()) {
            const ShellPath path = GetItemShellPath(hChild);
            list.push_back(path.IsWide() ? EncodeWidePath(ToU16(path.wide)) : path.ansi);
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
        std::string text = SpelledText(hTop);
        MakeUpper(text);
        // Bytes, not components: only the first match is tested for existence.
        if (!text.empty() && copy.size() >= text.size() && copy.compare(0, text.size(), text) == 0) {
            CFileFind finder;
            return finder.FindFile((m_strRootPath + copy).c_str());
        }
    }
    return FALSE;
}

HTREEITEM CFolderTreeCtrl::FindChildByText(HTREEITEM hParent, const std::string& upperName) const
{
    for (HTREEITEM hChild = GetChildItem(hParent); hChild != nullptr; hChild = GetNextSiblingItem(hChild)) {
        std::string text = SpelledText(hChild);
        MakeUpper(text);
        if (!text.empty() && text == upperName)
            return hChild;
    }
    return nullptr;
}

BOOL CFolderTreeCtrl::ExpandToPath(const std::string& path)
{
    std::u16string wide;
    if (DecodeWidePath(path, wide))
        return ExpandToWidePath({wide.begin(), wide.end()});
    // Below a root the code page cannot spell, every path is walked by the real names.
    if (!m_strRootWide.empty())
        return ExpandToWidePath(FromCodePage(path));
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
