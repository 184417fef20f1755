#include "search/SearchIndex.h"
#include <algorithm>

namespace {
constexpr std::uint8_t kListed = 0x40; // a folder whose entries are in: a relist compares with them
// Entries read between two looks at the clock: one look costs about as much as one entry.
constexpr int kEntriesPerLook = 64;
constexpr int kChecksPerLook = 8;
// About 150 MB of index: entries past it are left out, and not found.
constexpr std::uint32_t kMaxEntries = 2000000;

double NowMs()
{
    LARGE_INTEGER count, frequency;
    ::QueryPerformanceCounter(&count);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

bool IsDots(const wchar_t* name)
{
    return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

bool EndsWithNoCase(std::wstring_view name, std::wstring_view ending)
{
    return name.size() >= ending.size() &&
           ::CompareStringOrdinal(name.data() + name.size() - ending.size(), static_cast<int>(ending.size()),
                                  ending.data(), static_cast<int>(ending.size()), TRUE) == CSTR_EQUAL;
}

// The tree's kind of a file: only a name ending ".lnk" or ".url" needs the code page's
// rules, which decide whether the extension stands apart.
ItemKind KindOfName(const wchar_t* name, std::uint32_t attributes)
{
    const std::wstring_view view(name);
    if ((attributes & kAttributeDirectory) || !(EndsWithNoCase(view, L".lnk") || EndsWithNoCase(view, L".url")))
        return KindOfEntry({}, attributes);
    const int size = ::WideCharToMultiByte(932, 0, name, -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(size > 0 ? size : 1), '\0');
    ::WideCharToMultiByte(932, 0, name, -1, ansi.data(), size, nullptr, nullptr);
    ansi.pop_back();
    return KindOfEntry(ansi, attributes);
}

bool SameTime(const FILETIME& a, const FILETIME& b)
{
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

std::wstring Wide(std::u16string_view text)
{
    return {text.begin(), text.end()};
}
} // namespace

void CSearchIndex::Reset(const std::wstring& root)
{
    m_root = root;
    if (!m_root.empty() && m_root.back() != L'\\')
        m_root += L'\\';
    m_table = {};
    m_names.clear();
    m_deadNames.clear();
    m_nameStart.assign(1, 0);
    m_parent.clear();
    m_flags.clear();
    m_folders.clear();
    m_queue.clear();
    m_listing = {};
    m_live = m_dead = 0;
    Add(kNone, {}, kindFolder, {});
    m_live = 0; // the root is no entry of its own
    m_sweep = SIZE_MAX;
    ++m_generation;
    m_building = !m_root.empty();
    if (m_building)
        Queue(kRoot, false);
}

std::uint32_t CSearchIndex::Add(std::uint32_t parent, std::u16string_view name, std::uint8_t flags,
                                const FILETIME& lastWrite)
{
    const auto entry = static_cast<std::uint32_t>(m_parent.size());
    const bool folder = (flags & kKindMask) == kindFolder;
    if (entry != kRoot)
        KeepName(m_table, m_table.Add(name, parent == kRoot ? FindTable::kRoot : parent - 1, folder), name, m_names,
                 flags);
    m_nameStart.push_back(static_cast<std::uint32_t>(m_names.size()));
    m_parent.push_back(parent);
    m_flags.push_back(flags);
    if (folder)
        m_folders.push_back({entry, lastWrite});
    ++m_live;
    return entry;
}

void CSearchIndex::KeepName(const FindTable& table, FindTable::Id id, std::u16string_view name,
                            std::vector<char16_t>& names, std::uint8_t& flags)
{
    if (table.Live(id) && table.Folded(id) == name) {
        flags |= kNameInTable;
        return;
    }
    flags &= static_cast<std::uint8_t>(~kNameInTable);
    names.insert(names.end(), name.begin(), name.end());
}

CSearchIndex::Folder* CSearchIndex::FolderRecord(std::uint32_t entry)
{
    const auto it = std::lower_bound(m_folders.begin(), m_folders.end(), entry,
                                     [](const Folder& folder, std::uint32_t e) { return folder.entry < e; });
    return it != m_folders.end() && it->entry == entry ? &*it : nullptr;
}

void CSearchIndex::Queue(std::uint32_t folder, bool first)
{
    if (first)
        m_queue.push_front(folder);
    else
        m_queue.push_back(folder);
}

void CSearchIndex::CheckForChanges()
{
    if (!m_root.empty() && m_sweep >= m_folders.size())
        m_sweep = 0;
}

void CSearchIndex::RootChanged()
{
    if (m_root.empty())
        return;
    Queue(kRoot, true);
    CheckForChanges();
}

void CSearchIndex::FolderChanged(std::wstring_view relative)
{
    if (m_root.empty())
        return;
    // A folder the index lacks (made or removed) changed its parent: that one is relisted.
    std::wstring path(relative);
    while (!path.empty() && path.back() == L'\\')
        path.pop_back();
    for (;;) {
        const std::uint32_t entry = Find(path);
        if (entry != kNone && Kind(entry) == kindFolder) {
            Queue(entry, true);
            return;
        }
        const size_t slash = path.rfind(L'\\');
        path.resize(slash == std::wstring::npos ? 0 : slash);
    }
}

std::uint32_t CSearchIndex::Find(std::wstring_view relative) const
{
    std::uint32_t current = kRoot;
    size_t start = 0;
    while (start < relative.size()) {
        const size_t end = std::min(relative.find(L'\\', start), relative.size());
        const std::wstring_view component = relative.substr(start, end - start);
        start = end + 1;
        if (component.empty())
            continue;
        std::uint32_t found = kNone;
        for (std::uint32_t e = current + 1; e < Slots() && found == kNone; ++e) {
            if (m_parent[e] != current || !IsLive(e))
                continue;
            const std::wstring name = Wide(Name(e));
            if (::CompareStringOrdinal(name.data(), static_cast<int>(name.size()), component.data(),
                                       static_cast<int>(component.size()), TRUE) == CSTR_EQUAL)
                found = e;
        }
        if (found == kNone)
            return kNone;
        current = found;
    }
    return current;
}

std::wstring CSearchIndex::FolderBelowRoot(std::uint32_t entry) const
{
    std::vector<std::uint32_t> chain;
    for (std::uint32_t e = m_parent[entry]; e != kRoot && e != kNone; e = m_parent[e])
        chain.push_back(e);
    std::wstring path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (!path.empty())
            path += L'\\';
        path += Wide(Name(*it));
    }
    return path;
}

std::wstring CSearchIndex::RelativePath(std::uint32_t entry) const
{
    if (entry == kRoot)
        return {};
    std::wstring folder = FolderBelowRoot(entry);
    return folder.empty() ? Wide(Name(entry)) : folder + L'\\' + Wide(Name(entry));
}

std::wstring CSearchIndex::FullPath(std::uint32_t entry) const
{
    return m_root + RelativePath(entry);
}

std::size_t CSearchIndex::OverheadBytes() const
{
    return m_nameStart.capacity() * sizeof(std::uint32_t) + m_parent.capacity() * sizeof(std::uint32_t) +
           m_flags.capacity() + m_folders.capacity() * sizeof(Folder) + m_names.capacity() * sizeof(char16_t) +
           m_table.Bytes() - NameBytes();
}

std::size_t CSearchIndex::NameBytes() const
{
    std::size_t units = 0;
    for (std::uint32_t e = 1; e < Slots(); ++e)
        if (IsLive(e))
            units += Name(e).size();
    return units * sizeof(char16_t);
}

bool CSearchIndex::Step(double budgetMs)
{
    const double deadline = NowMs() + budgetMs;
    do {
        if (m_listing.folder != kNone) {
            for (int i = 0; i < kEntriesPerLook && m_listing.folder != kNone; ++i)
                if (!ListOne())
                    EndListing();
        } else if (!m_queue.empty()) {
            const std::uint32_t folder = m_queue.front();
            m_queue.pop_front();
            if (folder == kRoot || IsLive(folder))
                BeginListing(folder);
        } else if (m_sweep < m_folders.size()) {
            for (int i = 0; i < kChecksPerLook && m_sweep < m_folders.size(); ++i)
                CheckOne();
        } else {
            break;
        }
    } while (NowMs() < deadline);
    if (m_building && m_listing.folder == kNone && m_queue.empty()) {
        m_building = false;
        // Grown by doubling while it was built; from now on it changes little.
        m_names.shrink_to_fit();
        m_nameStart.shrink_to_fit();
        m_parent.shrink_to_fit();
        m_flags.shrink_to_fit();
        m_folders.shrink_to_fit();
        m_table.ShrinkToFit();
    }
    return Busy();
}

void CSearchIndex::BeginListing(std::uint32_t folder)
{
    Listing& listing = m_listing;
    listing.folder = folder;
    const std::wstring path = FullPath(folder);
    // Its time from before the listing: a change during it shows at the next check.
    if (folder == kRoot || (m_flags[folder] & kListed)) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (Folder* record = FolderRecord(folder); record != nullptr)
            record->lastWrite = ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ? data.ftLastWriteTime
                                                                                                   : FILETIME{};
    }
    if (m_flags[folder] & kListed) {
        for (std::uint32_t e = folder + 1; e < Slots(); ++e)
            if (m_parent[e] == folder && IsLive(e))
                listing.known.push_back(e);
        std::sort(listing.known.begin(), listing.known.end(),
                  [this](std::uint32_t a, std::uint32_t b) { return Name(a) < Name(b); });
        listing.seen.assign(listing.known.size(), false);
    }
    // The tree lists no longer path either: no ANSI call could open what is below.
    const std::wstring pattern = path + (path.back() == L'\\' ? L"*" : L"\\*");
    if (pattern.size() < MAX_PATH)
        listing.find.reset(::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &listing.data, FindExSearchNameMatch,
                                              nullptr, FIND_FIRST_EX_LARGE_FETCH));
    listing.more = static_cast<bool>(listing.find);
}

