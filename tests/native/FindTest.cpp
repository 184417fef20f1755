// The find matcher: its folding and romaji at the Japanese cases worth naming, its ranking,
// and its acceptance against a plain reference over random ASCII. Kana are written as
// escapes (the sources hold no Japanese literals); the comment beside each says what it is.
#include <gtest/gtest.h>
#include <algorithm>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>
#include "find/FindQuery.h"
#include "find/FindSearch.h"
#include "find/FindTable.h"
#include "find/Folding.h"

namespace {
std::u16string Folded(std::u16string_view text)
{
    std::u16string out;
    FoldName(text, out);
    return out;
}

std::u16string Keys(std::u16string_view text)
{
    std::u16string out = Folded(text);
    for (char16_t& c : out)
        c = FoldKey(c);
    return out;
}

FindTier TierOf(std::u16string_view query, std::u16string_view name)
{
    const FindQuery q(query);
    const std::u16string folded = Folded(name);
    return q.MatchPart(0, folded, std::any_of(folded.begin(), folded.end(), IsKana)).tier;
}

// The names of the entries found, best first.
std::vector<std::u16string> Found(const FindTable& table, const std::vector<std::u16string>& names, std::u16string_view query)
{
    FindSearch search;
    std::vector<FindHit> hits;
    search.Run(table, FindQuery(query), 100, hits);
    std::vector<std::u16string> out;
    for (const FindHit& hit : hits)
        out.push_back(names[hit.entry]);
    return out;
}

TEST(FindFolding, WidthKanaAndCaseFoldTogether)
{
    const std::pair<std::u16string, std::u16string> same[] = {
        {u"\uFF21", u"a"},                     // full-width A
        {u"\uFF41\uFF22c", u"ABC"},            // full-width a, B
        {u"\uFF76", u"\u30AB"},                // half-width ka, ka
        {u"\uFF76\uFF9E", u"\u30AC"},          // half-width ka + voiced mark, ga
        {u"\uFF8A\uFF9F", u"\u30D1"},          // half-width ha + semi-voiced mark, pa
        {u"\uFF73\uFF9E", u"\u30F4"},          // half-width u + voiced mark, vu
        {u"\u304B\u3099", u"\u30AC"},          // hiragana ka + combining voiced mark, ga
        {u"\u304B\u309B", u"\u30AC"},          // hiragana ka + full-width voiced mark, ga
        {u"\u3081\u3082", u"\u30E1\u30E2"},    // hiragana memo, katakana memo
        {u"\uFF70", u"\u30FC"},                // half-width long-vowel mark
        {u"\uFF6F", u"\u30C3"},                // half-width small tsu, small tsu
        {u"\u3000", u" "},                     // ideographic space
        {u"\u00C9\u0414\u0391", u"\u00E9\u0434\u03B1"}, // E acute, De, Alpha
        {u"\uFFE5", u"\u00A5"},                // full-width yen
    };
    for (const auto& [a, b] : same)
        EXPECT_EQ(Keys(a), Keys(b)) << Keys(a).size();

    const std::pair<std::u16string, std::u16string> apart[] = {
        {u"\u30C4", u"\u30C3"},                // tsu, small tsu
        {u"\u30E4", u"\u30E3"},                // ya, small ya
        {u"\u30A2", u"\u30A1"},                // a, small a
        {u"\u30FC", u"-"},                     // long-vowel mark, hyphen
        {u"\u5E33", u"\u30C1\u30E7\u30A6"},    // kanji cho, its reading
        {u"\u30AC", u"\u30AB"},                // ga, ka
        {u"\u30D1", u"\u30D0"},                // pa, ba
    };
    for (const auto& [a, b] : apart)
        EXPECT_NE(Keys(a), Keys(b));

    EXPECT_EQ(Folded(u"MyFile"), u"MyFile") << "capitals kept, so that a case change starts a word";
    EXPECT_EQ(Folded(u"\uFF9E\u30AC\uFF9E"), u"\u309B\u30AC\u309B") << "a mark with nothing to voice stays a mark";
    EXPECT_EQ(Folded(u"a\xD800" u"b\xDC00"), u"a\uFFFD" u"b\uFFFD");
    EXPECT_EQ(Folded(u"\xD83D\xDE00"), u"\xD83D\xDE00") << "a pair kept whole";
    EXPECT_EQ(Folded(std::u16string(1, u'\0') + u"\uFFFF"), u"\uFFFD\uFFFD");
}

TEST(FindMatching, JapaneseCases)
{
    struct Case {
        const char16_t* query;
        const char16_t* name;
        FindTier tier;
    };
    const Case cases[] = {
        // hiragana and katakana alike
        {u"\u3081\u3082", u"\u30E1\u30E2\u5E33.txt", FindTier::Prefix},     // memo (hiragana), memo-cho.txt
        {u"\u30E1\u30E2", u"\u3081\u3082", FindTier::Exact},
        // width
        {u"\uFF76\uFF9E\uFF72\uFF84\uFF9E", u"\u30AC\u30A4\u30C9", FindTier::Exact}, // half-width gaido
        {u"\uFF21", u"a", FindTier::Exact},
        {u"a", u"\uFF21", FindTier::Exact},
        // romaji, Hepburn and kunrei
        {u"memo", u"\u30E1\u30E2\u5E33", FindTier::Prefix},
        {u"MEMO", u"\u3081\u3082", FindTier::Exact},
        {u"\uFF4D\uFF45\uFF4D\uFF4F", u"\u30E1\u30E2", FindTier::Exact},  // full-width memo
        {u"tsu-ru", u"\u30C4\u30FC\u30EB", FindTier::Exact},             // tsu-ru, tool
        {u"tu-ru", u"\u30C4\u30FC\u30EB", FindTier::Exact},
        {u"shi", u"\u30B7", FindTier::Exact},
        {u"si", u"\u30B7", FindTier::Exact},
        {u"chi", u"\u30C1", FindTier::Exact},
        {u"ti", u"\u30C1", FindTier::Exact},
        {u"fu", u"\u30D5", FindTier::Exact},
        {u"hu", u"\u30D5", FindTier::Exact},
        {u"ji", u"\u30B8", FindTier::Exact},
        {u"zi", u"\u30B8", FindTier::Exact},
        {u"sha", u"\u30B7\u30E3", FindTier::Exact},
        {u"sya", u"\u30B7\u30E3", FindTier::Exact},
        {u"cha", u"\u30C1\u30E3", FindTier::Exact},
        {u"tya", u"\u30C1\u30E3", FindTier::Exact},
        {u"ja", u"\u30B8\u30E3", FindTier::Exact},
        {u"zya", u"\u30B8\u30E3", FindTier::Exact},
        {u"jya", u"\u30B8\u30E3", FindTier::Exact},
        {u"kanji", u"\u30AB\u30F3\u30B8", FindTier::Exact},              // kanji: n before a consonant
        {u"kannji", u"\u30AB\u30F3\u30B8", FindTier::Exact},
        {u"kan'i", u"\u30AB\u30F3\u30A4", FindTier::Exact},
        {u"konnichiha", u"\u30B3\u30F3\u30CB\u30C1\u30CF", FindTier::Exact}, // nn before a vowel
        {u"onna", u"\u304A\u3093\u306A", FindTier::Exact},
        {u"shimbun", u"\u3057\u3093\u3076\u3093", FindTier::Exact},      // m before b
        {u"kitte", u"\u30AD\u30C3\u30C6", FindTier::Exact},              // doubled consonant
        {u"matcha", u"\u30DE\u30C3\u30C1\u30E3", FindTier::Exact},
        {u"xtu", u"\u30C3", FindTier::Exact},
        {u"fairu2", u"\u30D5\u30A1\u30A4\u30EB\uFF12", FindTier::Exact}, // fairu + full-width 2
        {u"mem", u"\u30E1\u30E2\u5E33", FindTier::Prefix},               // being typed: me + m...
        {u"ts", u"\u30C4\u30FC\u30EB", FindTier::Prefix},
        {u"kan", u"\u30AB\u30CA", FindTier::Exact},                      // n at the end: na... or n
        {u"kan", u"\u30AB\u30F3", FindTier::Exact},
        // the long-vowel mark and small kana as written
        {u"tsuru", u"\u30C4\u30FC\u30EB", FindTier::Subsequence},
        {u"\u30C4\u30EB", u"\u30C4\u30FC\u30EB", FindTier::Subsequence},
        {u"\u30C4\u30FC\u30EB", u"\u30C4\u30EB", FindTier::None},
        {u"\u30C4", u"\u30C3", FindTier::None},
        {u"tsu", u"\u30C3", FindTier::None},
        {u"\u30E4", u"\u30E3", FindTier::None},
        // kanji only as written; a change of script starts a word
        {u"\u5E33", u"\u30E1\u30E2\u5E33", FindTier::WordSubstring},
        {u"chou", u"\u30E1\u30E2\u5E33", FindTier::None},
        {u"memo", u"memo\u5E33", FindTier::Prefix},
        // ASCII stays ASCII
        {u"notepad", u"Notepad", FindTier::Exact},
        {u"ntpd", u"Notepad", FindTier::Subsequence},
        {u"tsu-ru", u"tsu-ru.txt", FindTier::Prefix},
        {u"qx", u"aqbx", FindTier::Subsequence},
        // signs taken as they are
        {u"*", u"a*b", FindTier::Substring},
        {u"?", u"ab", FindTier::None},
        {u"a\\b", u"a\\b", FindTier::Exact},
        {u"c:", u"abc:", FindTier::Substring},
        {u"/", u"x/", FindTier::Substring},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TierOf(c.query, c.name), c.tier) << std::string(c.query, c.query + std::char_traits<char16_t>::length(c.query)).size()
                                                   << " units of query against a name of "
                                                   << std::char_traits<char16_t>::length(c.name);
}

TEST(FindMatching, SurrogatePairsMatchWhole)
{
    // U+1F600 is D83D DE00; U+1F601 D83D DE01; U+1D600 D835 DE00.
    EXPECT_EQ(TierOf(u"\xD83D\xDE00", u"x\xD83D\xDE00"), FindTier::Substring);
    EXPECT_EQ(TierOf(u"\xD83D\xDE00", u"\xD83D\xDE01\xD835\xDE00"), FindTier::None)
        << "halves of two characters are no match";
    EXPECT_EQ(TierOf(u"a\xD83D\xDE00", u"ab\xD83D\xDE01\xD83D\xDE00"), FindTier::Subsequence);
    EXPECT_EQ(TierOf(u"\xD800", u"\xDC00"), FindTier::Exact) << "lone halves are both U+FFFD";
}

TEST(FindMatching, WordStarts)
{
    EXPECT_EQ(TierOf(u"file", u"MyFile"), FindTier::WordSubstring);
    EXPECT_EQ(TierOf(u"file", u"HTMLFile"), FindTier::WordSubstring);
    EXPECT_EQ(TierOf(u"ile", u"MyFile"), FindTier::Substring);
    EXPECT_EQ(TierOf(u"pad", u"note pad"), FindTier::WordSubstring);
    EXPECT_EQ(TierOf(u"pad", u"note_pad"), FindTier::WordSubstring);
    EXPECT_EQ(TierOf(u"pad", u"note-pad"), FindTier::WordSubstring);
    EXPECT_EQ(TierOf(u"txt", u"note.txt"), FindTier::WordSubstring);
    EXPECT_EQ(TierOf(u"2", u"memo2"), FindTier::WordSubstring);
    EXPECT_EQ(TierOf(u"mwd", u"My Word Doc"), FindTier::WordSubsequence);
    EXPECT_EQ(TierOf(u"mwd", u"mywordoc"), FindTier::Subsequence);
    EXPECT_EQ(TierOf(u"fb", u"f_xfxb_bar"), FindTier::WordSubsequence) << "not the tightest match: f and b of two words";
    EXPECT_EQ(TierOf(u"mm", u"\u30E1\u30E2 memo"), FindTier::Subsequence) << "romaji me, not m...";
}

// The names of a small tree; index = id, folders first where their entries follow.
struct Tree {
    FindTable table;
    std::vector<std::u16string> names;
    FindTable::Id Add(std::u16string name, FindTable::Id folder = FindTable::kRoot, bool isFolder = false)
    {
        names.push_back(name);
        return table.Add(name, folder, isFolder);
    }
};

TEST(FindRanking, TiersThenDepth)
{
    Tree t;
    for (const char16_t* name : {u"xmexmo", u"me_mo", u"mymemo", u"my memo", u"memo pad", u"memo", u"other"})
        t.Add(name);
    EXPECT_EQ(Found(t.table, t.names, u"memo"),
              (std::vector<std::u16string>{u"memo", u"memo pad", u"my memo", u"mymemo", u"me_mo", u"xmexmo"}));

    Tree d;
    const auto a = d.Add(u"a", FindTable::kRoot, true);
    const auto b = d.Add(u"b", a, true);
    d.Add(u"notes.txt", b);
    d.Add(u"notes.txt", a);
    d.Add(u"notes.txt");
    d.Add(u"my notes.txt");
    FindSearch search;
    std::vector<FindHit> hits;
    search.Run(d.table, FindQuery(u"notes"), 10, hits);
    ASSERT_EQ(hits.size(), 4u);
    EXPECT_EQ(hits[0].entry, 4u) << "at the root";
    EXPECT_EQ(hits[1].entry, 3u) << "one folder down";
    EXPECT_EQ(hits[2].entry, 2u) << "two folders down";
    EXPECT_EQ(hits[3].entry, 5u) << "a word start ranks after a prefix at any depth";
}

TEST(FindRanking, PartsInNameAndFolders)
{
    Tree t;
    const auto music = t.Add(u"Music", FindTable::kRoot, true);
    const auto docs = t.Add(u"docs", FindTable::kRoot, true);
    t.Add(u"song.mp3", music);
    t.Add(u"memo.txt", docs);
    t.Add(u"memo.txt");
    t.Add(u"MyMusicList");
    EXPECT_EQ(Found(t.table, t.names, u"music"),
              (std::vector<std::u16string>{u"Music", u"MyMusicList", u"song.mp3"}))
        << "the folder itself, then a word of a name before what lies in the folder";
    EXPECT_EQ(Found(t.table, t.names, u"docs memo"), (std::vector<std::u16string>{u"memo.txt"}));
    EXPECT_EQ(Found(t.table, t.names, u"memo\u3000txt").size(), 2u) << "ideographic space splits";
    EXPECT_EQ(Found(t.table, t.names, u"memo zzz").size(), 0u) << "every part must match";
    EXPECT_EQ(Found(t.table, t.names, u"   \u3000 \t").size(), 0u) << "blanks only find nothing";
}

TEST(FindTable, RenameRemoveAndReclaim)
{
    FindTable table;
    const auto folder = table.Add(u"F", FindTable::kRoot, true);
    std::vector<FindTable::Id> ids;
    for (int i = 0; i < 3000; ++i)
        ids.push_back(table.Add(u"name" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)), folder, false));
    for (int round = 0; round < 5; ++round)
        for (std::size_t i = 0; i < ids.size(); ++i)
            table.Rename(ids[i], u"\u3081\u3082" + std::u16string(1, static_cast<char16_t>(u'a' + (i + round) % 26)));
    table.Remove(ids[22]);
    table.Remove(ids[22]);
    EXPECT_LT(table.Bytes(), 3001u * (10 + 2 * 3) * 3) << "renamed text is reclaimed";
    for (std::size_t i = 0; i < ids.size(); ++i)
        if (i != 22) {
            EXPECT_EQ(table.Folded(ids[i]), u"\u30E1\u30E2" + std::u16string(1, static_cast<char16_t>(u'a' + (i + 4) % 26)));
            EXPECT_TRUE(table.HasKana(ids[i]));
            EXPECT_EQ(table.Folder(ids[i]), folder);
        }
    EXPECT_FALSE(table.Live(ids[22]));
    EXPECT_TRUE(table.IsFolder(folder));
    FindSearch search;
    std::vector<FindHit> hits;
    // Hiragana memo and "a": the names whose last round gave them "a", one of them removed.
    EXPECT_EQ(search.Run(table, FindQuery(u"\u3081\u3082a"), 5, hits), 115u - 1u);
    EXPECT_EQ(hits.size(), 5u);

    EXPECT_FALSE(table.Live(table.Add(u"x", ids[0], false))) << "a file is no folder";
    EXPECT_FALSE(table.Live(table.Add(u"x", 999999, false)));
    const std::u16string cut = std::u16string(FindTable::kMaxName - 1, u'a') + u"\xD83D\xDE00";
    EXPECT_EQ(table.Folded(table.Add(cut, FindTable::kRoot, false)), std::u16string(FindTable::kMaxName - 1, u'a'))
        << "a name past the limit is cut between characters";
}

