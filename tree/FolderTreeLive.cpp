// The live tree: the root, each expanded folder and each collapsed folder drawn are watched,
// a burst of changes is gathered for a moment, and then only the expanded folders that
// changed are listed again and compared with their nodes, keeping expansion, selection and
// scroll position; a collapsed one has its expand button brought up to date.
#include <utility>
#include "framework/WinApp.h"
#include "tree/FolderListing.h"
#include "tree/FolderTreeCtrl.h"
#include "tree/PathHelpers.h"

namespace {
constexpr UINT_PTR kChangeTimer = 0x4657; // the control's own timers have small ids
constexpr ULONGLONG kLongestDelayMs = 1000; // a burst that goes on is applied after this long
constexpr size_t kNamesKept = 256;       // past this a folder's change is taken as "anything"

// The code page's form of a reported name, as the listing spells it.
std::string Narrow(const std::wstring& wide)
{
    std::string narrow;
    ToCodePage(wide, narrow);
    return narrow;
}
} // namespace

LRESULT CFolderTreeCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == kChangeTimer) {
        OnChangeTimer();
        return 0;
    }
    return CTreeCtrl::WindowProc(message, wParam, lParam);
}

void CFolderTreeCtrl::WatchFolder(FolderNode& folder)
{
    if (m_rootWatch == nullptr || m_watched.count(&folder) != 0)
        return; // watched since it was drawn
    // The root is watched from the watch's start; every other folder by its path below it.
    const std::wstring path = CFolderModel::RelativePath(folder);
    if (&folder == &m_model.Root() || m_rootWatch->Watch(path))
        m_watched.emplace(&folder, path);
}

void CFolderTreeCtrl::WatchRoot()
{
    m_rootWatch = std::make_unique<CRootWatch>(RootPath().Wide(),
                                               [this](const RootChange& change) { OnRootChange(change); });
    m_watched.clear();
    WatchFolder(m_model.Root());
}

void CFolderTreeCtrl::LeaveWatchesToProcessEnd()
{
    if (m_rootWatch != nullptr)
        m_rootWatch->LeaveToProcessEnd();
    StopWatching();
}

void CFolderTreeCtrl::StopWatching()
{
    m_rootWatch.reset();
    m_watched.clear();
    m_pending.clear();
    m_bCheckRoot = false;
    m_firstPendingTick = 0;
    if (m_hWnd != nullptr)
        KillTimer(kChangeTimer);
}

void CFolderTreeCtrl::StopWatching(const FolderNode& folder)
{
    const auto it = m_watched.find(&folder);
    if (it != m_watched.end()) {
        if (m_rootWatch != nullptr && &folder != &m_model.Root())
            m_rootWatch->Unwatch(it->second);
        m_watched.erase(it);
    }
    m_pending.erase(&folder);
}

void CFolderTreeCtrl::OnRootChange(const RootChange& change)
{
    switch (change.kind) {
    case RootChange::Kind::Root:
        OnRootParentChanged();
        return;
    case RootChange::Kind::Anything: {
        // Any folder may have changed: each one shown is listed again, or its button asked.
        FolderChange everything;
        everything.overflow = true;
        std::vector<const FolderNode*> folders;
        for (const auto& watched : m_watched)
            folders.push_back(watched.first);
        for (const FolderNode* folder : folders)
            OnFolderChanged(const_cast<FolderNode*>(folder), everything);
        return;
    }
    case RootChange::Kind::Folder:
        // A folder the tree never listed has no node, and nothing shown to change.
        if (FolderNode* folder = m_model.Find(change.folder)) {
            if (change.change.ended)
                m_watched.erase(folder); // its watch is gone; asked for again once applied
            OnFolderChanged(folder, change.change);
        }
        return;
    }
}

void CFolderTreeCtrl::OnFolderChanged(FolderNode* folder, const FolderChange& change)
{
    PendingChange& pending = m_pending[folder];
    pending.overflow = pending.overflow || change.overflow || pending.names.size() + change.names.size() > kNamesKept;
    if (pending.overflow) {
        pending.names.clear();
        pending.renames.clear();
    } else {
        for (const std::wstring& name : change.names)
            pending.names.push_back(Narrow(name));
        const auto renames = RenamePairs(change);
        pending.renames.insert(pending.renames.end(), renames.begin(), renames.end());
    }
    pending.ended = pending.ended || change.ended;
    if (folder == &m_model.Root() && change.ended)
        m_bCheckRoot = true;
    ScheduleChanges();
}

