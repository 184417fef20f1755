// The find matcher over any UTF-16 (the input's units, little-endian; a first U+000A parts the
// name from the query): folding is stable and never lengthens, the pieces of a name find it,
// romaji reads any ASCII without fault, and a search finds exactly the entries each part
// matches on their path, ranked the same way twice.
#include <algorithm>
#include <vector>
#include "FuzzCheck.h"
#include "find/FindQuery.h"
#include "find/FindSearch.h"
#include "find/FindTable.h"
#include "find/Folding.h"

namespace {
bool Lone(const std::u16string& s, std::size_t i)
{
    const bool high = s[i] >= 0xD800 && s[i] <= 0xDBFF, low = s[i] >= 0xDC00 && s[i] <= 0xDFFF;
    if (high)
        return !(i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF);
    return low && !(i > 0 && s[i - 1] >= 0xD800 && s[i - 1] <= 0xDBFF);
}

bool HasKana(const std::u16string& folded)
{
    return std::any_of(folded.begin(), folded.end(), IsKana);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::u16string units;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        units += static_cast<char16_t>(data[i] | data[i + 1] << 8);
    const std::size_t cut = std::min(units.find(u'\n'), units.size());
    const std::u16string name = units.substr(0, cut), query = units.substr(std::min(cut + 1, units.size()));

    std::u16string once, twice;
    FoldName(name, once);
    FoldName(once, twice);
    Require(twice == once, "folding a folded name changes nothing");
    Require(once.size() <= name.size(), "folding never lengthens");
    for (std::size_t i = 0; i < once.size(); ++i)
        Require(once[i] != 0xFFFF && once[i] != 0 && !Lone(once, i), "no U+FFFF, U+0000 or lone half in a folded name");

    const FindQuery self(name);
    for (std::size_t part = 0; part < self.Parts(); ++part)
        Require(self.MatchPart(part, once, HasKana(once)).tier >= FindTier::Substring, "each piece of a name finds it");

    // A small tree: the name in folders named by the query's pieces, and the pieces as files.
    FindTable table;
    std::vector<FindTable::Id> parent;
    FindTable::Id folder = FindTable::kRoot;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= query.size() && table.Size() < 16; ++i)
        if (i == query.size() || query[i] == u'/') {
            const std::u16string_view piece = std::u16string_view(query).substr(start, i - start);
            parent.push_back(folder);
            const FindTable::Id added = table.Add(piece, folder, true);
            parent.push_back(folder);
            table.Add(piece, folder, false);
            folder = added;
            start = i + 1;
        }
    parent.push_back(folder);
    table.Add(name, folder, false);

    const FindQuery q(query);
    FindSearch search;
    std::vector<FindHit> first, second;
    const std::size_t total = search.Run(table, q, table.Size(), first);
    Require(search.Run(table, q, table.Size(), second) == total && first.size() == second.size(), "the same count twice");
    for (std::size_t i = 0; i < first.size(); ++i)
        Require(first[i].entry == second[i].entry && first[i].rank == second[i].rank, "the same order twice");
    for (std::size_t i = 1; i < first.size(); ++i)
        Require(first[i - 1].rank > first[i].rank || (first[i - 1].rank == first[i].rank && first[i - 1].entry < first[i].entry),
                "best first, ties in id order");
    // Typed a key at a time: the beginning first, so that the search narrows what it found.
    FindSearch typing;
    std::vector<FindHit> narrowed;
    typing.Run(table, FindQuery(std::u16string_view(query).substr(0, query.size() / 2)), table.Size(), narrowed);
    Require(typing.Run(table, q, table.Size(), narrowed) == total, "typing finds what a fresh search finds");
    for (std::size_t i = 0; i < first.size(); ++i)
        Require(narrowed[i].entry == first[i].entry, "in the same order");

    std::vector<bool> hit(table.Size(), false);
    for (const FindHit& h : first)
        hit[h.entry] = true;
    for (FindTable::Id e = 0; e < table.Size(); ++e) {
        bool all = q.Parts() > 0;
        for (std::size_t part = 0; part < q.Parts() && all; ++part) {
            bool any = false;
            for (FindTable::Id on = e; on != FindTable::kRoot && !any; on = parent[on])
                any = q.MatchPart(part, table.Folded(on), table.HasKana(on)).tier != FindTier::None;
            all = any;
        }
        Require(hit[e] == all, "found exactly when every part matches the name or a folder above it");
    }
    return 0;
}
