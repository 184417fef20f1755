// Romaji typed with the input method off, read as the katakana it spells: Hepburn and
// kunrei-shiki (and the input method's own x/l small kana), without a dictionary.
//   syllables: ka ki ku..., shi/si, chi/ti, tsu/tu, fu/hu, ji/zi, di, du, wo, and the
//     contracted ones: kya, sha/sya, cha/tya/cya, ja/zya/jya, nya..., fa fi fe fo, va..., tsa,
//     thi, dhi, wi, we, ye; xa/la ... for small kana, xtu/ltu/xtsu for ッ;
//   "-" is ー; a doubled consonant (kk, tt, ss, pp..., and the t of tch) is ッ;
//   ン is "nn" or "n'", or "n" before a consonant or the end; "m" before b or p;
//     "nn" before a vowel or y is ン followed by the n of the next syllable (konnichiha, onna);
//   digits and other ASCII signs stand for themselves;
//   the end of the text, when it is only the start of a syllable ("mem", "ts"), stands for
//     every katakana such a syllable can begin with.
// No windows.h: built natively and fuzzed.
#pragma once
#include <string_view>
#include "find/FindPattern.h"

// Appends the katakana that text spells to kana; false (kana then unspecified) when text,
// folded and lowered ASCII, is not romaji: another letter than a syllable takes, or no letter.
bool RomajiToKana(std::u16string_view text, FindPattern& kana);