void CFolderTreeCtrl::OnRootParentChanged()
{
    m_bCheckRoot = true;
    ScheduleChanges();
}

void CFolderTreeCtrl::ScheduleChanges()
{
    if (m_hWnd == nullptr)
        return;
    const ULONGLONG now = ::GetTickCount64();
    if (m_firstPendingTick == 0)
        m_firstPendingTick = now;
    // Each change restarts the quiet time, until the burst has been waited for long enough.
    if (now - m_firstPendingTick < kLongestDelayMs)
        SetTimer(kChangeTimer, CFolderTreeCtrl::kChangeQuietMs);
}

void CFolderTreeCtrl::OnChangeTimer()
{
    KillTimer(kChangeTimer);
    // Nothing moves under an open menu, dialog or message box: the changes wait for it to close.
    if (AfxInModalState()) {
        SetTimer(kChangeTimer, CFolderTreeCtrl::kChangeQuietMs);
        return;
    }
    m_firstPendingTick = 0;
    ApplyFolderChanges();
}

void CFolderTreeCtrl::ShowRoot()
{
    // What was expanded stays known while the root is away, and comes back with it.
    std::vector<std::string> expanded;
    CollectExpanded(expanded, FALSE);
    StopWatching();
    DeleteAllItems();
    UnlinkBelow(m_model.Root());
    m_model.SetRoot(RootPath());
    FillChildren(TVI_ROOT);
    WatchRoot();
    m_bRootAway = !PathExists(RootPath());
    if (m_bRootAway)
        m_awayExpanded = std::move(expanded);
    else
        RestoreExpanded(expanded);
}

void CFolderTreeCtrl::ApplyFolderChanges()
{
    const std::unordered_map<const FolderNode*, PendingChange> pending = std::exchange(m_pending, {});
    const bool checkRoot = std::exchange(m_bCheckRoot, false);
    if (m_strRootPath.empty()) {
        StopWatching(); // the tree was emptied without a root to show
        return;
    }
    if (checkRoot || m_bRootAway) {
        if (m_rootWatch == nullptr || !m_rootWatch->WatchesRoot()) {
            // Gone, or another folder by that name now: everything below belonged to the old one.
            ShowRoot();
            return;
        }
    }
    Anchors anchors{GetSelectedItem(), GetNextItem(nullptr, TVGN_FIRSTVISIBLE)};
    SetRedraw(FALSE);
    for (const auto& [node, change] : pending) {
        if (m_watched.count(node) == 0 && !change.ended)
            continue; // it went with a folder above it: its node may be gone
        FolderNode& folder = *const_cast<FolderNode*>(node);
        if (folder.listed) {
            UpdateChildren(folder, change, anchors);
        } else if (HTREEITEM hItem = ItemOf(folder)) {
            UpdateButton(hItem, m_model.PathOf(folder));
        }
        if (change.ended)
            WatchFolder(folder); // still there: watched again
    }
    if (anchors.top != nullptr)
        SelectSetFirstVisible(anchors.top);
    SetRedraw(TRUE);
}

