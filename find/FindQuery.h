// What a find query finds, and in what order.
//
// Folding. Names and queries are compared in their folded form (find/Folding.h): letters
// without regard to case, full-width and half-width forms alike (Ａ = A = a, ｶ = カ,
// ｶﾞ = ガ), hiragana as katakana (めも = メモ); the long-vowel mark ー and the small kana
// (ァ ッ ャ...) as written, so ツール is not ツル and ッ is not ツ; kanji only as written.
//
// Parts. The query is split at blanks (space, tab, ideographic space). Empty parts drop out,
// a part given twice counts once, and only the first 32 different parts count. A query of no
// part finds nothing. Every part must match, each on its own.
//
// A part in one name. The part matches as a substring of the name; failing that, as a
// subsequence in order ("ntpd" in "Notepad"). A part that is ASCII with a letter and reads
// as romaji (find/Romaji.h) also matches as the katakana it spells ("memo" as メモ, "tsu-ru"
// and "tu-ru" as ツール, "mem" as メ followed by any of マ ミ ム メ モ); the better of the two
// counts. "*", "?", "\", "/", ":" are plain characters. The tier of the match, best first:
//   6 exact       the whole name                               "memo" in "Memo"
//   5 prefix      at the name's start                          "memo" in メモ帳.txt
//   4 word        a substring starting a word                  "pad" in "Note_pad"
//   3 substring   anywhere else                                "pad" in "Notepad"
//   2 initials    a subsequence whose every run starts a word  "mwd" in "My Word Doc"
//   1 subsequence any other                                    "ntpd" in "Notepad"
// A word starts at the name's start, after a blank, "_", "-" or ".", at a capital after a
// small letter ("File" in "MyFile", "F" of "HTMLFile"), and where the script changes between
// letters, digits, kana and kanji (帳 in メモ帳, 2 in "memo2"). Of the subsequences, the one
// taken ends as early as it can and, matched backwards from there, is as tight as it can be;
// its runs are its contiguous pieces (a substring is one run).
//
// A part in an entry. The part must match the entry's name or the name of one of its folders
// below the root. Its value is the larger of twice its tier in the name and its best tier in
// those folders: the name counts more ("music" finds the folder Music itself first, then
// what lies in Music, level with "MyMusicList" whose name holds it within a word).
//
// Order. The higher sum of the parts' values first; then fewer runs in all (a part taken from
// a folder counts one); then fewer folders between the root and the entry; then the shorter
// name; then the order in which the entries were added.
//
// Work is bounded for each name: a part longer than the name cannot match and costs nothing,
// a match costs at most the name's length times the part's, for each part.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>
#include "find/FindPattern.h"

class FindQuery {
public:
    static constexpr std::size_t kMaxParts = 32;

    explicit FindQuery(std::u16string_view text);
    bool Empty() const { return parts_.empty(); }
    std::size_t Parts() const { return parts_.size(); }
    // The better of a part's own and romaji matches in one folded name; nameHasKana says
    // whether the name holds any kana (FindTable keeps it), so a kana form skips the rest.
    FindMatch MatchPart(std::size_t part, std::u16string_view folded, bool nameHasKana) const;

private:
    struct Part {
        std::u16string keys; // the folded part, ASCII lowered
        FindPattern literal;
        FindPattern kana;
        bool romaji = false;
    };
    void AddPart(std::u16string_view text);

    std::vector<Part> parts_;
};
