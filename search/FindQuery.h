// CFindQuery: the entries of the index a query finds, best first. Every blank-separated part
// of the query must match the entry's name or the name of one of its folders below the root;
// a match in the name counts more, and a deeper entry ranks after a shallower one.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>
#include "search/SearchIndex.h"

struct FindResult {
    std::uint32_t entry;
    int score;
};

class CFindQuery {
public:
    // At most this many results are ranked and shown; the rest are only counted.
    static constexpr std::size_t kShown = 500;

    // The best results for text, best first. A text that extends the last one over the same
    // index looks only at what the last one found: typing narrows.
    const std::vector<FindResult>& Run(const CSearchIndex& index, std::u16string_view text);
    const std::vector<FindResult>& Results() const { return m_results; }
    // How many entries the last text matched in all.
    std::size_t Total() const { return m_matches.size(); }
    // The next Run looks at the whole index again.
    void Forget() { m_text.clear(); m_matches.clear(); m_results.clear(); }

private:
    bool InFolders(const CSearchIndex& index, std::size_t part, std::uint32_t folder);

    std::u16string m_text;
    std::uint64_t m_generation = 0;
    std::vector<std::u16string> m_parts;
    std::vector<std::vector<std::int8_t>> m_folderHits; // per part, per entry: -1 not known yet
    std::vector<FindResult> m_matches;
    std::vector<FindResult> m_results;
};

// Splits a query at blanks (the ideographic space too); empty parts are dropped.
std::vector<std::u16string> QueryParts(std::u16string_view text);
// How well a part matches a name: -1 for no match, higher for a better one.
int MatchPart(std::u16string_view part, std::u16string_view name);
