// Remembered expansion: listing the expanded folders and expanding them again, both by the
// model's nodes.
#include <optional>
#include "framework/WaitCursor.h"
#include "tree/FolderListing.h"
#include "tree/FolderTreeCtrl.h"
#include "tree/PathHelpers.h"
#include "tree/WidePathText.h"

namespace {
std::wstring Upper(std::wstring text)
{
    if (!text.empty())
        ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

std::string Upper(std::string text)
{
    MakeUpper(text);
    return text;
}

// A saved path as it was written: code page 932, or a ":utf-8:" path for names it cannot spell.
struct SavedPath {
    ShellPath given;  // without trailing backslashes
    bool wide = false; // saved in the ":utf-8:" form
};

SavedPath ReadSaved(const std::string& text)
{
    std::u16string decoded;
    if (!DecodeWidePath(text, decoded)) {
        std::string given = text;
        TrimRightBackslashes(given);
        return {PathFromAnsi(given), false};
    }
    std::wstring given(decoded.begin(), decoded.end());
    while (!given.empty() && given.back() == L'\\')
        given.pop_back();
    return {{{}, given}, true};
}

std::string SavedText(const ShellPath& path)
{
    const ShellPath spelled = path.IsWide() ? PathFromWide(path.wide) : path;
    return spelled.IsWide() ? EncodeWidePath({spelled.wide.begin(), spelled.wide.end()}) : spelled.ansi;
}
} // namespace

void CFolderTreeCtrl::CollectExpanded(std::vector<std::string>& list, BOOL bFullPaths) const
{
    if (m_bRootAway) {
        list.insert(list.end(), m_awayExpanded.begin(), m_awayExpanded.end());
        return;
    }
    CollectExpandedUnder(m_model.Root(), bFullPaths ? RootPath() : ShellPath(), bFullPaths, list);
}

void CFolderTreeCtrl::CollectExpandedUnder(const FolderNode& folder, const ShellPath& relative, BOOL bFullPaths,
                                           std::vector<std::string>& list) const
{
    // Folders come first: the walk ends at the first file. A folder listed with nothing to
    // show is not worth restoring.
    for (const std::unique_ptr<FolderNode>& child : folder.children) {
        if (child->entry.kind != kindFolder)
            return;
        if (!child->listed || child->children.empty())
            continue;
        // The top level's paths begin with what its items show.
        const bool top = &folder == &m_model.Root() && !bFullPaths;
        const ShellPath path = !top ? EntryPath(relative, child->entry)
                               : child->entry.wide.empty() ? PathFromAnsi(AnsiText(*child))
                                                           : ShellPath{child->entry.name, child->entry.wide};
        list.push_back(SavedText(path));
        CollectExpandedUnder(*child, path, bFullPaths, list);
    }
}

CFolderTreeCtrl::MatchName CFolderTreeCtrl::MatchNameOf(const FolderNode& node) const
{
    if (node.entry.wide.empty())
        return {Upper(AnsiText(node)), {}};
    return {{}, Upper(WideCaption(node.entry))};
}

const std::vector<std::pair<CFolderTreeCtrl::MatchName, FolderNode*>>&
CFolderTreeCtrl::ChildrenOf(const FolderNode& folder, KnownChildren& known) const
{
    const auto [it, added] = known.try_emplace(&folder);
    if (added)
        for (const std::unique_ptr<FolderNode>& child : folder.children)
            it->second.emplace_back(MatchNameOf(*child), child.get());
    return it->second;
}

BOOL CFolderTreeCtrl::IsPathInTree(const std::string& path) const
{
    // Bytes, not components (letters for a wide path): the first top-level name the path
    // begins with decides, by whether the path exists under the root.
    const SavedPath saved = ReadSaved(path);
    const std::string ansi = Upper(saved.given.ansi);
    const std::wstring wide = Upper(saved.given.wide);
    for (const std::unique_ptr<FolderNode>& top : m_model.Root().children) {
        const MatchName name = MatchNameOf(*top);
        bool begins = false;
        if (!saved.wide) {
            begins = !name.ansi.empty() && ansi.compare(0, name.ansi.size(), name.ansi) == 0;
        } else {
            const std::wstring text = name.wide.empty() ? Upper(FromCodePage(AnsiText(*top))) : name.wide;
            begins = wide.compare(0, text.size(), text) == 0;
        }
        if (begins)
            return PathExists(saved.wide ? PathFromWide(RootPath().Wide() + saved.given.wide)
                                         : Append(RootPath(), saved.given.ansi));
    }
    return FALSE;
}

size_t CFolderTreeCtrl::RestoreExpanded(const std::vector<std::string>& paths)
{
    KnownChildren known;
    FolderNode* last = nullptr;
    size_t restored = 0;
    bool redrawOff = false;
    std::optional<CWaitCursor> wait; // one hourglass for all the folders
    for (const std::string& path : paths) {
        // A path that names nothing changes nothing, not even the redrawing.
        if (!IsPathInTree(path))
            continue;
        if (!redrawOff) {
            wait.emplace();
            SetRedraw(FALSE);
            redrawOff = true;
        }
        if (FolderNode* node = ExpandSavedPath(path, known)) {
            last = node;
            ++restored;
        }
    }
    if (redrawOff)
        SetRedraw(TRUE);
    // Selecting scrolls to the item: only once the control has laid the tree out again.
    if (last != nullptr)
        SelectItem(ItemOf(*last));
    return restored;
}

FolderNode* CFolderTreeCtrl::ExpandSavedPath(const std::string& path, KnownChildren& known)
{
    // The components in the form the path was saved in; a wide path's names the code page
    // spells match as the code page's.
    std::vector<MatchName> components;
    const SavedPath saved = ReadSaved(path);
    if (saved.wide) {
        for (size_t start = 0; start <= saved.given.wide.size();) {
            const size_t end = std::min(saved.given.wide.find(L'\\', start), saved.given.wide.size());
            const ShellPath name = PathFromWide(saved.given.wide.substr(start, end - start));
            components.push_back(name.IsWide() ? MatchName{{}, Upper(name.wide)} : MatchName{Upper(name.ansi), {}});
            start = end + 1;
        }
    } else {
        // One trailing backslash ends the last name; a second is an empty name, found nowhere.
        std::string copy = Upper(path);
        if (!EndsWithBackslash(copy.c_str()))
            copy += '\\';
        size_t start = 0;
        for (size_t i = 0; i < copy.size(); i += CharSize(copy, i)) {
            // A second byte 0x5C is no separator.
            if (CharSize(copy, i) == 2 || copy[i] != '\\')
                continue;
            components.push_back({copy.substr(start, i - start), {}});
            start = i + 1;
        }
    }
    FolderNode* current = &m_model.Root();
    for (const MatchName& component : components) {
        FolderNode* found = nullptr;
        for (const auto& [name, child] : ChildrenOf(*current, known))
            if (!(name.ansi.empty() && name.wide.empty()) && name == component) {
                found = child;
                break;
            }
        if (found == nullptr)
            return nullptr;
        current = found;
        ExpandForRestore(*current, known);
    }
    return current;
}

void CFolderTreeCtrl::ExpandForRestore(FolderNode& node, KnownChildren& known)
{
    HTREEITEM hItem = ItemOf(node);
    if (node.entry.kind != kindFolder || hItem == nullptr)
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
    const bool hadChild = GetChildItem(hItem) != nullptr;
    DeleteChildren(hItem);
    bool hasButton = false;
    m_model.List(node, m_bShowFiles, &hasButton);
    InsertListed(hItem, node);
    const bool expanded = hadChild || hasButton;
    TVITEMA item{};
    item.mask = TVIF_STATE | TVIF_CHILDREN;
    item.hItem = hItem;
    item.cChildren = node.children.empty() ? 0 : 1;
    item.stateMask = TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    item.state = expanded ? item.stateMask : 0;
    SetItem(item);
    known.erase(&node);
    if (expanded)
        WatchFolder(node);
}
