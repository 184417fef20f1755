// The settings file, read and written for real in a folder of the test's own.
#include <gtest/gtest.h>
#include <windows.h>
#include <array>
#include <climits>
#include <cstring>
#include <fstream>
#include <iterator>
#include "TempFolder.h"
#include "app/Settings.h"
#include "framework/Path.h"
#include "framework/Handles.h"

namespace {
constexpr char kSection[] = "Settings";
constexpr char kAbsent[] = "<absent>";

std::array<long long, 11> Fields(const WINDOWPLACEMENT& p)
{
    return {p.length, p.flags, p.showCmd, p.ptMinPosition.x, p.ptMinPosition.y, p.ptMaxPosition.x,
            p.ptMaxPosition.y, p.rcNormalPosition.left, p.rcNormalPosition.top, p.rcNormalPosition.right,
            p.rcNormalPosition.bottom};
}

// Every byte set, so that any field a failed read touches shows.
WINDOWPLACEMENT Sentinel()
{
    WINDOWPLACEMENT p;
    std::memset(&p, 0xA5, sizeof p);
    return p;
}

WINDOWPLACEMENT Placement(UINT flags, UINT showCmd, POINT min, POINT max, RECT normal)
{
    WINDOWPLACEMENT p{};
    p.length = sizeof p;
    p.flags = flags;
    p.showCmd = showCmd;
    p.ptMinPosition = min;
    p.ptMaxPosition = max;
    p.rcNormalPosition = normal;
    return p;
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { m_ini = m_folder + "\\Fernwick.ini"; }

    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAA data;
        const UniqueFindHandle find(::FindFirstFileA((m_folder + "\\*").c_str(), &data));
        for (BOOL more = static_cast<bool>(find); more; more = ::FindNextFileA(find.get(), &data)) {
            const std::string name = data.cFileName;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        return names;
    }

    std::string Raw(const std::string& key) const
    {
        char value[1024] = {};
        ::GetPrivateProfileStringA(kSection, key.c_str(), kAbsent, value, sizeof value, m_ini.c_str());
        return value;
    }

    void SetRaw(const std::string& key, const std::string& value) const
    {
        ASSERT_TRUE(::WritePrivateProfileStringA(kSection, key.c_str(), value.c_str(), m_ini.c_str()));
    }

    std::string FileText() const
    {
        std::ifstream file(m_ini, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    TempFolder m_temp;
    const std::string m_folder = m_temp.Path();
    std::string m_ini;
};

TEST_F(SettingsTest, WithoutTheFileNothingIsReadAndTopMostCreatesNothing)
{
    EXPECT_FALSE(FileExists(m_ini));

    WINDOWPLACEMENT placement = Sentinel();
    EXPECT_FALSE(ReadWindowPlacement(placement, m_ini));
    EXPECT_EQ(Fields(placement), Fields(Sentinel()));

    EXPECT_FALSE(ReadTopMost(m_ini));
    WriteTopMost(true, m_ini);
    EXPECT_FALSE(FileExists(m_ini)) << "TopMost alone never creates the file";
    EXPECT_TRUE(Entries().empty());

    std::vector<std::string> list{"kept"};
    EXPECT_FALSE(ReadDirTreeList(list, m_ini));
    EXPECT_EQ(list, std::vector<std::string>{"kept"});

    WriteWindowPlacement(Placement(0, SW_SHOWNORMAL, {-1, -1}, {-1, -1}, {10, 20, 30, 40}), m_ini);
    EXPECT_TRUE(FileExists(m_ini)) << "the placement write creates the file";
}

TEST_F(SettingsTest, UnreachableFilesAreNeverReadOrCreated)
{
    // The current directory is where a mangled long name would land.
    const std::string saved = AfxGetCurrentDirectory();
    ::SetCurrentDirectoryA(m_folder.c_str());
    const std::string unreachable[] = {
        m_folder + "\\missing\\Fernwick.ini",
        m_folder + '\\' + std::string(MAX_PATH, 'n') + ".ini",
    };
    for (const std::string& ini : unreachable) {
        SCOPED_TRACE(ini.size());
        WriteWindowPlacement(Placement(0, SW_SHOWNORMAL, {0, 0}, {0, 0}, {1, 2, 3, 4}), ini);
        WriteDirTreeList({"a", "b"}, ini);
        WriteTopMost(true, ini);
        EXPECT_TRUE(Entries().empty()) << "nothing made under another name, here or in the current directory";

        EXPECT_FALSE(FileExists(ini));
        WINDOWPLACEMENT placement = Sentinel();
        EXPECT_FALSE(ReadWindowPlacement(placement, ini));
        EXPECT_EQ(Fields(placement), Fields(Sentinel()));
        std::vector<std::string> list;
        EXPECT_FALSE(ReadDirTreeList(list, ini));
        EXPECT_TRUE(list.empty());
        EXPECT_FALSE(ReadTopMost(ini));
    }
    ::SetCurrentDirectoryA(saved.c_str());
}

TEST_F(SettingsTest, PlacementRoundTripsThroughTenNumbers)
{
    const WINDOWPLACEMENT first = Placement(WPF_RESTORETOMAXIMIZED, SW_SHOWMAXIMIZED, {-1, -1}, {-32000, -32000},
                                            {-1920, 8, -960, 1040});
    WriteWindowPlacement(first, m_ini);
    EXPECT_EQ(Raw("WindowPos"), "2,3,-1,-1,-32000,-32000,-1920,8,-960,1040");

    WINDOWPLACEMENT read = Sentinel();
    ASSERT_TRUE(ReadWindowPlacement(read, m_ini));
    EXPECT_EQ(Fields(read), Fields(first));
    EXPECT_EQ(read.length, sizeof(WINDOWPLACEMENT));

    const WINDOWPLACEMENT second = Placement(0, SW_SHOWMINIMIZED, {100, 200}, {0, 0}, {1, 2, 1281, 1025});
    WriteWindowPlacement(second, m_ini);
    ASSERT_TRUE(ReadWindowPlacement(read, m_ini));
    EXPECT_EQ(Fields(read), Fields(second));
    EXPECT_EQ(FileText().find("WindowPos"), FileText().rfind("WindowPos")) << "one key, replaced";

    const std::string before = Raw("WindowPos");
    WriteWindowPlacement(Placement(UINT_MAX, UINT_MAX, {LONG_MIN, LONG_MIN}, {LONG_MIN, LONG_MIN},
                                   {LONG_MIN, LONG_MIN, LONG_MIN, LONG_MIN}),
                         m_ini);
    EXPECT_EQ(Raw("WindowPos"), before) << "text too long to read back whole is not written";
}

TEST_F(SettingsTest, PlacementNeedsTenLeadingNumbers)
{
    const std::string rejected[] = {
        "",
        "1,2,3,4,5,6,7,8,9",
        "1,2,x,4,5,6,7,8,9,10",
        "1;2;3;4;5;6;7;8;9;10",
        // Ten numbers, but past what the reader holds.
        "0000000001,0000000002,0000000003,0000000004,0000000005,0000000006,0000000007,0000000008,"
        "0000000009,0000000010",
    };
    for (const std::string& text : rejected) {
        SCOPED_TRACE(text);
        SetRaw("WindowPos", text);
        WINDOWPLACEMENT placement = Sentinel();
        EXPECT_FALSE(ReadWindowPlacement(placement, m_ini));
        EXPECT_EQ(Fields(placement), Fields(Sentinel()));
    }

    WINDOWPLACEMENT placement = Sentinel();
    SetRaw("WindowPos", "1,1,3,4,5,6,7,8,9,10 and more,11");
    ASSERT_TRUE(ReadWindowPlacement(placement, m_ini));
    EXPECT_EQ(Fields(placement), Fields(Placement(1, 1, {3, 4}, {5, 6}, {7, 8, 9, 10})));

    SetRaw("WindowPos", "-1,-3,0,0,0,0,0,0,0,0");
    ASSERT_TRUE(ReadWindowPlacement(placement, m_ini));
    EXPECT_EQ(placement.flags, UINT_MAX) << "a negative unsigned field wraps";
    EXPECT_EQ(placement.showCmd, UINT_MAX - 2);
}

TEST_F(SettingsTest, FolderListIsDenseFromZero)
{
    SetRaw("DirTree0", "a");
    SetRaw("DirTree2", "c");
    std::vector<std::string> list{"kept"};
    ASSERT_TRUE(ReadDirTreeList(list, m_ini));
    EXPECT_EQ(list, (std::vector<std::string>{"kept", "a"})) << "appended, up to the first gap";

    WriteDirTreeList({"x"}, m_ini);
    EXPECT_EQ(Raw("DirTree0"), "x");
    EXPECT_EQ(Raw("DirTree1"), kAbsent);
    EXPECT_EQ(Raw("DirTree2"), "c") << "beyond the gap nothing is touched";

    SetRaw("DirTree0", "");
    SetRaw("DirTree1", "b");
    list.clear();
    EXPECT_FALSE(ReadDirTreeList(list, m_ini));
    EXPECT_TRUE(list.empty()) << "an empty value ends the list";
}

TEST_F(SettingsTest, WritingAShorterListDeletesTheStaleRun)
{
    const std::vector<std::string> five{"one", "two", "three", "four", "five"};
    WriteDirTreeList(five, m_ini);
    std::vector<std::string> list;
    ASSERT_TRUE(ReadDirTreeList(list, m_ini));
    EXPECT_EQ(list, five);

    const std::vector<std::string> two{"alpha", "beta"};
    WriteDirTreeList(two, m_ini);
    EXPECT_EQ(Raw("DirTree0"), "alpha");
    EXPECT_EQ(Raw("DirTree1"), "beta");
    for (const char* key : {"DirTree2", "DirTree3", "DirTree4", "DirTree5"})
        EXPECT_EQ(FileText().find(key), std::string::npos) << key;
    list.clear();
    ASSERT_TRUE(ReadDirTreeList(list, m_ini));
    EXPECT_EQ(list, two);

    WriteTopMost(true, m_ini);
    WriteDirTreeList({}, m_ini);
    EXPECT_EQ(FileText().find("DirTree"), std::string::npos);
    EXPECT_EQ(Raw("TopMost"), "1") << "other keys stay";
    list.clear();
    EXPECT_FALSE(ReadDirTreeList(list, m_ini));
    EXPECT_TRUE(list.empty());
}

TEST_F(SettingsTest, FolderNamesRoundTripByteForByte)
{
    const std::vector<std::string> folders{
        "\x83\x5C",                    // its trail byte is a backslash
        "\x83\x5C\\\x95\x5C\\sub",
        "\xFA\x5C\\\xFB\x5C",            // 纊 and 蓜: lead bytes beyond 0xF5
        " leading blank",
        "trailing blank ",
        "'quoted'",
        "\"x",
        "a=b;c",
    };
    WriteDirTreeList(folders, m_ini);
    EXPECT_NE(FileText().find("DirTree0=\x83\x5C\r\n"), std::string::npos) << "code page 932 bytes as they are";
    std::vector<std::string> list;
    ASSERT_TRUE(ReadDirTreeList(list, m_ini));
    EXPECT_EQ(list, folders);

    WriteDirTreeList({"a", "", "b"}, m_ini);
    list.clear();
    ASSERT_TRUE(ReadDirTreeList(list, m_ini));
    EXPECT_EQ(list, (std::vector<std::string>{"a", "b"})) << "an empty name must not hide the rest";
}

TEST_F(SettingsTest, LongFolderNamesAreCutWhereTheReaderStops)
{
    const std::string long300(300, 'a');
    WriteDirTreeList({long300, std::string(258, 'b') + "\x83\x5C"}, m_ini);
    EXPECT_EQ(Raw("DirTree0"), long300) << "written whole";

    std::vector<std::string> list;
    ASSERT_TRUE(ReadDirTreeList(list, m_ini));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], long300.substr(0, 259));
    const std::string& cut = list[1];
    EXPECT_LE(cut.size(), 259u);
    EXPECT_EQ(cut.find('\0'), std::string::npos);
    EXPECT_EQ(cut, (std::string(258, 'b') + "\x83\x5C").substr(0, cut.size())) << "a prefix of what is stored";
}

TEST_F(SettingsTest, TopMostIsKeptOnlyInAnExistingFile)
{
    SetRaw("WindowPos", "0,1,0,0,0,0,0,0,100,100");
    EXPECT_FALSE(ReadTopMost(m_ini)) << "no key";

    WriteTopMost(true, m_ini);
    EXPECT_EQ(Raw("TopMost"), "1");
    EXPECT_TRUE(ReadTopMost(m_ini));
    WriteTopMost(false, m_ini);
    EXPECT_EQ(Raw("TopMost"), "0");
    EXPECT_FALSE(ReadTopMost(m_ini));

    const std::pair<const char*, bool> values[] = {{"5", true}, {"-1", true}, {"abc", false}, {"", false}};
    for (const auto& [text, expected] : values) {
        SetRaw("TopMost", text);
        EXPECT_EQ(ReadTopMost(m_ini), expected) << text;
    }
}
} // namespace
