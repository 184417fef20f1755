// The double-byte helpers and the runtime's case rules, on the build machine under the
// address and undefined-behaviour sanitizers.
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <utility>
#include <vector>
#include "tree/PathHelpers.h"

namespace {
TEST(MbcsBytes, RangesOverAllByteValues)
{
    for (int b = 0; b < 256; ++b) {
        const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        const bool trail = (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
        EXPECT_EQ(IsLeadByte(static_cast<unsigned char>(b)), lead) << b;
        EXPECT_EQ(IsTrailByte(static_cast<unsigned char>(b)), trail) << b;
        // Every walk hides a backslash behind exactly the lead bytes.
        const std::string s{static_cast<char>(b), '\\'};
        EXPECT_EQ(ReverseFind(s, '\\'), lead ? -1 : 1) << b;
        if (b != 0) {
            EXPECT_EQ(FindLastChar(s.c_str(), '\\'), lead ? -1 : 1) << b;
            EXPECT_EQ(EndsWithBackslash(s.c_str()), !lead) << b;
        }
    }
}

TEST(MbcsSearch, SecondBytesThatLookLikeBackslashes)
{
    EXPECT_EQ(FindLastChar("\x83\x5C", '\\'), -1);
    EXPECT_EQ(FindLastChar("\\", '\\'), 0);
    EXPECT_EQ(FindLastChar("abc", '\\'), -1);
    EXPECT_EQ(FindLastChar("a\\b\\\x95\x5C", '\\'), 3);
    EXPECT_EQ(FindLastChar("\x83x\\", '\\'), 2) << "a lead byte before a non-trail byte is a byte of its own";
    EXPECT_EQ(FindLastChar("a\\\x83", '\\'), 1) << "a lead byte before the terminator";
    EXPECT_EQ(FindLastChar("\xFA\x5C", '\\'), -1) << "IBM extension kanji such as FA 5C";
    EXPECT_FALSE(EndsWithBackslash("Root\\\xFB\x5C"));

    EXPECT_FALSE(EndsWithBackslash(""));
    EXPECT_FALSE(EndsWithBackslash("Root\\\x83\x5C"));
    EXPECT_FALSE(EndsWithBackslash("Root\\\x95\x5C"));
    EXPECT_FALSE(EndsWithBackslash("\x94\x5C"));
    EXPECT_FALSE(EndsWithBackslash("Root\\\x83"));
    EXPECT_TRUE(EndsWithBackslash("D:\\"));
    EXPECT_TRUE(EndsWithBackslash("Root\\\x83\x5C\\"));
    EXPECT_TRUE(EndsWithBackslash("\\"));
}

TEST(MbcsSearch, RuntimeReverseFindAndTrim)
{
    EXPECT_EQ(ReverseFind("a\\\x83\x5C", '\\'), 1);
    EXPECT_EQ(ReverseFind("\xFC\x5C", '\\'), -1) << "the runtime's lead bytes run to 0xFC";
    EXPECT_EQ(ReverseFind("a\\\x83", '\\'), 1);
    EXPECT_EQ(ReverseFind("", '\\'), -1);

    const std::pair<std::string, std::string> trims[] = {
        {"a\\\x83\x5C\\\\\\", "a\\\x83\x5C"},
        {"\\\\", ""},
        {"\x95\x5C", "\x95\x5C"},
        {"\xFC\x5C", "\xFC\x5C"},
        {"a\\\x83\\", "a\\\x83\\"},
        {"a\x83", "a\x83"},
        {"D:\\x\\", "D:\\x"},
        {"", ""},
    };
    for (const auto& [in, out] : trims) {
        std::string s = in;
        TrimRightBackslashes(s);
        EXPECT_EQ(s, out) << in;
    }
}

TEST(MbcsPath, SplitIsDoubleByteAware)
{
    struct Case {
        const char* path;
        PathParts parts;
    };
    const Case cases[] = {
        {"D:\\Menu\\Readme.lnk", {"D:", "\\Menu\\", "Readme", ".lnk"}},
        {"a.b\\\x83\x5C" "c", {"", "a.b\\", "\x83\x5C" "c", ""}},
        {"\xFC\x5C.txt", {"", "", "\xFC\x5C", ".txt"}},
        {"x/y.z.txt", {"", "x/", "y.z", ".txt"}},
        {"D:", {"D:", "", "", ""}},
        {"D:name.e", {"D:", "", "name", ".e"}},
        {"C:\\", {"C:", "\\", "", ""}},
        {"dir\\.lnk", {"", "dir\\", "", ".lnk"}},
        {"a.\x83", {"", "", "a", ".\x83"}},
        {"", {"", "", "", ""}},
    };
    for (const Case& c : cases) {
        PathParts p = SplitPath(c.path);
        EXPECT_EQ(p.drive, c.parts.drive) << c.path;
        EXPECT_EQ(p.dir, c.parts.dir) << c.path;
        EXPECT_EQ(p.fname, c.parts.fname) << c.path;
        EXPECT_EQ(p.ext, c.parts.ext) << c.path;
    }
    const std::string longDir = "C:\\" + std::string(300, 'd') + "\\";
    PathParts p = SplitPath((longDir + "n.e").c_str());
    EXPECT_EQ(p.drive + p.dir, longDir) << "pieces are never cut";
}

TEST(MbcsShortcut, ExtensionsInAnyCaseAndTheStem)
{
    const std::pair<const char*, const char*> shortcuts[] = {
        {"Readme.lnk", "Readme"},
        {"Readme.LNK", "Readme"},
        {"x.url.lnk", "x.url"},
        {"D:\\Menu\\Readme.lnk", "D:\\Menu\\Readme"},
        {"D:/Menu/Readme.lnk", "D:/Menu/Readme"},
        {"D:\\Menu\\.lnk", "D:\\Menu\\"},
        {".lnk", ""},
        {"D:\\\x83\x5C.d\\\x95\x5C.Lnk", "D:\\\x83\x5C.d\\\x95\x5C"},
        {"Readme.lnk\x83", "Readme"}, // the comparison ends at a lead byte before the end
    };
    for (const auto& [path, expected] : shortcuts) {
        std::string stem = "untouched";
        EXPECT_TRUE(IsShortcutFile(path, &stem)) << path;
        EXPECT_EQ(stem, expected) << path;
        EXPECT_FALSE(IsInternetShortcutFile(path, &stem)) << path;
    }
    for (const char* path : {"Readme.lnk.txt", "D:\\Tools.lnk\\", "D:\\a.lnk\\noext", "D:/a.lnk/b", "D:\\\x83\x5C.lnk\\Readme",
                             "lnk", ""}) {
        std::string stem = "untouched";
        EXPECT_FALSE(IsShortcutFile(path, &stem)) << path;
        EXPECT_EQ(stem, "untouched") << path;
    }
    std::string stem;
    EXPECT_TRUE(IsInternetShortcutFile("D:\\Site.URL", &stem));
    EXPECT_EQ(stem, "D:\\Site");
    EXPECT_TRUE(IsInternetShortcutFile("\x83\x5C.url"));
    EXPECT_FALSE(IsInternetShortcutFile("a.url.lnk"));
}

TEST(MbcsCompare, RuntimeRulesForCaseAndOrder)
{
    EXPECT_EQ(CompareNoCase("abc", "ABC"), 0);
    EXPECT_LT(CompareNoCase("_x", "A"), 0) << "letters compare as lower case";
    EXPECT_GT(CompareNoCase("A", "_x"), 0);
    EXPECT_LT(CompareNoCase("ab", "abc"), 0);
    EXPECT_LT(CompareNoCase("", "a"), 0);
    EXPECT_LT(CompareNoCase("z", "\xB1"), 0) << "half-width katakana after ASCII";
    EXPECT_LT(CompareNoCase("\xDF", "\x81\x40"), 0) << "... and before two-byte characters";
    EXPECT_EQ(CompareNoCase("\x82\x81", "\x82\x60"), 0) << "full-width a equals A";
    EXPECT_NE(CompareNoCase("\x83\x61", "\x83\x41"), 0) << "second bytes are never folded as letters";
    EXPECT_GT(CompareNoCase("\x88\x9F", "\x82\xA0"), 0) << "two-byte characters by their code";
    EXPECT_EQ(CompareNoCase("ab\x83", "ab"), 0) << "a lead byte before the end is the end";
    EXPECT_LT(CompareNoCase("ab\x83", "ab\x83x"), 0);
}

TEST(MbcsCompare, MakeUpperKeepsTheLength)
{
    const std::pair<std::string, std::string> cases[] = {
        {"abc_xyz09", "ABC_XYZ09"},
        {"\x82\x81\x82\x9A\x82\x60", "\x82\x60\x82\x79\x82\x60"},
        {"\x83\xBF\x84\x70", "\x83\x9F\x84\x40"},
        {"\x83\x61\xFC\x61\x83\x5C", "\x83\x61\xFC\x61\x83\x5C"},
        {"\xB1z\x83", "\xB1Z\x83"},
        {"", ""},
    };
    for (const auto& [in, out] : cases) {
        std::string s = in;
        MakeUpper(s);
        EXPECT_EQ(s, out) << in;
    }
}

// The pass-until-no-swap sort whose order SortNoCase must give.
void BubbleSort(std::vector<std::string>& list)
{
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

TEST(MbcsSort, SameOrderAsSwappingNeighbours)
{
    std::vector<std::string> list{"b", "A", "_x", "B"};
    SortNoCase(list);
    EXPECT_EQ(list, (std::vector<std::string>{"_x", "A", "b", "B"}));

    // Pieces chosen so that many names compare equal under case folding.
    const std::vector<std::string> pieces{"a", "A", "b", "B", "_", "1", "\xB1", "\xDF", "\x82\x81", "\x82\x60",
                                          "\x83\xBF", "\x83\x9F", "\xFA\x4A", "\x87\x54", "\x83\x5C", "\x95\x5C",
                                          "\x88\x9F", "\\", ".", "\x83", "\xFC", " "};
    std::mt19937 random(12345);
    for (int round = 0; round < 500; ++round) {
        list.assign(random() % 40, std::string());
        for (std::string& name : list) {
            for (auto length = random() % 4; length > 0; --length)
                name += pieces[random() % pieces.size()];
        }
        std::vector<std::string> expected = list;
        BubbleSort(expected);
        SortNoCase(list);
        ASSERT_EQ(list, expected) << "round " << round;
    }
}

// Byte by byte as written down for the helpers: a lead byte hides the next byte only when
// that byte can be a second byte. The shared walk must find the same backslashes.
int NaiveFindLastBackslash(const std::string& s)
{
    int result = -1;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\')
            result = static_cast<int>(i);
        if (IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() &&
            IsTrailByte(static_cast<unsigned char>(s[i + 1])))
            ++i;
    }
    return result;
}

TEST(MbcsRobustness, RandomBytesKeepTheInvariants)
{
    std::mt19937 random(777);
    std::string previous;
    for (int round = 0; round < 20000; ++round) {
        std::string s(random() % 16 == 0 ? random() % 600 : random() % 12, '\0');
        for (char& c : s)
            c = static_cast<char>(random() % 255 + 1);

        const int last = FindLastChar(s.c_str(), '\\');
        ASSERT_EQ(last, NaiveFindLastBackslash(s)) << s;
        ASSERT_EQ(EndsWithBackslash(s.c_str()), !s.empty() && last == static_cast<int>(s.size()) - 1) << s;

        const PathParts p = SplitPath(s.c_str());
        ASSERT_EQ(p.drive + p.dir + p.fname + p.ext, s);
        std::string stem;
        if (IsShortcutFile(s.c_str(), &stem) || IsInternetShortcutFile(s.c_str(), &stem))
            ASSERT_TRUE(s.compare(0, stem.size(), stem) == 0 && s[stem.size()] == '.') << s;

        std::string upper = s;
        MakeUpper(upper);
        ASSERT_EQ(upper.size(), s.size());
        ASSERT_EQ(CompareNoCase(s.c_str(), upper.c_str()), 0) << s;
        const std::u16string key = CompareKey(s.c_str()), previousKey = CompareKey(previous.c_str());
        ASSERT_EQ(CompareNoCase(s.c_str(), previous.c_str()) < 0, key < previousKey) << s;
        ASSERT_EQ(CompareNoCase(s.c_str(), previous.c_str()) == 0, key == previousKey) << s;
        std::string twice = upper;
        MakeUpper(twice);
        ASSERT_EQ(twice, upper);

        const int found = ReverseFind(s, '\\');
        ASSERT_TRUE(found == -1 || s[found] == '\\') << s;
        std::string trimmed = s;
        TrimRightBackslashes(trimmed);
        ASSERT_EQ(s.compare(0, trimmed.size(), trimmed), 0);
        ASSERT_TRUE(trimmed.empty() || ReverseFind(trimmed, '\\') != static_cast<int>(trimmed.size()) - 1) << s;
        previous = s;
    }
}
} // namespace
