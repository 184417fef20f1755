#include "find/FindQuery.h"
#include <algorithm>
#include "find/Folding.h"
#include "find/Romaji.h"

namespace {
bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == 0x3000;
}
} // namespace

FindQuery::FindQuery(std::u16string_view text)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size() && parts_.size() < kMaxParts; ++i)
        if (i == text.size() || IsBlank(text[i])) {
            if (i > start)
                AddPart(text.substr(start, i - start));
            start = i + 1;
        }
}

void FindQuery::AddPart(std::u16string_view text)
{
    Part part;
    FoldName(text, part.keys);
    for (char16_t& unit : part.keys)
        unit = FoldKey(unit);
    if (std::any_of(parts_.begin(), parts_.end(), [&part](const Part& p) { return p.keys == part.keys; }))
        return;
    for (const char16_t unit : part.keys)
        part.literal.Append(unit);
    part.romaji = RomajiToKana(part.keys, part.kana);
    parts_.push_back(std::move(part));
}

FindMatch FindQuery::MatchPart(std::size_t part, std::u16string_view folded, bool nameHasKana) const
{
    const Part& p = parts_[part];
    FindMatch best;
    if (nameHasKana || !p.literal.NeedsKana())
        best = p.literal.Match(folded);
    if (p.romaji && nameHasKana && best.tier != FindTier::Exact) {
        const FindMatch kana = p.kana.Match(folded);
        if (Better(kana, best))
            best = kana;
    }
    return best;
}
