// CSearchIndex: every entry under the root, as the tree would list it, in a few flat arrays:
// one buffer of names and per entry its name's start, its parent and its kind. A name whose
// folded form is the same text (most ASCII names) is kept once, in the matcher's table. It is
// built and kept up with the disk in slices of a few milliseconds, so the thread that owns it
// never stops answering.
#pragma once
#include <windows.h>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>
#include "find/FindTable.h"
#include "framework/Handles.h"
#include "tree/FolderEntry.h"

class CSearchIndex {
public:
    static constexpr std::uint32_t kRoot = 0; // entry 0 stands for the root folder itself
    static constexpr std::uint32_t kNone = UINT32_MAX;

    // Forgets everything and starts listing root (absolute, any trailing backslash).
    void Reset(const std::wstring& root);
    // Does the listing, relisting and checking waiting, for about budgetMs; true while some
    // is left.
    bool Step(double budgetMs);
    // Compares each indexed folder's last-write time with the disk, a slice at a time
    // through Step, and relists those that changed: under Wine only a watch of one folder
    // fires, and a watch per folder would lock the user's folders on Windows.
    void CheckForChanges();
    // A folder below the root (relative, "" for the root) changed or went: it is relisted.
    void FolderChanged(std::wstring_view relative);
    // The root itself changed (made again, say): it is checked from the top.
    void RootChanged();

    bool Building() const { return m_building; }
    bool Busy() const { return m_listing.folder != kNone || !m_queue.empty() || m_sweep < m_folders.size(); }
    // Grows whenever entries come or go, so that held results are known to be old.
    std::uint64_t Generation() const { return m_generation; }
    const std::wstring& Root() const { return m_root; }

    // Entries are numbered 1 .. Slots() - 1; a number stays valid until the next Step.
    std::uint32_t Slots() const { return static_cast<std::uint32_t>(m_parent.size()); }
    bool IsLive(std::uint32_t entry) const { return entry != kRoot && !(m_flags[entry] & kDead); }
    std::uint32_t LiveCount() const { return m_live; }
    std::u16string_view Name(std::uint32_t entry) const
    {
        if (m_flags[entry] & kNameInTable)
            return m_flags[entry] & kDead ? std::u16string_view(m_deadNames.at(entry)) : m_table.Folded(entry - 1);
        return {m_names.data() + m_nameStart[entry], m_nameStart[entry + 1] - m_nameStart[entry]};
    }
    std::uint32_t Parent(std::uint32_t entry) const { return m_parent[entry]; }
    ItemKind Kind(std::uint32_t entry) const { return static_cast<ItemKind>(m_flags[entry] & kKindMask); }
    // The entry's folder below the root, "" at the top level; its path below the root.
    std::wstring FolderBelowRoot(std::uint32_t entry) const;
    std::wstring RelativePath(std::uint32_t entry) const;
    std::wstring FullPath(std::uint32_t entry) const;
    // The entry at a path below the root, by names without regard to case, or kNone.
    std::uint32_t Find(std::wstring_view relative) const;

    // The matcher's folded names: table id i is entry i + 1.
    const FindTable& Table() const { return m_table; }
    static std::uint32_t EntryOf(FindTable::Id id) { return id + 1; }

    // What the index holds beyond its live names' own bytes (the matcher's table and the
    // folded names that differ from theirs included), and those names' bytes.
    std::size_t OverheadBytes() const;
    std::size_t NameBytes() const;

private:
    enum Flags : std::uint8_t { kKindMask = 0x3, kNameInTable = 0x20, kDead = 0x80 };
    struct Folder {
        std::uint32_t entry;
        FILETIME lastWrite;
    };
    // The folder being listed, kept across slices: a folder of 100,000 files takes longer
    // than one slice.
    struct Listing {
        std::uint32_t folder = kNone;
        UniqueFindHandle find;
        WIN32_FIND_DATAW data{};
        bool more = false;
        std::vector<std::uint32_t> known; // its entries from before, relisted
        std::vector<bool> seen;
    };

    std::uint32_t Add(std::uint32_t parent, std::u16string_view name, std::uint8_t flags, const FILETIME& lastWrite);
    // Keeps a new entry's name in names unless table's folded form of it is the same text.
    static void KeepName(const FindTable& table, FindTable::Id id, std::u16string_view name,
                         std::vector<char16_t>& names, std::uint8_t& flags);
    Folder* FolderRecord(std::uint32_t entry);
    void Queue(std::uint32_t folder, bool first);
    void BeginListing(std::uint32_t folder);
    // One entry of the listing taken in; false once the listing is done.
    bool ListOne();
    void EndListing();
    void CheckOne();
    // Entries under a dead folder die too; when most slots are dead they are dropped.
    void Bury();
    void Kill(std::uint32_t entry);
    void Compact();

    std::wstring m_root;
    FindTable m_table;
    std::vector<char16_t> m_names; // the names the table does not hold as they are
    // The names of dead entries the table held, until their slots are dropped.
    std::unordered_map<std::uint32_t, std::u16string> m_deadNames;
    std::vector<std::uint32_t> m_nameStart{0}; // entry i's name is [start[i], start[i + 1])
    std::vector<std::uint32_t> m_parent;
    std::vector<std::uint8_t> m_flags;
    std::vector<Folder> m_folders; // ascending by entry
    std::deque<std::uint32_t> m_queue; // folders to list: relists in front
    Listing m_listing;
    std::size_t m_sweep = SIZE_MAX; // the next folder a check looks at
    std::uint32_t m_live = 0;
    std::uint32_t m_dead = 0;
    std::uint64_t m_generation = 0;
    bool m_building = false;
};