bool CSearchIndex::ListOne()
{
    Listing& listing = m_listing;
    if (!listing.more)
        return false;
    const WIN32_FIND_DATAW& data = listing.data;
    const std::uint32_t attributes = data.dwFileAttributes;
    // The rule looks at the name only for "." and "..", which never come this far.
    if (!IsDots(data.cFileName) && IsListed("*", attributes, ListingRule::Tree)) {
        const std::wstring_view wide(data.cFileName);
        const std::u16string name(wide.begin(), wide.end());
        const ItemKind kind = KindOfName(data.cFileName, attributes);
        const auto it = std::lower_bound(listing.known.begin(), listing.known.end(), name,
                                         [this](std::uint32_t e, const std::u16string& n) { return Name(e) < n; });
        if (it != listing.known.end() && Name(*it) == name && (Kind(*it) == kindFolder) == (kind == kindFolder)) {
            listing.seen[static_cast<size_t>(it - listing.known.begin())] = true;
            // A folder whose own time moved changed inside: relisted without waiting for a check.
            if (const Folder* record = FolderRecord(*it); record != nullptr && !SameTime(record->lastWrite, data.ftLastWriteTime))
                Queue(*it, true);
        } else if (Slots() < kMaxEntries) {
            const std::uint32_t entry = Add(listing.folder, name, static_cast<std::uint8_t>(kind), data.ftLastWriteTime);
            if (kind == kindFolder)
                Queue(entry, false);
            ++m_generation;
        }
    }
    listing.more = ::FindNextFileW(listing.find.get(), &listing.data) != FALSE;
    return listing.more;
}

