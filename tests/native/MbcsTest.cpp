// The double-byte helpers and the runtime's case rules, on the build machine under the
// address and undefined-behaviour sanitizers.
#include <gtest/gtest.h>
#include <random>
#include "tree/Mbcs.h"

namespace {
TEST(MbcsBytes, LeadAndTrailRangesOverAllBytes)
{
    for (int b = 0; b < 256; ++b) {
        bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xF5);
        bool trail = (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
        bool runtimeLead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        EXPECT_EQ(IsLeadByte(static_cast<unsigned char>(b)), lead) << b;
        EXPECT_EQ(IsTrailByte(static_cast<unsigned char>(b)), trail) << b;
        EXPECT_EQ(IsRuntimeLeadByte(static_cast<unsigned char>(b)), runtimeLead) << b;
    }
}

TEST(MbcsSearch, BackslashesThatAreSecondBytesNeverCount)
{
    EXPECT_EQ(FindLastChar("\x83\x5C", '\\'), -1);          // ソ alone
    EXPECT_EQ(FindLastChar("\\", '\\'), 0);
    EXPECT_EQ(FindLastChar("abc", '\\'), -1);
    EXPECT_EQ(FindLastChar("a\\b\\\x95\x5C", '\\'), 3);     // ...\表
    EXPECT_EQ(FindLastChar("\x83x\\", '\\'), 2) << "a lead byte before a non-trail byte is a byte of its own";
    EXPECT_EQ(FindLastChar("\x83", '\\'), -1) << "a lead byte before the terminator";
    EXPECT_EQ(FindLastChar("\xF6\x5C", '\\'), 1) << "0xF6 is no lead byte for the helpers";

    EXPECT_FALSE(EndsWithBackslash(""));
    EXPECT_FALSE(EndsWithBackslash("Root\\\x83\x5C"));
    EXPECT_TRUE(EndsWithBackslash("D:\\"));
    EXPECT_TRUE(EndsWithBackslash("Root\\\x83\x5C\\"));
    EXPECT_TRUE(EndsWithBackslash("\\"));

    EXPECT_EQ(ReverseFind("a\\\x83\x5C", '\\'), 1);
    EXPECT_EQ(ReverseFind("\xFC\x5C", '\\'), -1) << "the runtime's lead bytes run to 0xFC";
    EXPECT_EQ(ReverseFind(std::string("a\\\x83"), '\\'), 1);

    std::string s = "a\\\x83\x5C\\\\\\";
    TrimRightBackslashes(s);
    EXPECT_EQ(s, "a\\\x83\x5C");
    s = "\\\\";
    TrimRightBackslashes(s);
    EXPECT_EQ(s, "");
    s = "\x95\x5C";
    TrimRightBackslashes(s);
    EXPECT_EQ(s, "\x95\x5C");
}

TEST(MbcsPath, SplitIsDoubleByteAware)
{
    PathParts p = SplitPath("D:\\Menu\\Readme.lnk");
    EXPECT_EQ(p.drive, "D:");
    EXPECT_EQ(p.dir, "\\Menu\\");
    EXPECT_EQ(p.fname, "Readme");
    EXPECT_EQ(p.ext, ".lnk");
    p = SplitPath("a.b\\\x83\x5C" "c");  // the 0x5C of ソ is no separator; the dot is in the folder
    EXPECT_EQ(p.dir, "a.b\\");
    EXPECT_EQ(p.fname, "\x83\x5C" "c");
    EXPECT_EQ(p.ext, "");
    p = SplitPath("x/y.z.txt");
    EXPECT_EQ(p.dir, "x/");
    EXPECT_EQ(p.fname, "y.z");
    EXPECT_EQ(p.ext, ".txt");
    std::string longDir(300, 'd');
    p = SplitPath((longDir + "\\n.e").c_str());
    EXPECT_EQ(p.dir.size(), 301u) << "pieces are never cut";
}

TEST(MbcsShortcut, ExtensionsInAnyCaseAndTheStem)
{
    std::string stem = "untouched";
    EXPECT_TRUE(IsShortcutFile("Readme.lnk"));
    EXPECT_TRUE(IsShortcutFile("Readme.LNK"));
    EXPECT_TRUE(IsShortcutFile("x.url.lnk", &stem));
    EXPECT_EQ(stem, "x.url");
    EXPECT_TRUE(IsShortcutFile("D:\\Menu\\Readme.lnk", &stem));
    EXPECT_EQ(stem, "D:\\Menu\\Readme");
    EXPECT_TRUE(IsShortcutFile("D:\\Menu\\.lnk", &stem));
    EXPECT_EQ(stem, "D:\\Menu\\");
    stem = "untouched";
    EXPECT_FALSE(IsShortcutFile("Readme.lnk.txt", &stem));
    EXPECT_FALSE(IsShortcutFile("D:\\Tools.lnk\\", &stem));
    EXPECT_FALSE(IsShortcutFile("D:\\a.lnk\\noext", &stem));
    EXPECT_EQ(stem, "untouched");
    EXPECT_TRUE(IsInternetShortcutFile("Site.URL", &stem));
    EXPECT_EQ(stem, "Site");
    EXPECT_TRUE(IsInternetShortcutFile("\x83\x5C.url"));
    for (const char* path : {"a.lnk", "a.url", "a.url.lnk", "a.lnk.url", "a", ".lnk", "a.LnK", "\x83.lnk"})
        EXPECT_FALSE(IsShortcutFile(path) && IsInternetShortcutFile(path)) << path;
}

TEST(MbcsCompare, RuntimeRulesForCaseAndOrder)
{
    EXPECT_EQ(CompareNoCase("abc", "ABC"), 0);
    EXPECT_LT(CompareNoCase("_x", "A"), 0) << "letters compare as lower case";
    EXPECT_LT(CompareNoCase("ab", "abc"), 0);
    EXPECT_LT(CompareNoCase("z", "\xB1"), 0) << "half-width katakana after ASCII";
    EXPECT_LT(CompareNoCase("\xDF", "\x81\x40"), 0) << "... and before two-byte characters";
    EXPECT_EQ(CompareNoCase("\x82\x81", "\x82\x60"), 0) << "full-width a equals A";
    EXPECT_GT(CompareNoCase("\x88\x9F", "\x82\xA0"), 0) << "two-byte characters by their code";
    EXPECT_EQ(CompareNoCase("ab\x83", "ab"), 0) << "a lead byte before the end is the end";
    EXPECT_LT(CompareNoCase("", "a"), 0);

    std::string s = "abc\x82\x81\x83\x5C\xB1z\x83";
    MakeUpper(s);
    EXPECT_EQ(s, "ABC\x82\x60\x83\x5C\xB1Z\x83");
}

TEST(MbcsSort, TheDocumentedExampleAndTinyLists)
{
    std::vector<std::string> list{"b", "A", "_x", "B"};
    SortNoCase(list);
    EXPECT_EQ(list, (std::vector<std::string>{"_x", "A", "b", "B"}));
    std::vector<std::string> empty;
    SortNoCase(empty);
    EXPECT_TRUE(empty.empty());
    std::vector<std::string> one{"x"};
    SortNoCase(one);
    EXPECT_EQ(one, (std::vector<std::string>{"x"}));
}

// The pass-until-no-swap sort whose order SortNoCase must give.
void BubbleSort(std::vector<std::string>& list)
{
    if (list.size() < 2)
        return;
    for (bool swapped = true; swapped;) {
        swapped = false;
        for (size_t i = 0; i + 1 < list.size(); ++i) {
            if (CompareNoCase(list[i].c_str(), list[i + 1].c_str()) > 0) {
                std::swap(list[i], list[i + 1]);
                swapped = true;
            }
        }
    }
}

TEST(MbcsSort, SameOrderAsSwappingNeighboursOnRandomLists)
{
    // Pieces chosen so that many names compare equal under case folding.
    const std::vector<std::string> pieces{"a", "A", "b", "B", "_", "1", "\xB1", "\xDF", "\x82\x81", "\x82\x60",
                                          "\x83\x5C", "\x95\x5C", "\x88\x9F", "\\", ".", "\x83", " "};
    std::mt19937 random(12345);
    for (int round = 0; round < 500; ++round) {
        std::vector<std::string> list(random() % 40);
        for (std::string& name : list) {
            int length = static_cast<int>(random() % 4);
            for (int i = 0; i < length; ++i)
                name += pieces[random() % pieces.size()];
        }
        std::vector<std::string> expected = list;
        BubbleSort(expected);
        SortNoCase(list);
        ASSERT_EQ(list, expected) << "round " << round;
    }
}

TEST(MbcsRobustness, RandomBytesNeverReadOrWritePastTheString)
{
    std::mt19937 random(777);
    for (int round = 0; round < 20000; ++round) {
        std::string s(random() % 12, '\0');
        for (char& c : s)
            c = static_cast<char>(random() % 255 + 1);
        std::string t = s;
        FindLastChar(s.c_str(), '\\');
        EndsWithBackslash(s.c_str());
        std::string stem;
        IsShortcutFile(s.c_str(), &stem);
        IsInternetShortcutFile(s.c_str(), &stem);
        SplitPath(s.c_str());
        ReverseFind(s, '\\');
        CompareNoCase(s.c_str(), t.c_str());
        MakeUpper(t);
        EXPECT_EQ(t.size(), s.size());
        EXPECT_EQ(CompareNoCase(s.c_str(), t.c_str()), 0);
        TrimRightBackslashes(t);
    }
}
} // namespace