void CFolderTreeCtrl::UpdateChildren(FolderNode& folder, const PendingChange& change, Anchors& anchors)
{
    const HTREEITEM hFolder = ItemOf(folder);
    if (hFolder == nullptr)
        return;
    const FolderNode* selected = NodeOf(anchors.selected);
    const FolderNode* top = NodeOf(anchors.top);
    FolderDiff diff = m_model.Relist(folder, m_bShowFiles, change.renames);
    for (const std::unique_ptr<FolderNode>& gone : diff.removed)
        if (HTREEITEM hItem = ItemOf(*gone))
            DeleteKeepingPlace(hItem, anchors);
    // A renamed item may belong elsewhere now: it comes again there, with what it showed.
    {
        m_bMovingItems = true;
        for (FolderNode* renamed : diff.renamed)
            if (HTREEITEM hItem = ItemOf(*renamed))
                DeleteItem(hItem);
        m_bMovingItems = false;
    }
    // A watch by path follows the folder's new path, and those of the folders inside it.
    for (const FolderNode* renamed : diff.renamed) {
        std::vector<FolderNode*> moved;
        for (const auto& [node, path] : m_watched)
            for (const FolderNode* n = node; n != nullptr; n = n->parent)
                if (n == renamed) {
                    moved.push_back(const_cast<FolderNode*>(node));
                    break;
                }
        for (FolderNode* node : moved) {
            StopWatching(*node);
            WatchFolder(*node);
        }
    }
    const auto named = [&](const std::string& name) {
        if (change.overflow)
            return true;
        for (const std::string& changed : change.names)
            if (CompareNoCase(changed.c_str(), name.c_str()) == 0)
                return true;
        return false;
    };
    // The kept items are in the listing's order already: the new ones go in between.
    HTREEITEM after = TVI_FIRST;
    for (const std::unique_ptr<FolderNode>& child : folder.children) {
        if (HTREEITEM hItem = ItemOf(*child)) {
            after = hItem;
            // A collapsed folder its parent was told of: its button follows what is in it.
            if (child->entry.kind == kindFolder && !child->listed && named(child->entry.name))
                UpdateButton(hItem, m_model.PathOf(*child));
        } else if (HTREEITEM hNew = ReinsertNode(hFolder, after, *child)) {
            after = hNew;
        }
    }
    // The selection and the first visible item stay on their nodes where these came again.
    // Asked by node: a moved item's new handle may be the address its old one had. A node
    // that went is still held by the diff, and has no item.
    if (selected != nullptr)
        if (HTREEITEM hItem = ItemOf(*selected); hItem != nullptr && GetSelectedItem() != hItem) {
            anchors.selected = hItem;
            SelectItem(hItem);
        }
    if (top != nullptr)
        if (HTREEITEM hItem = ItemOf(*top))
            anchors.top = hItem;
    // An expanded folder that was empty shows what came into it.
    if (hFolder != TVI_ROOT && GetChildItem(hFolder) != nullptr && !(GetItemState(hFolder, TVIS_EXPANDED) & TVIS_EXPANDED))
        SetItemState(hFolder, TVIS_EXPANDED, TVIS_EXPANDED);
}

HTREEITEM CFolderTreeCtrl::ReinsertNode(HTREEITEM hParent, HTREEITEM hInsertAfter, FolderNode& node)
{
    HTREEITEM hItem = InsertNode(hParent, hInsertAfter, node);
    if (hItem == nullptr || !node.listed)
        return hItem;
    for (const std::unique_ptr<FolderNode>& child : node.children)
        ReinsertNode(hItem, TVI_LAST, *child);
    SetItemState(hItem, TVIS_EXPANDED | TVIS_EXPANDEDONCE, TVIS_EXPANDED | TVIS_EXPANDEDONCE);
    return hItem;
}

void CFolderTreeCtrl::DeleteKeepingPlace(HTREEITEM hItem, Anchors& anchors)
{
    const auto within = [&](HTREEITEM h) {
        for (; h != nullptr; h = GetParentItem(h))
            if (h == hItem)
                return true;
        return false;
    };
    // The nearest item left: the next one, else the one before, else the folder itself.
    const auto nearest = [&] {
        HTREEITEM h = GetNextSiblingItem(hItem);
        if (h == nullptr)
            h = GetPrevSiblingItem(hItem);
        return h != nullptr ? h : GetParentItem(hItem);
    };
    if (within(anchors.selected)) {
        anchors.selected = nearest();
        SelectItem(anchors.selected);
    }
    if (within(anchors.top))
        anchors.top = nearest();
    DeleteItem(hItem);
}

void CFolderTreeCtrl::UpdateButton(HTREEITEM hFolder, const ShellPath& path)
{
    HTREEITEM hFirst = GetChildItem(hFolder);
    const bool wanted = HasChildren(path);
    if (wanted && hFirst == nullptr)
        InsertPlaceholder(hFolder);
    else if (!wanted && hFirst != nullptr && GetItemText(hFirst).empty())
        DeleteItem(hFirst);
}
