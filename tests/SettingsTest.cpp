// The settings file, read and written for real in a folder of the test's own.
#include <gtest/gtest.h>
#include <windows.h>
#include <array>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include "TestHelpers.h"
#include "TempFolder.h"
#include "app/PlacementText.h"
#include "app/ProfileSection.h"
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

std::wstring Wide(const std::string& text)
{
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<size_t>(::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                                          wide.data(), static_cast<int>(wide.size()))));
    return wide;
}

void SavePlacement(const WINDOWPLACEMENT& placement, const std::string& ini)
{
    SaveSettings({placement, std::nullopt, std::nullopt}, ini);
}

void SaveTopMost(bool topMost, const std::string& ini)
{
    SaveSettings({std::nullopt, std::nullopt, topMost}, ini);
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ReadBytes(const std::string& path)
{
    return FileContents(path);
}

// The NUL-separated strings of a profile function's answer, up to the first empty one.
std::vector<std::wstring> Strings(const std::wstring& buffer)
{
    std::vector<std::wstring> strings;
    for (size_t at = 0; at < buffer.size() && buffer[at] != L'\0'; at += strings.back().size() + 1)
        strings.emplace_back(buffer.c_str() + at);
    return strings;
}

// Files of every shape a settings file may come in.
struct HostileFile {
    const char* what;
    std::string bytes;
};

std::vector<HostileFile> HostileFiles()
{
    std::mt19937 random(12);
    std::string garbage(4096, '\0');
    for (char& c : garbage)
        c = static_cast<char>(random());
    std::string high;
    for (int b = 0x80; b <= 0xFF; ++b)
        high += static_cast<char>(b);
    std::string stale;
    for (int i = 0; i < 200; ++i)
        stale += "DirTree" + std::to_string(i) + "=gone\\" + std::to_string(i) + "\r\n";
    const std::u16string utf16 = u"[Settings]\r\nDirTree0=\u65E5\u672C\r\nDirTree1=\uD55C\uAE00\r\n[Other]\r\nk=\u2713\r\n";
    const std::string cut = "DirTree0=" + std::string(259, 'a') + "\r\nDirTree1=" + std::string(260, 'b') +
                            "\r\nDirTree2=\"" + std::string(258, 'c') + "\"\r\nDirTree3=\"" + std::string(259, 'd') +
                            "\"\r\nDirTree4=\"" + std::string(260, 'e') + "\"\r\nDirTree5=" + std::string(258, 'f') +
                            "\x83\x5C\r\nDirTree6=" + std::string(257, 'g') + "\x83\x5C\r\n";
    return {
        {"empty", ""},
        {"blanks around keys and values",
         "[Settings]\r\n  WindowPos  =  2,3,-1,-1,-32000,-32000,10,20,300,400  \r\n\tTopMost\t=\t1 \r\n DirTree0 =  a b  "
         "\r\nDirTree1=\x81\x40" "c\x81\x40\r\n\x81\x40" "DirTree2=ideographic\r\n"},
        {"quotes",
         "[Settings]\r\nDirTree0=\"q\"\r\nDirTree1='s'\r\nDirTree2=\"\r\nDirTree3=\"'mixed\"'\r\nDirTree4=\" in \"side\"\r\n"
         "TopMost=\"1\"\r\nDirTree5=\"\"\r\nDirTree6=after\r\nWindowPos=' 1,1,0,0,0,0,1,2,3,4'\r\n"},
        {"duplicate keys, in other case",
         "[Settings]\r\ndirtree0=first\r\nDIRTREE0=second\r\nDirTree1=one\r\nDirTree1=two\r\nDirTree2=x\r\n"
         "TOPMOST=0\r\ntopmost=1\r\nwindowpos=1,1,0,0,0,0,5,5,50,50\r\nDirTree3=three\r\nDirTree3=again\r\n"},
        {"comments", "[Settings]\r\n;DirTree0=commented\r\n; a note\r\nDirTree0=a\r\n;TopMost=1\r\nDirTree1=b\r\n"},
        {"a section named twice",
         "[Settings]\r\nDirTree0=a\r\nDirTree1=b\r\nDirTree2=c\r\n[Other]\r\nx=1\r\n[settings]\r\nDirTree1=shadow\r\n"
         "TopMost=1\r\n[ Settings ]\r\nDirTree2=spaced\r\n"},
        {"lines without =",
         "[Settings]\r\njunk\r\nDirTree0\r\nDirTree1=b\r\nTopMost\r\n=orphan\r\nDirTree0=hidden\r\nDirTree2=c\r\n"
         "DirTree2\r\nDirTree2=hidden\r\n[Other]\r\nbare\r\n"},
        {"a line of 100 KB",
         "[Settings]\r\nWindowPos=" + std::string(100 * 1024, '7') + "\r\nDirTree0=" + std::string(100 * 1024, 'x') +
             "\r\nTopMost=1\r\n"},
        {"bytes 0x80-0xFF",
         "[Settings]\r\nDirTree0=" + high + "\r\nDirTree1=" + high.substr(1) + "\r\n" + high.substr(0x5F) + "=key\r\n"
             "DirTree2=\x81\r\nDirTree3=\x83\x5C\r\n[\x83\x5D]\r\nk=\xFC\r\n"},
        {"no final newline", "[Other]\r\nk=v\r\n[Settings]\r\nDirTree0=a\r\nDirTree1=last"},
        {"lone line ends and end-of-file marks", "[Settings]\rDirTree0=a\nDirTree1=b\r\r\n\x1a" "DirTree2=c\x1a\r\n"},
        {"values at the cut", "[Settings]\r\n" + cut + "WindowPos=4294967295,4294967295,-2147483648,-2147483648,-2147483648,0,0,0,0,0\r\n"},
        {"numbers",
         "[Settings]\r\nTopMost= -0x10\r\nN0=0b101\r\nN1=0o17\r\nN2=4294967296\r\nN3=99999999999\r\nN4=0X10\r\nN5=\"3\"\r\n"
         "N6=12abc\r\nN7=\x82\x54\r\nN8=+\r\nN9=0x\r\nN10='-7'\r\nN11=" + std::string(40, '9') + "\r\nN12=\x01\x02" "5\r\n"},
        {"200 stale folders", "[Settings]\r\nTopMost=1\r\n" + stale + "[Other]\r\nkept=yes\r\n"},
        {"random bytes", garbage},
        {"random bytes in the section", "[Settings]\r\nDirTree0=a\r\n" + garbage},
        {"UTF-8", "\xEF\xBB\xBF[Settings]\r\nDirTree0=\xE6\x97\xA5\r\nDirTree1=\xED\x95\x9C\r\n[Other]\r\nk=\xE2\x9C\x93\r\n"},
        {"UTF-16", "\xFF\xFE" + std::string(reinterpret_cast<const char*>(utf16.data()), utf16.size() * 2)},
    };
}

// What the program read before, key by key through the ANSI profile functions.
struct KeyByKeyRead {
    std::optional<PlacementText> placement;
    bool topMost = false;
    std::vector<std::string> folders;
};

KeyByKeyRead ReadKeyByKey(const std::string& ini)
{
    KeyByKeyRead read;
    if (!FileExists(ini))
        return read;
    char text[kPlacementTextSize] = {};
    ::GetPrivateProfileStringA(kSection, "WindowPos", "", text, sizeof text, ini.c_str());
    read.placement = ScanPlacement(text);
    read.topMost = ::GetPrivateProfileIntA(kSection, "TopMost", 0, ini.c_str()) != 0;
    for (int i = 0;; ++i) {
        char folder[260] = {};
        ::GetPrivateProfileStringA(kSection, ("DirTree" + std::to_string(i)).c_str(), "", folder, sizeof folder,
                                   ini.c_str());
        if (folder[0] == '\0')
            return read;
        read.folders.push_back(folder);
    }
}

std::optional<PlacementText> Text(const std::optional<WINDOWPLACEMENT>& p)
{
    if (!p)
        return std::nullopt;
    const RECT& r = p->rcNormalPosition;
    return PlacementText{p->flags,           p->showCmd,          p->ptMinPosition.x, p->ptMinPosition.y, p->ptMaxPosition.x,
                         p->ptMaxPosition.y, r.left, r.top, r.right, r.bottom};
}

// The close of the program as the key-by-key writes made it: each key written on its own,
// the stale run deleted one key at a time for as long as the next reads non-empty.
void SaveKeyByKey(const std::string& ini, const char* placement, const std::vector<std::string>& folders, bool topMost)
{
    ::WritePrivateProfileStringA(kSection, "WindowPos", placement, ini.c_str());
    size_t index = 0;
    for (const std::string& folder : folders)
        ::WritePrivateProfileStringA(kSection, ("DirTree" + std::to_string(index++)).c_str(), folder.c_str(),
                                     ini.c_str());
    for (;; ++index) {
        const std::string key = "DirTree" + std::to_string(index);
        char value[260] = {};
        ::GetPrivateProfileStringA(kSection, key.c_str(), "", value, sizeof value, ini.c_str());
        if (value[0] == '\0')
            break;
        ::WritePrivateProfileStringA(kSection, key.c_str(), nullptr, ini.c_str());
    }
    ::WritePrivateProfileStringA(kSection, "TopMost", topMost ? "1" : "0", ini.c_str());
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

    std::string FileText() const { return FileContents(m_ini); }

    TempFolder m_temp;
    const std::string m_folder = m_temp.Path();
    std::string m_ini;
};

TEST_F(SettingsTest, WithoutTheFileNothingIsReadAndTopMostCreatesNothing)
{
    EXPECT_FALSE(FileExists(m_ini));

    const SavedSettings none = ReadSettings(m_ini);
    EXPECT_FALSE(none.placement.has_value());
    EXPECT_FALSE(none.topMost);
    EXPECT_TRUE(none.folders.empty());

    SaveTopMost(true, m_ini);
    EXPECT_FALSE(FileExists(m_ini)) << "TopMost alone never creates the file";
    EXPECT_TRUE(Entries().empty());

    SavePlacement(Placement(0, SW_SHOWNORMAL, {-1, -1}, {-1, -1}, {10, 20, 30, 40}), m_ini);
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
        SavePlacement(Placement(0, SW_SHOWNORMAL, {0, 0}, {0, 0}, {1, 2, 3, 4}), ini);
        WriteDirTreeList({"a", "b"}, ini);
        SaveTopMost(true, ini);
        EXPECT_TRUE(Entries().empty()) << "nothing made under another name, here or in the current directory";

        EXPECT_FALSE(FileExists(ini));
        const SavedSettings none = ReadSettings(ini);
        EXPECT_FALSE(none.placement.has_value());
        EXPECT_TRUE(none.folders.empty());
        EXPECT_FALSE(none.topMost);
    }
    ::SetCurrentDirectoryA(saved.c_str());
}

