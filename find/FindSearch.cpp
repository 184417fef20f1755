#include "find/FindSearch.h"
#include <algorithm>

namespace {
std::uint64_t Rank(unsigned value, std::uint32_t runs, unsigned depth, std::size_t length)
{
    const auto low = [](std::uint64_t x) { return 0xFFFF - std::min<std::uint64_t>(x, 0xFFFF); };
    return std::uint64_t{value} << 48 | low(runs) << 32 | low(depth) << 16 | low(length);
}
} // namespace

std::size_t FindSearch::Run(const FindTable& table, const FindQuery& query, std::size_t limit, std::vector<FindHit>& hits)
{
    hits.clear();
    const bool narrows = Narrows(table, query);
    table_ = nullptr;
    if (query.Empty())
        return 0;
    const std::size_t n = table.Size();
    if (!narrows)
        found_.assign(n, 1);
    pathTier_.assign(n, 0);
    depth_.assign(n, 0);
    value_.assign(n, 0);
    runs_.assign(n, 0);
    for (FindTable::Id e = 0; e < n; ++e)
        if (!table.Live(e)) {
            found_[e] = 0;
        } else {
            const FindTable::Id folder = table.Folder(e);
            depth_[e] = folder == FindTable::kRoot ? 0 : static_cast<std::uint16_t>(std::min(depth_[folder] + 1, 0xFFFF));
        }
    for (std::size_t part = 0; part < query.Parts(); ++part)
        for (FindTable::Id e = 0; e < n; ++e) {
            // A folder that no longer matches is still walked: what it holds may match in it.
            if (!found_[e] && !(table.Live(e) && table.IsFolder(e)))
                continue;
            const FindTable::View entry = table.Get(e);
            const unsigned above = entry.folder == FindTable::kRoot ? 0 : pathTier_[entry.folder];
            const FindMatch match = query.MatchPart(part, entry.folded, entry.hasKana);
            const auto tier = static_cast<unsigned>(match.tier);
            if (entry.isFolder)
                pathTier_[e] = static_cast<std::uint8_t>(std::max(tier, above));
            if (!found_[e])
                continue;
            if (tier == 0 && above == 0) {
                found_[e] = 0;
                continue;
            }
            const bool byName = 2 * tier >= above;
            value_[e] = static_cast<std::uint16_t>(value_[e] + (byName ? 2 * tier : above));
            runs_[e] += byName ? match.runs : 1;
        }
    for (FindTable::Id e = 0; e < n; ++e)
        if (found_[e])
            hits.push_back({e, Rank(value_[e], runs_[e], depth_[e], table.Folded(e).size())});
    table_ = &table;
    version_ = table.Version();
    keys_.assign(query.Parts(), {});
    for (std::size_t part = 0; part < query.Parts(); ++part)
        keys_[part] = query.Keys(part);
    const std::size_t total = hits.size();
    const auto better = [](const FindHit& a, const FindHit& b) { return a.rank > b.rank || (a.rank == b.rank && a.entry < b.entry); };
    const std::size_t kept = std::min(limit, total);
    std::partial_sort(hits.begin(), hits.begin() + static_cast<std::ptrdiff_t>(kept), hits.end(), better);
    hits.resize(kept);
    return total;
}

bool FindSearch::Narrows(const FindTable& table, const FindQuery& query) const
{
    if (table_ != &table || version_ != table.Version() || found_.size() != table.Size() || query.Parts() < keys_.size())
        return false;
    for (std::size_t part = 0; part < keys_.size(); ++part)
        if (query.Keys(part).substr(0, keys_[part].size()) != keys_[part])
            return false;
    return true;
}
