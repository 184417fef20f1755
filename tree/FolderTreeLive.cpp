// The live tree: the root and each expanded folder are watched, a burst of changes is
// gathered for a moment, and then only the folders that changed are listed again and
// compared with their items, keeping expansion, selection and scroll position.
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

// Folders before files, then CompareNoCase: the order a listing comes in.
std::u16string SortKey(ItemKind kind, const std::string& name)
{
    std::u16string key(1, kind == kindFolder ? u'\0' : u'\1');
    AppendCompareKey(name.c_str(), key);
    return key;
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

void CFolderTreeCtrl::WatchFolder(HTREEITEM hFolder, const ShellPath& path)
{
    auto watch = std::make_unique<CFolderWatch>(
        path.Wide(), [this, hFolder](const FolderChange& change) { OnFolderChanged(hFolder, change); });
    if (watch->Active())
        m_watches[hFolder] = std::move(watch);
    else
        m_watches.erase(hFolder);
}

void CFolderTreeCtrl::WatchRoot()
{
    WatchFolder(TVI_ROOT, RootPath());
    // The root's own watch cannot see the root deleted, moved away or made again: its parent's can.
    m_rootParentWatch.reset();
    std::wstring parent = RootPath().Wide();
    while (!parent.empty() && parent.back() == L'\\')
        parent.pop_back();
    const size_t slash = parent.rfind(L'\\');
    if (slash == std::wstring::npos)
        return; // a drive root
    parent.resize(slash + 1);
    auto watch = std::make_unique<CFolderWatch>(parent, [this](const FolderChange&) { OnRootParentChanged(); });
    if (watch->Active())
        m_rootParentWatch = std::move(watch);
}

void CFolderTreeCtrl::StopWatching()
{
    m_watches.clear();
    m_rootParentWatch.reset();
    m_pending.clear();
    m_bCheckRoot = false;
    m_firstPendingTick = 0;
    if (m_hWnd != nullptr)
        KillTimer(kChangeTimer);
}

void CFolderTreeCtrl::OnFolderChanged(HTREEITEM hFolder, const FolderChange& change)
{
    PendingChange& pending = m_pending[hFolder];
    pending.overflow = pending.overflow || change.overflow || pending.names.size() + change.names.size() > kNamesKept;
    if (pending.overflow)
        pending.names.clear();
    else
        for (const std::wstring& name : change.names)
            pending.names.push_back(Narrow(name));
    pending.ended = pending.ended || change.ended;
    if (hFolder == TVI_ROOT && change.ended)
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
    StopWatching();
    DeleteAllItems();
    FillChildren(TVI_ROOT, RootPath());
    WatchRoot();
}

void CFolderTreeCtrl::ApplyFolderChanges()
{
    const std::unordered_map<HTREEITEM, PendingChange> pending = std::exchange(m_pending, {});
    const bool checkRoot = std::exchange(m_bCheckRoot, false);
    if (m_strRootPath.empty()) {
        StopWatching(); // the tree was emptied without a root to show
        return;
    }
    if (checkRoot) {
        const auto root = m_watches.find(TVI_ROOT);
        if (root == m_watches.end() || !root->second->Watches(RootPath().Wide())) {
            // Gone, or another folder by that name now: everything below belonged to the old one.
            ShowRoot();
            ++m_nChangeListings;
            return;
        }
    }
    Anchors anchors{GetSelectedItem(), GetNextItem(nullptr, TVGN_FIRSTVISIBLE)};
    SetRedraw(FALSE);
    for (const auto& [hFolder, change] : pending) {
        if (m_watches.count(hFolder) == 0)
            continue; // it went with a folder above it, or was collapsed
        const ShellPath path = hFolder == TVI_ROOT ? RootPath() : GetItemShellPath(hFolder);
        UpdateChildren(hFolder, path, change, anchors);
        ++m_nChangeListings;
        if (change.ended)
            WatchFolder(hFolder, path); // still there: watched again
    }
    if (anchors.top != nullptr)
        SelectSetFirstVisible(anchors.top);
    SetRedraw(TRUE);
}

void CFolderTreeCtrl::UpdateChildren(HTREEITEM hFolder, const ShellPath& path, const PendingChange& change,
                                     Anchors& anchors)
{
    struct Wanted {
        const FolderEntry* entry;
        std::wstring text;
        std::u16string key;
    };
    struct Shown {
        HTREEITEM item;
        std::wstring text;
        ItemKind kind;
        std::u16string key;
    };
    const std::vector<FolderEntry> entries = ListFolder(path, ListingRule::Tree, m_bShowFiles);
    const ShellPath searchRoot = AbsoluteFolder(path);
    std::vector<Wanted> wanted;
    wanted.reserve(entries.size());
    for (const FolderEntry& entry : entries)
        wanted.push_back({&entry, EntryText(hFolder, searchRoot, entry), SortKey(entry.kind, entry.name)});
    std::vector<Shown> shown;
    for (HTREEITEM h = GetChildItem(hFolder); h != nullptr; h = GetNextSiblingItem(h)) {
        // By the real name: the control's ANSI text of a name the code page cannot spell is a guess.
        std::wstring text = GetItemTextW(h);
        const auto kind = static_cast<ItemKind>(GetItemData(h));
        std::string name;
        ToCodePage(text, name);
        if (!text.empty()) // not the placeholder
            shown.push_back({h, text, kind, SortKey(kind, FileNameOf(name, kind))});
    }
    const auto named = [&](const std::string& name) {
        if (change.overflow)
            return true;
        for (const std::string& changed : change.names)
            if (CompareNoCase(changed.c_str(), name.c_str()) == 0)
                return true;
        return false;
    };

    // Both sides are in listing order: walk them together. Where sort keys tie, items are
    // matched by text and kind.
    HTREEITEM after = TVI_FIRST;
    const auto insert = [&](const Wanted& want) {
        if (HTREEITEM h = InsertEntry(hFolder, after, searchRoot, *want.entry))
            after = h;
    };
    size_t i = 0, j = 0;
    while (i < wanted.size() || j < shown.size()) {
        if (j == shown.size() || (i < wanted.size() && wanted[i].key < shown[j].key)) {
            insert(wanted[i++]);
            continue;
        }
        if (i == wanted.size() || shown[j].key < wanted[i].key) {
            DeleteKeepingPlace(shown[j++].item, anchors);
            continue;
        }
        size_t iEnd = i, jEnd = j;
        while (iEnd < wanted.size() && wanted[iEnd].key == wanted[i].key)
            ++iEnd;
        while (jEnd < shown.size() && shown[jEnd].key == shown[j].key)
            ++jEnd;
        for (; i < iEnd; ++i) {
            size_t match = j;
            while (match < jEnd && (shown[match].text != wanted[i].text || shown[match].kind != wanted[i].entry->kind))
                ++match;
            if (match == jEnd) {
                insert(wanted[i]);
                continue;
            }
            while (j < match)
                DeleteKeepingPlace(shown[j++].item, anchors);
            after = shown[j].item;
            // A collapsed folder keeps no watch; its button follows what the parent was told.
            if (shown[j].kind == kindFolder && m_watches.count(after) == 0 && named(wanted[i].entry->name))
                UpdateButton(after, EntryPath(searchRoot, *wanted[i].entry));
            ++j;
        }
        while (j < jEnd)
            DeleteKeepingPlace(shown[j++].item, anchors);
    }
    // An expanded folder that was empty shows what came into it.
    if (hFolder != TVI_ROOT && GetChildItem(hFolder) != nullptr && !(GetItemState(hFolder, TVIS_EXPANDED) & TVIS_EXPANDED))
        SetItemState(hFolder, TVIS_EXPANDED, TVIS_EXPANDED);
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