void CSearchIndex::EndListing()
{
    const std::uint32_t folder = m_listing.folder;
    m_flags[folder] |= kListed;
    bool died = false;
    for (size_t i = 0; i < m_listing.known.size(); ++i) {
        if (!m_listing.seen[i]) {
            Kill(m_listing.known[i]);
            died = true;
        }
    }
    m_listing = {};
    if (died) {
        ++m_generation;
        Bury();
    }
}

void CSearchIndex::CheckOne()
{
    const Folder folder = m_folders[m_sweep++];
    if (folder.entry != kRoot && !IsLive(folder.entry))
        return;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(FullPath(folder.entry).c_str(), GetFileExInfoStandard, &data) ||
        !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !SameTime(data.ftLastWriteTime, folder.lastWrite))
        Queue(folder.entry, true);
}

void CSearchIndex::Bury()
{
    // A parent always comes before its entries.
    for (std::uint32_t e = 1; e < Slots(); ++e) {
        if (!(m_flags[e] & kDead) && (m_flags[m_parent[e]] & kDead))
            Kill(e);
    }
    if (m_dead > m_live / 2 + 4096)
        Compact();
}

void CSearchIndex::Kill(std::uint32_t entry)
{
    // A result still shown may name it until it is found again.
    if (m_flags[entry] & kNameInTable)
        m_deadNames.emplace(entry, Name(entry));
    m_flags[entry] |= kDead;
    m_table.Remove(entry - 1);
    --m_live;
    ++m_dead;
}

void CSearchIndex::Compact()
{
    std::vector<std::uint32_t> moved(Slots(), kNone);
    std::vector<char16_t> names;
    std::vector<std::uint32_t> starts{0}, parents;
    std::vector<std::uint8_t> flags;
    FindTable table;
    for (std::uint32_t e = 0; e < Slots(); ++e) {
        if (e != kRoot && (m_flags[e] & kDead))
            continue;
        moved[e] = static_cast<std::uint32_t>(parents.size());
        parents.push_back(e == kRoot ? kNone : moved[m_parent[e]]);
        flags.push_back(m_flags[e]);
        if (e != kRoot)
            KeepName(table,
                     table.Add(Name(e), parents.back() == kRoot ? FindTable::kRoot : parents.back() - 1,
                               (m_flags[e] & kKindMask) == kindFolder),
                     Name(e), names, flags.back());
        starts.push_back(static_cast<std::uint32_t>(names.size()));
    }
    std::vector<Folder> folders;
    const bool sweeping = m_sweep < m_folders.size();
    size_t sweep = 0;
    for (size_t i = 0; i < m_folders.size(); ++i) {
        if (moved[m_folders[i].entry] == kNone)
            continue;
        if (i < m_sweep)
            ++sweep;
        folders.push_back({moved[m_folders[i].entry], m_folders[i].lastWrite});
    }
    std::deque<std::uint32_t> queue;
    for (std::uint32_t folder : m_queue)
        if (moved[folder] != kNone)
            queue.push_back(moved[folder]);
    m_table = std::move(table);
    m_names = std::move(names);
    m_deadNames.clear();
    m_nameStart = std::move(starts);
    m_parent = std::move(parents);
    m_flags = std::move(flags);
    m_folders = std::move(folders);
    m_queue = std::move(queue);
    m_sweep = sweeping ? sweep : SIZE_MAX;
    m_dead = 0;
}
