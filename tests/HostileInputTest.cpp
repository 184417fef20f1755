// What a user's folders and an old settings file may hold, given to the whole program in
// this process: it starts, shows its window where it can be seen, keeps what it must keep,
// never writes past anything, and hands the shell exactly what is on disk.
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include "AppFixture.h"
#include "ShellRecorder.h"
#include "Shortcut.h"
#include "app/Settings.h"
#include "res/resource.h"

namespace {
class HostileInputTest : public AppFixture {
protected:
    std::string FileText() const { return FileContents(Ini()); }
    void WriteFile(const std::string& path, const std::string& bytes) const
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    bool OnScreen() const
    {
        RECT window, screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}, seen;
        ::GetWindowRect(Frame(), &window);
        return ::IsWindowVisible(Frame()) && ::IntersectRect(&seen, &window, &screen);
    }
    std::vector<std::string> TrayCaptions()
    {
        std::vector<std::string> captions;
        shell.onPopup = [&](const TrackPopupCall& popup) {
            for (int i = 0; i < ::GetMenuItemCount(popup.menu); ++i) {
                char text[600] = {};
                ::GetMenuStringA(popup.menu, i, text, sizeof text, MF_BYPOSITION);
                captions.push_back(text);
            }
            return FALSE;
        };
        ::SendMessageA(View().m_hWnd, WM_TRAYNOTIFY, 1, WM_RBUTTONUP);
        return captions;
    }

    ShellRecorder shell;
};

TEST_F(HostileInputTest, SettingsFilesOfAnyShapeStartAndLeaveAValidFileKeepingOtherPrograms)
{
    folder.MakeFile("Root\\a.txt");
    std::mt19937 random(9);
    std::string garbage(4096, '\0');
    for (char& c : garbage)
        c = static_cast<char>(random());
    std::string manyKeys;
    for (int i = 0; i < 10000; ++i)
        manyKeys += "DirTree" + std::to_string(i) + "=gone\\" + std::to_string(i) + "\r\n";
    const std::pair<const char*, std::string> files[] = {
        {"empty", ""},
        {"binary garbage", garbage},
        {"a line of 100 KB", "[Settings]\r\nWindowPos=" + std::string(100 * 1024, '7') + "\r\n"},
        {"10,000 folder keys", "[Settings]\r\n" + manyKeys},
        {"junk top-most", "[Settings]\r\nTopMost=yes please\r\nWindowPos=1,2\r\n"},
    };
    for (const auto& [what, bytes] : files) {
        SCOPED_TRACE(what);
        WriteFile(Ini(), "[Other]\r\nkept=yes\r\n" + bytes);
        Start(SW_SHOWNORMAL);
        EXPECT_TRUE(OnScreen());
        Close();
        EXPECT_TRUE(ReadSettings(Ini()).placement.has_value()) << IniValue("WindowPos");
        EXPECT_TRUE(IniValue("TopMost") == "0" || IniValue("TopMost") == "1") << IniValue("TopMost");
        EXPECT_EQ(IniValue("DirTree0"), "<absent>");
        char kept[8] = {};
        ::GetPrivateProfileStringA("Other", "kept", "", kept, sizeof kept, Ini().c_str());
        EXPECT_STREQ(kept, "yes") << "another program's section";
    }

    // A read-only file is read and left exactly as it was.
    WriteFile(Ini(), "[Settings]\r\nTopMost=1\r\nDirTree0=gone\r\n");
    ::SetFileAttributesA(Ini().c_str(), FILE_ATTRIBUTE_READONLY);
    Start(SW_SHOWNORMAL);
    EXPECT_TRUE(View().m_bTopMost);
    Close();
    EXPECT_EQ(FileText(), "[Settings]\r\nTopMost=1\r\nDirTree0=gone\r\n");
    EXPECT_FALSE(FileExists(folder.Path() + "\\*.tmp")) << "no copy left behind";
    ::SetFileAttributesA(Ini().c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(HostileInputTest, ARootDeletedWhileRunningGivesAnEmptyTreeAndMenuAndComesBack)
{
    folder.MakeFile("Root\\Games\\pong.txt");
    Start();
    RemoveTree(root);
    Command(ID_FILE_REFRESH);
    EXPECT_EQ(Tree().GetCount(), 0u);
    EXPECT_EQ(TrayCaptions().size(), 13u) << "only the fixed items";
    folder.MakeFile("Root\\Games\\pong.txt");
    Command(ID_FILE_REFRESH);
    EXPECT_EQ(ChildTexts(Tree()), std::vector<std::string>{"Games"});
}

TEST_F(HostileInputTest, OddNamesAreShownWholeAndOpenedByTheirExactPath)
{
    // Every lead byte of the code page before a second byte 0x5C, at the start, in the middle
    // and at the end of a name; only the characters the file system takes are there.
    std::vector<std::string> names{"Tom & Jerry.txt", "a&&b.txt", "  two blanks before.txt", "blank after .txt"};
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0)
            continue;
        const std::string character{static_cast<char>(lead), '\x5C'};
        names.push_back(character + "start" + std::to_string(lead) + ".txt");
        names.push_back("mid" + character + std::to_string(lead) + ".txt");
        names.push_back("end" + std::to_string(lead) + character);
    }
    std::vector<std::string> onDisk;
    for (const std::string& name : names) {
        folder.MakeFile("Root\\" + name);
        WIN32_FIND_DATAA found;
        HANDLE h = ::FindFirstFileA((root + "\\" + name).c_str(), &found);
        if (h != INVALID_HANDLE_VALUE && found.cFileName == name)
            onDisk.push_back(name);
        if (h != INVALID_HANDLE_VALUE)
            ::FindClose(h);
    }
    ASSERT_GT(onDisk.size(), 100u);
    Start();
    const std::vector<std::string> texts = ChildTexts(Tree());
    const std::vector<std::string> captions = TrayCaptions();
    for (const std::string& name : onDisk) {
        SCOPED_TRACE(name);
        EXPECT_NE(std::find(texts.begin(), texts.end(), name), texts.end());
        EXPECT_NE(std::find(captions.begin(), captions.end(), name), captions.end());
    }
    // Each item opens by the very bytes on disk, those the file system made of the rest too.
    size_t items = 0;
    for (HTREEITEM h = Tree().GetRootItem(); h != nullptr; h = Tree().GetNextSiblingItem(h), ++items) {
        Tree().SelectItem(h);
        Tree().SendMessage(WM_KEYDOWN, VK_RETURN, 0);
        ASSERT_FALSE(shell.shellExecutes.empty());
        EXPECT_NE(::GetFileAttributesA(shell.shellExecutes.back().file.c_str()), INVALID_FILE_ATTRIBUTES)
            << shell.shellExecutes.back().file;
    }
    EXPECT_EQ(shell.shellExecutes.size(), items);
}

