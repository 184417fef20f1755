#include "search/FindResults.h"
#include "find/FindQuery.h"

const std::vector<std::uint32_t>& CFindResults::Run(const CSearchIndex& index, std::u16string_view text)
{
    m_total = m_search.Run(index.Table(), FindQuery(text), kShown, m_hits);
    m_entries.clear();
    for (const FindHit& hit : m_hits)
        m_entries.push_back(CSearchIndex::EntryOf(hit.entry));
    return m_entries;
}