TEST(FindBadInput, HugeAndOddQueriesStayBounded)
{
    Tree t;
    const auto f = t.Add(u"folder", FindTable::kRoot, true);
    t.Add(std::u16string(FindTable::kMaxName, u'a'), f);
    t.Add(u"\xD83D\xDE00.txt", f);
    t.Add(u"a*b?c\\d/e:f");
    FindSearch search;
    std::vector<FindHit> hits;
    EXPECT_EQ(search.Run(t.table, FindQuery(std::u16string(10000, u'a')), 10, hits), 0u);
    EXPECT_EQ(search.Run(t.table, FindQuery(std::u16string(2000, u'a') + u"b"), 10, hits), 0u);
    EXPECT_EQ(search.Run(t.table, FindQuery(std::u16string(10000, u' ')), 10, hits), 0u);
    std::u16string manyParts;
    for (int i = 0; i < 5000; ++i)
        manyParts += std::u16string(1, static_cast<char16_t>(u'a' + i % 26)) + u" ";
    EXPECT_EQ(FindQuery(manyParts).Parts(), 26u) << "a part given twice counts once";
    std::u16string distinct;
    for (int i = 0; i < 100; ++i)
        distinct += u"p" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) + std::u16string(1, static_cast<char16_t>(u'0' + i / 10)) + u" ";
    EXPECT_EQ(FindQuery(distinct).Parts(), FindQuery::kMaxParts);
    EXPECT_EQ(search.Run(t.table, FindQuery(u"\xDC00\xD800\xD83D"), 10, hits), 0u);
    EXPECT_EQ(search.Run(t.table, FindQuery(u"\xD83D\xDE00"), 10, hits), 1u);
    EXPECT_EQ(search.Run(t.table, FindQuery(u"*?\\/:"), 10, hits), 1u);
    EXPECT_EQ(search.Run(t.table, FindQuery(u"a*b?c\\d/e:f"), 10, hits), 1u);
    EXPECT_EQ(search.Run(t.table, FindQuery(u"*.*"), 10, hits), 0u) << "no wildcards";
}