TEST_F(HostileInputTest, NamesOfTwoHundredFiftyFiveBytesAndPathsPastTheLimitStopCleanly)
{
    // Made through the wide functions: the ANSI ones take no path this long.
    const std::wstring wideRoot = LongPath(root);
    const std::wstring longName(251, L'n');
    ::CloseHandle(::CreateFileW((wideRoot + L"\\" + longName + L".txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                0, nullptr));
    std::wstring deep = wideRoot + L"\\deep";
    ::CreateDirectoryW(deep.c_str(), nullptr);
    while (deep.size() < 330) {
        deep += L"\\level";
        ::CreateDirectoryW(deep.c_str(), nullptr);
    }
    Start();
    std::vector<std::string> texts = ChildTexts(Tree());
    EXPECT_NE(std::find(texts.begin(), texts.end(), std::string(251, 'n') + ".txt"), texts.end());
    // Expanding as deep as the folders go: each level either lists or stops, nothing more.
    HTREEITEM item = Item("deep");
    for (int level = 0; item != nullptr && level < 60; ++level) {
        Tree().Expand(item, TVE_EXPAND);
        item = Tree().GetChildItem(item);
    }
    TrayCaptions();
    EXPECT_FALSE(TrayPaths().empty());
}

TEST_F(HostileInputTest, BrokenShortcutsAndVanishedFilesAreHandedOnWithoutHarm)
{
    std::mt19937 random(4);
    std::string noise(700, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    ASSERT_TRUE(MakeShortcut(root + "\\whole.lnk", root + "\\target.txt", root));
    std::ifstream whole(root + "\\whole.lnk", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(whole), std::istreambuf_iterator<char>()};
    whole.close();
    WriteFile(root + "\\empty.lnk", "");
    WriteFile(root + "\\noise.lnk", noise);
    WriteFile(root + "\\cut.lnk", bytes.substr(0, bytes.size() / 2));
    WriteFile(root + "\\garbage.url", noise);
    ::DeleteFileA((root + "\\target.txt").c_str()); // whole.lnk now points nowhere
    folder.MakeFile("Root\\soon gone.txt");
    Start();
    for (const char* text : {"empty", "noise", "cut", "whole", "garbage"}) {
        SCOPED_TRACE(text);
        const size_t before = shell.shellExecutes.size();
        Tree().SelectItem(Item(text));
        Tree().SendMessage(WM_KEYDOWN, VK_RETURN, 0);
        ASSERT_EQ(shell.shellExecutes.size(), before + 1);
        EXPECT_EQ(shell.shellExecutes.back().file.substr(root.size() + 1, std::strlen(text)), text);
    }
    // Chosen from a menu built before the file went away: handed to the shell, which says no.
    TrayCaptions();
    const auto paths = TrayPaths();
    const auto gone = std::find(paths.begin(), paths.end(), root + "\\soon gone.txt");
    ASSERT_NE(gone, paths.end());
    ::DeleteFileA((root + "\\soon gone.txt").c_str());
    ::SendMessageA(View().m_hWnd, WM_COMMAND, ID_TRAY_ITEM_FIRST + (gone - paths.begin()), 0);
    EXPECT_EQ(shell.shellExecutes.back().file, root + "\\soon gone.txt");
}

TEST_F(HostileInputTest, TwentyFiveThousandFilesInTheRootAndFiftyThousandEntriesInAFolder)
{
    const char* volume = std::getenv("FERNWICK_VOLUME");
    ASSERT_NE(volume, nullptr) << "run through CTest, which makes the big folders";
    ASSERT_TRUE(::SetCurrentDirectoryA((std::string(volume) + "\\Flat").c_str()));
    ::DeleteFileA("Fernwick.ini"); // the big folders outlive the runs; their settings must not
    Start();
    Tree().UpdateWindow(); // a row's expand button is asked for when it is drawn
    EXPECT_EQ(Tree().GetCount(), 25000u + 2) << "every file, and the wide folder with its placeholder";
    UserExpand(Item("Wide"));
    EXPECT_EQ(Tree().GetCount(), 25000u + 1 + 50000u);
    ::SendMessageA(Frame(), WM_NULL, 0, 0);
}
} // namespace