TEST_F(SettingsTest, PlacementRoundTripsThroughTenNumbers)
{
    const WINDOWPLACEMENT first = Placement(WPF_RESTORETOMAXIMIZED, SW_SHOWMAXIMIZED, {-1, -1}, {-32000, -32000},
                                            {-1920, 8, -960, 1040});
    SavePlacement(first, m_ini);
    EXPECT_EQ(Raw("WindowPos"), "2,3,-1,-1,-32000,-32000,-1920,8,-960,1040");

    std::optional<WINDOWPLACEMENT> read = ReadSettings(m_ini).placement;
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(Fields(*read), Fields(first));
    EXPECT_EQ(read->length, sizeof(WINDOWPLACEMENT));

    const WINDOWPLACEMENT second = Placement(0, SW_SHOWMINIMIZED, {100, 200}, {0, 0}, {1, 2, 1281, 1025});
    SavePlacement(second, m_ini);
    read = ReadSettings(m_ini).placement;
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(Fields(*read), Fields(second));
    EXPECT_EQ(FileText().find("WindowPos"), FileText().rfind("WindowPos")) << "one key, replaced";

    const std::string before = Raw("WindowPos");
    SavePlacement(Placement(UINT_MAX, UINT_MAX, {LONG_MIN, LONG_MIN}, {LONG_MIN, LONG_MIN},
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
        EXPECT_FALSE(ReadSettings(m_ini).placement.has_value());
    }

    SetRaw("WindowPos", "1,1,3,4,5,6,7,8,9,10 and more,11");
    std::optional<WINDOWPLACEMENT> placement = ReadSettings(m_ini).placement;
    ASSERT_TRUE(placement.has_value());
    EXPECT_EQ(Fields(*placement), Fields(Placement(1, 1, {3, 4}, {5, 6}, {7, 8, 9, 10})));

    SetRaw("WindowPos", "-1,-3,0,0,0,0,0,0,0,0");
    placement = ReadSettings(m_ini).placement;
    ASSERT_TRUE(placement.has_value());
    EXPECT_EQ(placement->flags, UINT_MAX) << "a negative unsigned field wraps";
    EXPECT_EQ(placement->showCmd, UINT_MAX - 2);
}

TEST_F(SettingsTest, FolderListIsDenseFromZero)
{
    SetRaw("DirTree0", "a");
    SetRaw("DirTree2", "c");
    EXPECT_EQ(ReadSettings(m_ini).folders, std::vector<std::string>{"a"}) << "up to the first gap";

    WriteDirTreeList({"x"}, m_ini);
    EXPECT_EQ(Raw("DirTree0"), "x");
    EXPECT_EQ(Raw("DirTree1"), kAbsent);
    EXPECT_EQ(Raw("DirTree2"), "c") << "beyond the gap nothing is touched";

    SetRaw("DirTree0", "");
    SetRaw("DirTree1", "b");
    EXPECT_TRUE(ReadSettings(m_ini).folders.empty()) << "an empty value ends the list";
}

TEST_F(SettingsTest, WritingAShorterListDeletesTheStaleRun)
{
    const std::vector<std::string> five{"one", "two", "three", "four", "five"};
    WriteDirTreeList(five, m_ini);
    EXPECT_EQ(ReadSettings(m_ini).folders, five);

    const std::vector<std::string> two{"alpha", "beta"};
    WriteDirTreeList(two, m_ini);
    EXPECT_EQ(Raw("DirTree0"), "alpha");
    EXPECT_EQ(Raw("DirTree1"), "beta");
    for (const char* key : {"DirTree2", "DirTree3", "DirTree4", "DirTree5"})
        EXPECT_EQ(FileText().find(key), std::string::npos) << key;
    EXPECT_EQ(ReadSettings(m_ini).folders, two);

    SaveTopMost(true, m_ini);
    WriteDirTreeList({}, m_ini);
    EXPECT_EQ(FileText().find("DirTree"), std::string::npos);
    EXPECT_EQ(Raw("TopMost"), "1") << "other keys stay";
    EXPECT_TRUE(ReadSettings(m_ini).folders.empty());
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
    EXPECT_EQ(ReadSettings(m_ini).folders, folders);

    WriteDirTreeList({"a", "", "b"}, m_ini);
    EXPECT_EQ(ReadSettings(m_ini).folders, (std::vector<std::string>{"a", "b"})) << "an empty name must not hide the rest";
}

TEST_F(SettingsTest, LongFolderNamesAreCutWhereTheReaderStops)
{
    const std::string long300(300, 'a');
    WriteDirTreeList({long300, std::string(258, 'b') + "\x83\x5C"}, m_ini);
    EXPECT_EQ(Raw("DirTree0"), long300) << "written whole";

    const std::vector<std::string> list = ReadSettings(m_ini).folders;
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
    EXPECT_FALSE(ReadSettings(m_ini).topMost) << "no key";

    SaveTopMost(true, m_ini);
    EXPECT_EQ(Raw("TopMost"), "1");
    EXPECT_TRUE(ReadSettings(m_ini).topMost);
    SaveTopMost(false, m_ini);
    EXPECT_EQ(Raw("TopMost"), "0");
    EXPECT_FALSE(ReadSettings(m_ini).topMost);

    const std::pair<const char*, bool> values[] = {{"5", true}, {"-1", true}, {"abc", false}, {"", false}};
    for (const auto& [text, expected] : values) {
        SetRaw("TopMost", text);
        EXPECT_EQ(ReadSettings(m_ini).topMost, expected) << text;
    }
}
TEST_F(SettingsTest, EveryFileReadsAsTheProfileFunctionsReadItKeyByKey)
{
    for (const HostileFile& file : HostileFiles()) {
        SCOPED_TRACE(file.what);
        WriteBytes(m_ini, file.bytes);
        const SavedSettings read = ReadSettings(m_ini);
        const KeyByKeyRead expected = ReadKeyByKey(m_ini);
        EXPECT_EQ(Text(read.placement), expected.placement);
        EXPECT_EQ(read.topMost, expected.topMost);
        EXPECT_EQ(read.folders, expected.folders);

        // Under it, every key the file lists and every one the program asks for, in each of
        // the program's buffer sizes, against the wide profile functions it stands in for.
        const std::wstring path = Wide(m_ini);
        std::wstring buffer(1 << 22, L'\0');
        ::GetPrivateProfileSectionW(L"Settings", buffer.data(), static_cast<DWORD>(buffer.size()), path.c_str());
        std::wstring lines;
        for (const std::wstring& line : Strings(buffer))
            lines += line + L'\0';
        const ProfileSection section(std::u16string(lines.begin(), lines.end()));
        ::GetPrivateProfileStringW(L"Settings", nullptr, L"", buffer.data(), static_cast<DWORD>(buffer.size()),
                                   path.c_str());
        std::vector<std::wstring> keys = Strings(buffer);
        for (const wchar_t* key : {L"WindowPos", L"windowpos", L"TopMost", L"TOPMOST", L"Missing"})
            keys.emplace_back(key);
        for (size_t i = 0; i < expected.folders.size() + 2; ++i)
            keys.push_back(L"DirTree" + std::to_wstring(i));
        for (const std::wstring& key : keys) {
            for (DWORD size : {30u, 68u, 260u}) {
                std::wstring value(size, L'\0');
                ::GetPrivateProfileStringW(L"Settings", key.c_str(), L"", value.data(), size, path.c_str());
                value.resize(value.find(L'\0'));
                const std::u16string mine = section.Value(std::u16string(key.begin(), key.end()), size);
                EXPECT_EQ(std::wstring(mine.begin(), mine.end()), value) << key.size() << " " << size;
            }
            EXPECT_EQ(section.Int(std::u16string(key.begin(), key.end()), 42),
                      ::GetPrivateProfileIntW(L"Settings", key.c_str(), 42, path.c_str()));
        }
    }
}

TEST_F(SettingsTest, EverySaveLeavesWhatTheKeyByKeyWritesLeave)
{
    const std::string reference = m_folder + "\\key-by-key.ini";
    const char placementText[] = "0,1,-1,-1,-1,-1,100,120,500,420";
    const WINDOWPLACEMENT placement = Placement(0, SW_SHOWNORMAL, {-1, -1}, {-1, -1}, {100, 120, 500, 420});
    const std::vector<std::string> lists[] = {{"Games", "Games\\Arcade", "\x83\x5C"}, {}};
    for (const HostileFile& file : HostileFiles()) {
        for (const std::vector<std::string>& list : lists) {
            SCOPED_TRACE(std::string(file.what) + ", " + std::to_string(list.size()) + " folders");
            WriteBytes(m_ini, file.bytes);
            WriteBytes(reference, file.bytes);
            SaveSettings({placement, list, true}, m_ini);
            SaveKeyByKey(reference, placementText, list, true);
            EXPECT_EQ(ReadBytes(m_ini), ReadBytes(reference));
            EXPECT_EQ(Entries().size(), 2u) << "no copy left behind";
        }
    }
}

TEST_F(SettingsTest, ASaveKeepsWhatTheUserWroteWhereItWas)
{
    WriteBytes(m_ini, "[Settings]\r\n; written by hand\r\nWindowPos=0,1,0,0,0,0,1,2,3,4\r\nMine=kept\r\nDirTree0=Old\r\n"
                      ";DirTree1=Disabled\r\nDirTree1=Older\r\nTopMost = 0\r\n[Other]\r\nk=v\r\n"
                      "[Settings]\r\nSecond=kept\r\nDirTree0=shadowed\r\n");
    SaveSettings({Placement(0, SW_SHOWNORMAL, {-1, -1}, {-1, -1}, {100, 120, 500, 420}), std::vector<std::string>{"Games"},
                  true},
                 m_ini);
    EXPECT_EQ(ReadBytes(m_ini), "[Settings]\r\n; written by hand\r\nWindowPos=0,1,-1,-1,-1,-1,100,120,500,420\r\n"
                                "Mine=kept\r\nDirTree0=Games\r\n;DirTree1=Disabled\r\nTopMost=1\r\n[Other]\r\nk=v\r\n"
                                "[Settings]\r\nSecond=kept\r\nDirTree0=shadowed\r\n");

    // Written by hand with blanks around "=": read as the key, and written over, never twice.
    WriteBytes(m_ini, "[Settings]\r\nTopMost = 1\r\n");
    EXPECT_TRUE(ReadSettings(m_ini).topMost);
    SaveSettings({std::nullopt, std::vector<std::string>{"a"}, false}, m_ini);
    EXPECT_EQ(Raw("TopMost"), "0");
    const std::string text = FileText();
    EXPECT_EQ(text.find("TopMost"), text.rfind("TopMost")) << text;
}

TEST_F(SettingsTest, ASaveThatChangesNothingMakesAndReplacesNothing)
{
    WriteDirTreeList({}, m_ini);
    SaveSettings({std::nullopt, std::vector<std::string>{}, true}, m_ini);
    EXPECT_TRUE(Entries().empty()) << "no folders and no file: the key-by-key writes make none";

    WriteBytes(m_ini, "[Settings]\r\nDirTree0=a\r\nTopMost=1\r\n");
    const auto identity = [this] {
        const UniqueFileHandle file(::CreateFileA(m_ini.c_str(), 0, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        BY_HANDLE_FILE_INFORMATION info{};
        ::GetFileInformationByHandle(file.get(), &info);
        return std::pair{info.nFileIndexHigh, info.nFileIndexLow};
    };
    const auto before = identity();
    SaveSettings({std::nullopt, std::vector<std::string>{"a"}, true}, m_ini);
    EXPECT_EQ(identity(), before) << "the same values again";
    SaveSettings({std::nullopt, std::vector<std::string>{"b"}, true}, m_ini);
    EXPECT_NE(identity(), before) << "a change replaces the file";
    EXPECT_EQ(Entries().size(), 1u);
}

TEST_F(SettingsTest, ALinkStaysALinkAndAFileOfTwoNamesKeepsBoth)
{
    // Wine makes no symbolic links, so CTest has one made on the Linux side.
    const char* links = std::getenv("FERNWICK_LINKS");
    ASSERT_NE(links, nullptr) << "run through CTest, which makes the links";
    const std::string link = std::string(links) + "\\link\\Fernwick.ini";
    const std::string target = std::string(links) + "\\real\\Fernwick.ini";
    const auto identity = [](const std::string& path) {
        const UniqueFileHandle file(::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                  OPEN_EXISTING, 0, nullptr));
        BY_HANDLE_FILE_INFORMATION info{};
        ::GetFileInformationByHandle(file.get(), &info);
        return std::array<DWORD, 4>{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow,
                                    info.nNumberOfLinks};
    };
    const SettingsToSave save{Placement(0, SW_SHOWNORMAL, {0, 0}, {0, 0}, {1, 2, 3, 4}),
                              std::vector<std::string>{"new"}, true};
    ASSERT_EQ(identity(link), identity(target));
    SaveSettings(save, link);
    EXPECT_EQ(identity(link), identity(target)) << "the link was replaced by a file of its own";
    SavedSettings read = ReadSettings(target);
    EXPECT_TRUE(read.placement.has_value());
    EXPECT_EQ(read.folders, std::vector<std::string>{"new"});
    EXPECT_TRUE(read.topMost);
    char kept[8] = {};
    ::GetPrivateProfileStringA("Other", "kept", "", kept, sizeof kept, target.c_str());
    EXPECT_STREQ(kept, "yes");

    // A link to a file not made yet: the first save makes the file the link names.
    const std::string dangling = std::string(links) + "\\dangling\\Fernwick.ini";
    const std::string later = std::string(links) + "\\later\\Fernwick.ini";
    ASSERT_FALSE(FileExists(later));
    SaveTopMost(true, dangling);
    EXPECT_FALSE(FileExists(later)) << "TopMost alone makes no file";
    SaveSettings(save, dangling);
    ASSERT_TRUE(FileExists(later));
    EXPECT_EQ(identity(dangling), identity(later)) << "the link was replaced by a file of its own";
    read = ReadSettings(dangling);
    EXPECT_EQ(read.folders, std::vector<std::string>{"new"});
    EXPECT_TRUE(read.topMost);

    // A second name, as a user makes it on Windows: written in place, both names see it.
    // Beside it a file with the name the copy once had: a file of the user's stays.
    SetRaw("DirTree0", "old");
    WriteBytes(m_ini + ".new", "the user's");
    const std::string second = m_folder + "\\second.ini";
    ASSERT_TRUE(::CreateHardLinkA(second.c_str(), m_ini.c_str(), nullptr));
    WriteDirTreeList({"shared"}, m_ini);
    EXPECT_EQ(identity(second), identity(m_ini));
    EXPECT_EQ(identity(m_ini)[3], 2u);
    EXPECT_EQ(ReadSettings(second).folders, std::vector<std::string>{"shared"});
    SaveTopMost(true, m_ini);
    EXPECT_EQ(ReadBytes(m_ini + ".new"), "the user's");
    EXPECT_EQ(Entries().size(), 3u);
}

} // namespace
