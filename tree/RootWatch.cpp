#include "tree/RootWatch.h"
#include <windows.h>

namespace {
bool SameName(const std::wstring& a, const std::wstring& b)
{
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                  TRUE) == CSTR_EQUAL;
}
} // namespace

CRootWatch::Way CRootWatch::SystemWay()
{
    // Wine names itself by this export; Windows' ntdll has none.
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr ? Way::PerFolder : Way::Subtree;
}

CRootWatch::CRootWatch(const std::wstring& root, Callback onChange, Way way)
    : m_way(way), m_root(root), m_onChange(std::move(onChange))
{
    if (m_root.empty() || m_root.back() != L'\\')
        m_root += L'\\';
    if (m_way == Way::Subtree)
        m_rootWatch = std::make_unique<CFolderWatch>(
            m_root, [this](const FolderChange& change) { OnSubtreeChange(change); }, true);
    else
        m_rootWatch = std::make_unique<CFolderWatch>(
            m_root, [this](const FolderChange& change) { OnFolderChange(std::wstring(), change); });

    // The root's own watch cannot see the root deleted, moved away or made again: its parent's
    // can. A handle there locks nothing the root's own handle does not already lock.
    std::wstring parent = m_root;
    while (!parent.empty() && parent.back() == L'\\')
        parent.pop_back();
    const size_t slash = parent.rfind(L'\\');
    if (slash == std::wstring::npos)
        return; // a drive's root
    m_name = parent.substr(slash + 1);
    parent.resize(slash + 1);
    m_parentWatch = std::make_unique<CFolderWatch>(parent, [this](const FolderChange& change) { OnParentChange(change); });
}

CRootWatch::~CRootWatch() = default;

void CRootWatch::LeaveToProcessEnd()
{
    for (CFolderWatch* watch : {m_rootWatch.get(), m_parentWatch.get()})
        if (watch != nullptr)
            watch->LeaveToProcessEnd();
    for (const auto& [folder, watch] : m_folders)
        watch->LeaveToProcessEnd();
}

bool CRootWatch::WatchesRoot() const
{
    return m_rootWatch->Watches(m_root);
}

bool CRootWatch::Watch(const std::wstring& folder)
{
    if (m_way == Way::Subtree || folder.empty())
        return m_rootWatch->Active();
    if (m_folders.count(folder) != 0)
        return true;
    auto watch = std::make_unique<CFolderWatch>(
        m_root + folder, [this, folder](const FolderChange& change) { OnFolderChange(folder, change); });
    if (!watch->Active())
        return false;
    m_folders.emplace(folder, std::move(watch));
    return true;
}

void CRootWatch::Unwatch(const std::wstring& folder)
{
    m_folders.erase(folder);
}

void CRootWatch::OnFolderChange(const std::wstring& folder, const FolderChange& change)
{
    RootChange report{RootChange::Kind::Folder, folder, change};
    if (folder.empty() && change.ended)
        report = {RootChange::Kind::Root, {}, {}};
    else if (change.ended)
        m_folders.erase(folder); // its watch is done; Watch() may start another
    Report(report);
}

void CRootWatch::OnSubtreeChange(const FolderChange& change)
{
    std::vector<RootChange> reports;
    if (change.ended)
        reports.push_back({RootChange::Kind::Root, {}, {}});
    else if (change.overflow)
        reports.push_back({RootChange::Kind::Anything, {}, {}});
    else
        reports = ChangesByFolder(change);
    const Callback onChange = m_onChange; // the first report may end this watch
    for (const RootChange& report : reports)
        onChange(report);
}

void CRootWatch::OnParentChange(const FolderChange& change)
{
    bool root = change.overflow || change.ended;
    for (const std::wstring& name : change.names)
        root = root || SameName(name, m_name);
    if (root)
        Report({RootChange::Kind::Root, {}, {}});
}

void CRootWatch::Report(const RootChange& change) const
{
    // Last, through a copy: the callback may end this watch.
    const Callback onChange = m_onChange;
    onChange(change);
}

std::vector<RootChange> ChangesByFolder(const FolderChange& subtreeChange)
{
    std::vector<RootChange> reports;
    for (size_t i = 0; i < subtreeChange.names.size(); ++i) {
        const std::wstring& path = subtreeChange.names[i];
        const size_t slash = path.rfind(L'\\');
        std::wstring folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
        if (reports.empty() || reports.back().folder != folder)
            reports.push_back({RootChange::Kind::Folder, std::move(folder), {}});
        FolderChange& change = reports.back().change;
        change.names.push_back(slash == std::wstring::npos ? path : path.substr(slash + 1));
        change.actions.push_back(i < subtreeChange.actions.size() ? subtreeChange.actions[i] : ChangeAction::Modified);
    }
    return reports;
}
