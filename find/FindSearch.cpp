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
    if (query.Empty())
        return 0;
    const std::size_t n = table.Size();
    found_.assign(n, 0);
    pathTier_.assign(n, 0);
    depth_.assign(n, 0);
    value_.assign(n, 0);
    runs_.assign(n, 0);
    for (FindTable::Id e = 0; e < n; ++e)
        if (table.Live(e)) {
            found_[e] = 1;
            const FindTable::Id folder = table.Folder(e);
            depth_[e] = folder == FindTable::kRoot ? 0 : static_cast<std::uint16_t>(std::min(depth_[folder] + 1, 0xFFFF));
        }
    for (std::size_t part = 0; part < query.Parts(); ++part)
        for (FindTable::Id e = 0; e < n; ++e) {
            // A folder that no longer matches is still walked: what it holds may match in it.
            const bool isFolder = (found_[e] || table.Live(e)) && table.IsFolder(e);
            if (!found_[e] && !isFolder)
                continue;
            const FindTable::Id folder = table.Folder(e);
            const unsigned above = folder == FindTable::kRoot ? 0 : pathTier_[folder];
            const FindMatch match = query.MatchPart(part, table.Folded(e), table.HasKana(e));
            const auto tier = static_cast<unsigned>(match.tier);
            if (isFolder)
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
    const std::size_t total = hits.size();
    const auto better = [](const FindHit& a, const FindHit& b) { return a.rank > b.rank || (a.rank == b.rank && a.entry < b.entry); };
    const std::size_t kept = std::min(limit, total);
    std::partial_sort(hits.begin(), hits.begin() + static_cast<std::ptrdiff_t>(kept), hits.end(), better);
    hits.resize(kept);
    return total;
}