// Each key typed narrows the last results; what comes out must be what a fresh search gives.
TEST(FindReference, TypingKeyByKeyGivesWhatAFreshSearchGives)
{
    // Katakana from ka to n, and letters, in names of two to five characters.
    std::mt19937 random(932);
    Tree t;
    std::vector<FindTable::Id> folders{FindTable::kRoot};
    for (int i = 0; i < 3000; ++i) {
        std::u16string name;
        for (std::size_t k = 2 + random() % 4; k > 0; --k)
            name += random() % 3 == 0 ? static_cast<char16_t>(u'a' + random() % 26) : static_cast<char16_t>(0x30AB + random() % 73);
        const bool isFolder = random() % 8 == 0;
        const auto id = t.Add(name, folders[random() % folders.size()], isFolder);
        if (isFolder)
            folders.push_back(id);
    }
    const std::u16string queries[] = {u"kakko", u"matcha", u"shimbun", u"onna", u"kannji", u"tsu-ru", u"kyoka", u"n'ya",
                                      u"memo ka", u"sa shi", u"xtuka", u"ddo", u"wwa ki"};
    FindSearch typing;
    std::vector<FindHit> narrowed, fresh;
    for (const std::u16string& query : queries)
        for (std::size_t keys = 1; keys <= query.size(); ++keys) {
            const FindQuery q(query.substr(0, keys));
            typing.Run(t.table, q, 50, narrowed);
            FindSearch().Run(t.table, q, 50, fresh);
            ASSERT_EQ(narrowed.size(), fresh.size()) << std::string(query.begin(), query.begin() + static_cast<std::ptrdiff_t>(keys));
            for (std::size_t i = 0; i < fresh.size(); ++i)
                EXPECT_EQ(narrowed[i].entry, fresh[i].entry);
        }
    t.Add(u"\u30AB\u30C3\u30B3"); // kakko, added after the last search
    const FindQuery q(u"kakko");
    EXPECT_EQ(typing.Run(t.table, q, 50, narrowed), FindSearch().Run(t.table, q, 50, fresh)) << "a changed table is searched anew";
}

