// The floor of finding: every entry under a root in one buffer of names, read by the bare
// walk (FindFirstFileExW with basic information and a large fetch, each folder listed whole
// before the next), and a search over it by the find rule as it reads where every name is
// ASCII, written apart from Fernwick's matcher: no folding beyond ASCII case, no romaji (it
// finds only kana), the same tiers, runs and order. The walk alone is the floor of the index.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class FloorFind {
public:
    static constexpr std::uint32_t kTop = UINT32_MAX; // the folder of the root's own entries

    // root: absolute, without a trailing backslash.
    explicit FloorFind(const std::wstring& root);

    std::size_t Size() const { return m_parent.size(); }
    std::size_t NameUnits() const { return m_names.size(); }
    std::wstring_view Name(std::uint32_t entry) const
    {
        return {m_names.data() + m_start[entry], m_start[entry + 1] - m_start[entry]};
    }
    bool IsFolder(std::uint32_t entry) const { return m_folder[entry] != 0; }
    std::uint32_t Parent(std::uint32_t entry) const { return m_parent[entry]; }
    const std::wstring& Root() const { return m_root; }
    std::wstring FolderBelowRoot(std::uint32_t entry) const;
    std::wstring RelativePath(std::uint32_t entry) const;
    // Whether the search's rule holds here: every name ASCII.
    bool AsciiOnly() const;

    // The best `limit` entries for an ASCII query, best first, into best; how many it finds
    // in all. A query that goes on the last one only looks again at what that one found.
    std::size_t Search(std::wstring_view query, std::size_t limit, std::vector<std::uint32_t>& best);

private:
    struct Match {
        unsigned tier = 0; // 0 none, 1 subsequence .. 6 the whole name
        unsigned runs = 0;
    };
    static Match MatchPart(std::wstring_view part, std::wstring_view name);

    std::wstring m_root;
    std::vector<wchar_t> m_names;
    std::vector<std::uint32_t> m_start{0}; // entry i's name: [m_start[i], m_start[i + 1])
    std::vector<std::uint32_t> m_parent;
    std::vector<std::uint8_t> m_folder;
    // The search's scratch, one slot an entry.
    std::vector<std::wstring> m_lastParts;
    std::vector<std::uint8_t> m_candidate, m_pathTier;
    std::vector<std::uint16_t> m_depth;
    std::vector<std::uint32_t> m_value, m_runs;
};
