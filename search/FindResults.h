// CFindResults: the entries of the index a query finds, best first, by the matcher's rule
// (find/FindQuery.h).
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>
#include "find/FindSearch.h"
#include "search/SearchIndex.h"

class CFindResults {
public:
    // At most this many results are ranked and shown; the rest are only counted.
    static constexpr std::size_t kShown = 500;

    // The best entries for text, best first.
    const std::vector<std::uint32_t>& Run(const CSearchIndex& index, std::u16string_view text);
    const std::vector<std::uint32_t>& Entries() const { return m_entries; }
    // How many entries the last text found in all.
    std::size_t Total() const { return m_total; }
    void Clear()
    {
        m_entries.clear();
        m_total = 0;
    }

private:
    FindSearch m_search;
    std::vector<FindHit> m_hits;
    std::vector<std::uint32_t> m_entries;
    std::size_t m_total = 0;
};