bool NaiveSubsequence(const std::string& part, const std::string& name)
{
    std::size_t j = 0;
    for (std::size_t i = 0; i < name.size() && j < part.size(); ++i)
        j += std::tolower(name[i]) == part[j];
    return j == part.size();
}

std::string Lowered(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(c));
    return s;
}

std::string RandomText(std::mt19937& random, std::size_t maxLength, const std::string& alphabet)
{
    std::string s(random() % (maxLength + 1), ' ');
    for (char& c : s)
        c = alphabet[random() % alphabet.size()];
    return s;
}

TEST(FindReference, AsciiAgreesWithPlainMatching)
{
    std::mt19937 random(2023);
    const std::string alphabet = "aAbBnN_-.1";
    for (int round = 0; round < 20000; ++round) {
        const std::string name = RandomText(random, 12, alphabet);
        std::string part = RandomText(random, 5, alphabet);
        if (part.empty())
            part = "a";
        const FindQuery query(std::u16string(part.begin(), part.end()));
        const std::u16string folded(name.begin(), name.end());
        const FindTier tier = query.MatchPart(0, folded, false).tier;
        const std::string p = Lowered(part), n = Lowered(name);
        const std::size_t at = n.find(p);
        SCOPED_TRACE(part + " in " + name);
        EXPECT_EQ(tier != FindTier::None, NaiveSubsequence(p, name));
        EXPECT_EQ(tier >= FindTier::Substring, at != std::string::npos);
        EXPECT_EQ(tier == FindTier::Exact, p == n);
        EXPECT_EQ(tier >= FindTier::Prefix, at == 0);
    }
}

} // namespace
