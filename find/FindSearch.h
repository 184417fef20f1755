// One search over a FindTable: every live entry that the query finds, ranked by the rule in
// find/FindQuery.h. One pass over the table for each part, in id order, so that each folder's
// best match is known before what it holds; no allocation once the scratch has grown to the
// table's size. Keep one FindSearch and run it at every key.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>
#include "find/FindQuery.h"
#include "find/FindTable.h"

struct FindHit {
    FindTable::Id entry;
    std::uint64_t rank; // the larger first; equal ranks in id order
};

class FindSearch {
public:
    // The first `limit` hits, best first, into hits; returns how many entries were found in all.
    std::size_t Run(const FindTable& table, const FindQuery& query, std::size_t limit, std::vector<FindHit>& hits);

private:
    std::vector<std::uint8_t> found_;      // still matches every part so far
    std::vector<std::uint8_t> pathTier_;   // a folder's best tier of this part in itself and its folders
    std::vector<std::uint16_t> depth_;     // folders between the root and the entry
    std::vector<std::uint16_t> value_;     // sum of the parts' values
    std::vector<std::uint32_t> runs_;      // sum of the parts' runs
};
