#include "find/FindPattern.h"
#include "find/Folding.h"

namespace {
enum class Script { None, Letter, Digit, Kana, Kanji };

Script ScriptOf(char16_t c)
{
    if (static_cast<unsigned>(FoldKey(c) - u'a') < 26u || (c >= 0x00C0 && c <= 0x024F && c != 0x00D7 && c != 0x00F7) ||
        (c >= 0x0370 && c <= 0x052F))
        return Script::Letter;
    if (static_cast<unsigned>(c - u'0') < 10u)
        return Script::Digit;
    if (IsKana(c))
        return Script::Kana;
    if ((c >= 0x3005 && c <= 0x3007) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
        (c >= 0xF900 && c <= 0xFAFF))
        return Script::Kanji;
    return Script::None;
}

bool IsUpper(char16_t c)
{
    return static_cast<unsigned>(c - u'A') < 26u;
}

bool IsLower(char16_t c)
{
    return static_cast<unsigned>(c - u'a') < 26u;
}

bool IsHighSurrogate(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(char16_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}
} // namespace

bool Better(FindMatch a, FindMatch b)
{
    return a.tier > b.tier || (a.tier == b.tier && a.runs < b.runs);
}

bool IsWordStart(std::u16string_view folded, std::size_t i)
{
    if (i == 0)
        return true;
    const char16_t before = folded[i - 1], c = folded[i];
    if (before == u' ' || before == u'_' || before == u'-' || before == u'.')
        return true;
    if (IsUpper(c) && (IsLower(before) || (IsUpper(before) && i + 1 < folded.size() && IsLower(folded[i + 1]))))
        return true;
    const Script script = ScriptOf(c);
    return script != Script::None && script != ScriptOf(before);
}

void FindPattern::KanaSet::Add(char16_t kana)
{
    const unsigned at = kana - 0x30A0u;
    if (at < 128)
        bits[at / 64] |= std::uint64_t{1} << (at % 64);
}

bool FindPattern::KanaSet::Has(char16_t unit) const
{
    const unsigned at = unit - 0x30A0u;
    return at < 128 && (bits[at / 64] >> (at % 64) & 1) != 0;
}

void FindPattern::Append(char16_t key)
{
    units_ += key;
    sets_.emplace_back();
    needsKana_ = needsKana_ || IsKana(key);
    hasPairs_ = hasPairs_ || IsHighSurrogate(key);
}

void FindPattern::AppendAnyOf(const KanaSet& set)
{
    units_ += kAnyOf;
    sets_.push_back(set);
    needsKana_ = true;
}

FindMatch FindPattern::Match(std::u16string_view folded) const
{
    const std::size_t m = units_.size(), n = folded.size();
    if (m == 0 || m > n)
        return {};
    // Where the pattern first ends as a subsequence: most names fail here, in one pass.
    std::size_t end = n;
    if (hasPairs_) {
        std::size_t j = 0;
        for (std::size_t i = 0; i < n && end == n;) {
            const std::size_t width = IsHighSurrogate(folded[i]) && i + 1 < n ? 2 : 1;
            if (CharAccepts(folded, i, width, j) && (j += width) == m)
                end = i + width - 1;
            i += width;
        }
    } else {
        // Without a surrogate in the pattern no half of a pair in the name can be accepted.
        std::size_t j = 0;
        for (std::size_t i = 0; i < n; ++i)
            if (Accepts(j, FoldKey(folded[i])) && ++j == m) {
                end = i;
                break;
            }
    }
    if (end == n)
        return {};
    const FindTier substring = SubstringTier(folded);
    if (substring != FindTier::None)
        return {substring, 1};
    return SubsequenceTo(folded, end);
}

bool FindPattern::CharAccepts(std::u16string_view folded, std::size_t at, std::size_t width, std::size_t j) const
{
    if (width == 1)
        return Accepts(j, FoldKey(folded[at]));
    return j + 1 < units_.size() && units_[j] == folded[at] && units_[j + 1] == folded[at + 1];
}

bool FindPattern::AcceptsAt(std::u16string_view folded, std::size_t at) const
{
    for (std::size_t j = 0; j < units_.size(); ++j)
        if (!Accepts(j, FoldKey(folded[at + j])))
            return false;
    return true;
}

FindTier FindPattern::SubstringTier(std::u16string_view folded) const
{
    const std::size_t m = units_.size(), n = folded.size();
    FindTier best = FindTier::None;
    for (std::size_t at = 0; at + m <= n; ++at) {
        if (!AcceptsAt(folded, at))
            continue;
        if (at == 0)
            return m == n ? FindTier::Exact : FindTier::Prefix;
        if (IsWordStart(folded, at))
            return FindTier::WordSubstring;
        best = FindTier::Substring;
    }
    return best;
}

// Matched backwards from the unit where the pattern first ends, each character as late as it
// can be: the tightest match that ends there, and its runs.
FindMatch FindPattern::SubsequenceTo(std::u16string_view folded, std::size_t end) const
{
    std::size_t j = units_.size(), i = end + 1;
    std::size_t runStart = folded.size(); // where the match found last (the later one) starts
    unsigned runs = 0;
    bool wordRuns = true;
    while (j > 0 && i > 0) {
        const std::size_t width = i >= 2 && IsLowSurrogate(folded[i - 1]) && IsHighSurrogate(folded[i - 2]) ? 2 : 1;
        const std::size_t at = i - width;
        if (j >= width && CharAccepts(folded, at, width, j - width)) {
            if (runStart != i && runStart != folded.size()) {
                ++runs;
                wordRuns = wordRuns && IsWordStart(folded, runStart);
            }
            runStart = at;
            j -= width;
        }
        i = at;
    }
    ++runs;
    wordRuns = wordRuns && IsWordStart(folded, runStart);
    const bool initials = wordRuns || IsInitials(folded);
    return {initials ? FindTier::WordSubsequence : FindTier::Subsequence,
            static_cast<std::uint16_t>(runs < 0xFFFF ? runs : 0xFFFF)};
}

// Whether some subsequence match has every run start a word ("mwd" in "My Word Doc"), for a
// pattern of 64 units at most: bit j of a mask stands for the first j units matched.
bool FindPattern::IsInitials(std::u16string_view folded) const
{
    const std::size_t m = units_.size();
    if (m > 64)
        return false;
    const std::uint64_t done = std::uint64_t{1} << (m - 1);
    std::uint64_t anywhere = 1; // matched so far, the last unit anywhere before
    std::uint64_t justBefore = 0; // matched so far, the last unit the one before
    for (std::size_t i = 0; i < folded.size(); ++i) {
        const char16_t key = FoldKey(folded[i]);
        std::uint64_t accepts = 0;
        for (std::size_t j = 0; j < m; ++j)
            if (Accepts(j, key))
                accepts |= std::uint64_t{1} << j;
        const std::uint64_t from = (IsWordStart(folded, i) ? anywhere : 0) | justBefore;
        const std::uint64_t taken = from & accepts;
        if (taken & done)
            return true;
        justBefore = taken << 1;
        anywhere |= justBefore;
    }
    return false;
}
