// One part of a query as it is matched against one folded name (find/Folding.h): a run of
// units, each compared with the name's unit through FoldKey, where a unit may also stand for a
// set of katakana (what a romaji part still being typed can go on to be). The rule it follows
// is written down in find/FindQuery.h.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// How well a part matched a name, best last; runs counts the contiguous pieces the match
// took (1 for a substring).
enum class FindTier : std::uint8_t { None, Subsequence, WordSubsequence, Substring, WordSubstring, Prefix, Exact };

struct FindMatch {
    FindTier tier = FindTier::None;
    std::uint16_t runs = 0;
};

// Whether a's match ranks before b's: the higher tier, then fewer runs.
bool Better(FindMatch a, FindMatch b);

// Whether a word starts at unit i of a folded name: at its start, after a blank, "_", "-"
// or ".", at a capital after a small letter (or the last capital of a run before a small
// letter: the "F" of "HTMLFile"), and where the script changes (letters, digits, kana, kanji).
bool IsWordStart(std::u16string_view folded, std::size_t i);

class FindPattern {
public:
    // A set of katakana, one bit for each of U+30A0 to U+30FF.
    struct KanaSet {
        std::uint64_t bits[2] = {};
        void Add(char16_t kana);
        bool Has(char16_t unit) const;
    };

    void Append(char16_t key);
    void AppendAnyOf(const KanaSet& set);
    std::size_t Size() const { return units_.size(); }
    // Whether only a name holding kana can match it.
    bool NeedsKana() const { return needsKana_; }
    // The match of this pattern in a folded name; bounded by the name's length times the
    // pattern's, and the pattern can be no longer than the name.
    FindMatch Match(std::u16string_view folded) const;

private:
    static constexpr char16_t kAnyOf = 0xFFFF; // a folded name never holds it
    bool Accepts(std::size_t j, char16_t key) const
    {
        return units_[j] == key || (units_[j] == kAnyOf && sets_[j].Has(key));
    }
    // The character of width units (2: a surrogate pair, taken whole) at unit at of the name,
    // against the pattern from unit j.
    bool CharAccepts(std::u16string_view folded, std::size_t at, std::size_t width, std::size_t j) const;
    bool AcceptsAt(std::u16string_view folded, std::size_t at) const;
    FindTier SubstringTier(std::u16string_view folded) const;
    FindMatch SubsequenceTo(std::u16string_view folded, std::size_t end) const;
    bool IsInitials(std::u16string_view folded) const;

    std::u16string units_;
    std::vector<KanaSet> sets_; // beside units_, used where a unit is kAnyOf
    bool needsKana_ = false;
    bool hasPairs_ = false;
};
