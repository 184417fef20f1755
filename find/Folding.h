// The form a name is compared in: the width and the kana of a name folded the way a Japanese
// reader takes them as the same, letters kept as written. No windows.h: built natively and
// fuzzed.
//   full-width ASCII -> ASCII, ideographic space -> blank; half-width katakana -> katakana
//   (with the following voiced mark, half-width or full, made one: ｶﾞ, か゛ and カ+U+3099 are
//   ガ); hiragana -> katakana; other half-width forms (￥, ￤, ｰ...) -> their full forms;
//   Latin-1, Latin Extended-A, Greek and Cyrillic capitals -> small letters.
// ASCII capitals stay capitals, so that a case change can still start a word: matching lowers
// them as it compares (FoldKey). The long-vowel mark, small kana and kanji stay as written. A
// lone surrogate, U+0000 and U+FFFF become U+FFFD, so a folded name never holds U+FFFF.
#pragma once
#include <string>
#include <string_view>

// Appends the folded form of text to out.
void FoldName(std::u16string_view text, std::u16string& out);

// The unit as matching compares it: a folded unit with ASCII capitals lowered.
constexpr char16_t FoldKey(char16_t unit)
{
    return static_cast<char16_t>(static_cast<unsigned>(unit - u'A') < 26u ? unit + 0x20 : unit);
}

// Katakana (after folding, hiragana too) and the long-vowel mark.
constexpr bool IsKana(char16_t unit)
{
    return unit >= 0x30A1 && unit <= 0x30FE && unit != 0x30FB;
}
