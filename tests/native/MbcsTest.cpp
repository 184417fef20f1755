// The double-byte helpers and the runtime's case rules at the cases worth naming, on the build
// machine under the address and undefined-behaviour sanitizers; random bytes are the fuzz
// targets' (tests/fuzz).
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>
#include "tree/PathHelpers.h"

namespace {
TEST(MbcsSearch, SecondBytesThatLookLikeBackslashes)
{
    EXPECT_EQ(ReverseFind("\x83\x5C", '\\'), -1);
    EXPECT_EQ(ReverseFind("\\", '\\'), 0);
    EXPECT_EQ(ReverseFind("abc", '\\'), -1);
    EXPECT_EQ(ReverseFind("", '\\'), -1);
    EXPECT_EQ(ReverseFind("a\\b\\\x95\x5C", '\\'), 3);
    EXPECT_EQ(ReverseFind("a\\\x83\x5C", '\\'), 1);
    EXPECT_EQ(ReverseFind("\x83x\\", '\\'), 2) << "a lead byte before a non-trail byte is a byte of its own";
    EXPECT_EQ(ReverseFind("a\\\x83", '\\'), 1) << "a lead byte before the terminator";
    EXPECT_EQ(ReverseFind("\xFA\x5C", '\\'), -1) << "IBM extension kanji such as FA 5C";
    EXPECT_EQ(ReverseFind("\xFC\x5C", '\\'), -1) << "the runtime's lead bytes run to 0xFC";

    EXPECT_FALSE(EndsWithBackslash(""));
    EXPECT_FALSE(EndsWithBackslash("Root\\\xFB\x5C"));
    EXPECT_FALSE(EndsWithBackslash("Root\\\x83\x5C"));
    EXPECT_FALSE(EndsWithBackslash("Root\\\x95\x5C"));
    EXPECT_FALSE(EndsWithBackslash("\x94\x5C"));
    EXPECT_FALSE(EndsWithBackslash("Root\\\x83"));
    EXPECT_TRUE(EndsWithBackslash("D:\\"));
    EXPECT_TRUE(EndsWithBackslash("Root\\\x83\x5C\\"));
    EXPECT_TRUE(EndsWithBackslash("\\"));
}

TEST(MbcsSearch, TrimRightBackslashes)
{
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

TEST(MbcsSort, FoldedCaseKeepsTheOrderItCameIn)
{
    std::vector<std::string> list{"b", "A", "_x", "B"};
    SortNoCase(list);
    EXPECT_EQ(list, (std::vector<std::string>{"_x", "A", "b", "B"}));
}
} // namespace
