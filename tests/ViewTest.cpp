// The launcher view in the running program: always on top, refresh, open root folder, the
// saved folders, and what reaches the settings file at exit and at log-off.
#include <algorithm>
#include "AppFixture.h"
#include "ShellRecorder.h"
#include "app/Settings.h"
#include "res/resource.h"

namespace {
// This Wine never marks a window topmost while it owns a topmost pop-up, such as the tree's
// tooltip: it puts the window after that pop-up instead. Windows does. The tests that read
// the flag keep the tree from making its tooltip.
class NoToolTips {
public:
    NoToolTips() : m_hook(::SetWindowsHookExA(WH_CBT, Hook, nullptr, ::GetCurrentThreadId())) {}
    ~NoToolTips() { ::UnhookWindowsHookEx(m_hook); }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND) {
            const char* cls = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->lpszClass;
            if (!IS_INTRESOURCE(cls) && lstrcmpiA(cls, TOOLTIPS_CLASSA) == 0)
                return 1;
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK m_hook;
};

class ViewTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        folder.MakeFile("Root\\Games\\Arcade\\pong.txt");
        folder.MakeFile("Root\\Tools\\edit.txt");
    }
    bool FrameIsTopMost() const { return ::GetWindowLongPtrA(Frame(), GWL_EXSTYLE) & WS_EX_TOPMOST; }
    bool MenuChecked(UINT id) const
    {
        HMENU menu = ::GetMenu(Frame());
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
            ::SendMessageA(Frame(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(::GetSubMenu(menu, i)), i);
        return ::GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED;
    }
};

TEST_F(ViewTest, TopMostIsReadAtStartFollowedByTheCheckMarkAndWrittenBackAsOne)
{
    NoToolTips noToolTips;
    SetIniValue("TopMost", "5");
    Start();
    EXPECT_TRUE(View().m_bTopMost);
    EXPECT_TRUE(FrameIsTopMost()) << "start-up applies it";
    EXPECT_TRUE(MenuChecked(ID_VIEW_TOPMOST));

    Command(ID_VIEW_TOPMOST);
    EXPECT_FALSE(FrameIsTopMost());
    EXPECT_FALSE(MenuChecked(ID_VIEW_TOPMOST));
    EXPECT_EQ(IniValue("TopMost"), "5") << "the file hears of it only at exit";
    Command(ID_VIEW_TOPMOST);
    EXPECT_TRUE(FrameIsTopMost());
    EXPECT_TRUE(MenuChecked(ID_VIEW_TOPMOST));
    Close();
    EXPECT_EQ(IniValue("TopMost"), "1");

    SetIniValue("TopMost", "junk");
    Start();
    EXPECT_FALSE(View().m_bTopMost);
    EXPECT_FALSE(FrameIsTopMost());
    Close();
    EXPECT_EQ(IniValue("TopMost"), "0");
}

TEST_F(ViewTest, WithoutASettingsFileTheExitWorkMakesItInOneSave)
{
    Start();
    EXPECT_FALSE(View().m_bTopMost);
    UserExpand(Item("Games"));
    Command(ID_VIEW_TOPMOST);
    bool writtenBeforeTheExitWork = true;
    app->onExit = [&] { writtenBeforeTheExitWork = FileExists(Ini()); };
    Close();
    EXPECT_FALSE(writtenBeforeTheExitWork) << "the windows leave their parts to the application";
    // "TopMost" goes into the file the placement and the folders make in the same save.
    EXPECT_EQ(IniValue("DirTree0"), "Games");
    EXPECT_EQ(IniValue("TopMost"), "1");
    const std::string placement = IniValue("WindowPos");
    EXPECT_EQ(std::count(placement.begin(), placement.end(), ','), 9) << placement;
}

TEST_F(ViewTest, TheExitReplacesTheFileOnceAndKeepsWhatTheUserWrote)
{
    folder.MakeFile("Fernwick.ini", "[Settings]\r\n; mine\r\nDirTree0=Tools\r\nColour=green\r\nTopMost = 1\r\n"
                     "[Settings]\r\nSecond=kept\r\n");
    const auto identity = [this] {
        const UniqueFileHandle file(::CreateFileA(Ini().c_str(), 0, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        BY_HANDLE_FILE_INFORMATION info{};
        ::GetFileInformationByHandle(file.get(), &info);
        return std::pair{info.nFileIndexHigh, info.nFileIndexLow};
    };
    const auto before = identity();
    Start();
    EXPECT_TRUE(View().m_bTopMost) << "blanks around \"=\" read as the profile functions read them";
    UserExpand(Item("Games"));
    std::pair<DWORD, DWORD> atExitWork{};
    app->onExit = [&] { atExitWork = identity(); };
    Close();
    EXPECT_EQ(atExitWork, before) << "the close and the view's end wrote nothing of their own";
    EXPECT_NE(identity(), before) << "the exit's save replaced the file";
    const std::string text = FileContents(Ini());
    const std::string placement = IniValue("WindowPos");
    // New keys at the end of the section, in the order the key-by-key writes make them.
    EXPECT_EQ(text, "[Settings]\r\n; mine\r\nDirTree0=Games\r\nColour=green\r\nTopMost=1\r\nWindowPos=" + placement +
                        "\r\nDirTree1=Tools\r\n[Settings]\r\nSecond=kept\r\n");
}

TEST_F(ViewTest, LogOffSavesEverythingWithoutAClose)
{
    SetIniValue("TopMost", "1");
    Start();
    UserExpand(Item("Tools"));
    ASSERT_TRUE(::SendMessageA(Frame(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    ::SendMessageA(Frame(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(app->m_pMainWnd, nullptr) << "frame and view are gone";
    EXPECT_NE(IniValue("WindowPos"), "<absent>") << "the placement taken at the query";
    EXPECT_EQ(IniValue("DirTree0"), "Tools");
    EXPECT_EQ(IniValue("TopMost"), "1");
    app.reset();
}

TEST_F(ViewTest, ARootThatIsAwayKeepsTheSavedFolders)
{
    SetIniValue("DirTree0", "Games");
    SetIniValue("DirTree1", "Tools");
    Start();
    ASSERT_TRUE(IsExpanded(Item("Games")));
    const std::string away = folder.Path() + "\\Away";
    ASSERT_TRUE(::MoveFileA(root.c_str(), away.c_str())) << ::GetLastError();
    Command(ID_FILE_REFRESH);
    EXPECT_EQ(Tree().GetRootItem(), nullptr);
    EXPECT_EQ(IniValue("DirTree0"), "Games");
    EXPECT_EQ(IniValue("DirTree1"), "Tools");

    ASSERT_TRUE(::MoveFileA(away.c_str(), root.c_str())) << ::GetLastError();
    Command(ID_FILE_REFRESH);
    EXPECT_TRUE(IsExpanded(Item("Games"))) << "back, with the folders it had";
    EXPECT_TRUE(IsExpanded(Item("Tools")));

    ASSERT_TRUE(::MoveFileA(root.c_str(), away.c_str())) << ::GetLastError();
    Close();
    EXPECT_EQ(IniValue("DirTree0"), "Games");
    EXPECT_EQ(IniValue("DirTree1"), "Tools");
    EXPECT_NE(IniValue("WindowPos"), "<absent>") << "the rest of the save went on";
}

TEST_F(ViewTest, RefreshWithNothingExpandedMakesNoSettingsFile)
{
    Start();
    Command(ID_FILE_REFRESH);
    EXPECT_FALSE(FileExists(Ini()));
    EXPECT_NE(Item("Games"), nullptr);
}

TEST_F(ViewTest, RefreshKeepsTheExpandedFoldersAndCreatesTheSettingsFile)
{
    Start();
    UserExpand(Item("Games"));
    UserExpand(Item("Arcade", Item("Games")));
    folder.MakeFile("Root\\Games\\new.txt");
    ASSERT_FALSE(FileExists(Ini()));

    Command(ID_FILE_REFRESH);
    EXPECT_TRUE(IsExpanded(Item("Games")));
    EXPECT_TRUE(IsExpanded(Item("Arcade", Item("Games"))));
    EXPECT_NE(Item("new.txt", Item("Games")), nullptr) << "read afresh";
    EXPECT_EQ(IniValue("DirTree0"), "Games");
    EXPECT_EQ(IniValue("DirTree1"), "Games\\Arcade");
    EXPECT_EQ(Tree().GetItemPath(Tree().GetSelectedItem()), root + "\\Games\\Arcade")
        << "a refresh leaves the selection where restoring put it";
}

TEST_F(ViewTest, SavedFoldersAreExpandedAtStartAndStaleOnesDropped)
{
    SetIniValue("DirTree0", "tools");
    SetIniValue("DirTree1", "Gone");
    for (int i = 2; i < 300; ++i)
        SetIniValue(("DirTree" + std::to_string(i)).c_str(), "nothing\\here");
    Start();
    EXPECT_TRUE(IsExpanded(Item("Tools")));
    EXPECT_FALSE(IsExpanded(Item("Games")));
    EXPECT_EQ(Tree().GetSelectedItem(), Tree().GetRootItem()) << "start-up selects the first item";
    Close();
    EXPECT_EQ(IniValue("DirTree0"), "Tools");
    EXPECT_EQ(IniValue("DirTree1"), "<absent>");
    EXPECT_EQ(IniValue("DirTree299"), "<absent>");
}

TEST_F(ViewTest, OpenRootFolderHandsTheRootToTheShell)
{
    ShellRecorder shell;
    Start();
    Command(ID_FILE_OPEN_ROOT);
    ASSERT_EQ(shell.shellExecutes.size(), 1u);
    const ShellExecuteCall& call = shell.shellExecutes[0];
    EXPECT_EQ(call.owner, nullptr);
    EXPECT_EQ(call.verb, "open");
    EXPECT_EQ(call.file, root + "\\");
    EXPECT_TRUE(call.parameters.empty());
    EXPECT_FALSE(call.nullDirectory);
    EXPECT_EQ(call.directory, "");
    EXPECT_EQ(call.showCmd, SW_SHOW);

    RemoveTree(root);
    Command(ID_FILE_REFRESH);
    Command(ID_FILE_OPEN_ROOT);
    EXPECT_EQ(shell.shellExecutes.size(), 2u) << "a missing root is still the root";
}

TEST_F(ViewTest, ARootArgumentWithSlashesRelativeToTheCurrentDirectoryShowsNames)
{
    char given[] = "Root/Games";
    char* arguments[] = {__argv[0], given, nullptr};
    char** saved = std::exchange(__argv, arguments);
    __argc = 2;
    Start();
    EXPECT_EQ(Tree().m_strRootPath, root + "\\Games\\");
    ASSERT_NE(Tree().GetRootItem(), nullptr);
    EXPECT_EQ(Tree().GetItemText(Tree().GetRootItem()), "Arcade") << "a name, not a whole path";
    EXPECT_EQ(Tree().GetItemPath(Tree().GetRootItem()), root + "\\Games\\Arcade");
    Close();
    __argv = saved;
}

TEST(RootFolderTest, AnyFormIsMadeAbsoluteAndATooLongOneIsRefused)
{
    TempFolder folder;
    const std::string saved = AfxGetCurrentDirectory();
    ::SetCurrentDirectoryA(folder.Path().c_str());
    EXPECT_EQ(ResolveRootFolder("Menu"), folder.Path() + "\\Menu");
    EXPECT_EQ(ResolveRootFolder("./Menu/Sub/"), folder.Path() + "\\Menu\\Sub\\");
    EXPECT_EQ(ResolveRootFolder(folder.Path() + "\\\\Root"), folder.Path() + "\\Root") << "a drive root's C:\\\\Root";
    EXPECT_EQ(ResolveRootFolder("C:\\"), "C:\\");
    // Here, under the temporary folder, a drive and its colon alone are still its root.
    const std::string drive = folder.Path().substr(0, 2);
    EXPECT_EQ(ResolveRootFolder(drive), drive + "\\") << "not the drive's current directory";
    EXPECT_EQ(ResolveRootFolder(drive + "Menu"), folder.Path() + "\\Menu") << "drive-relative stays relative";
    EXPECT_EQ(ResolveRootFolder(""), "");
    EXPECT_EQ(ResolveRootFolder("C:\\" + std::string(300, 'x')), "") << "never cut to another folder";
    EXPECT_EQ(ResolveRootFolder(std::string(MAX_PATH - folder.Path().size(), 'y')), "")
        << "short, but too long once made absolute";
    ::SetCurrentDirectoryA(saved.c_str());
}
} // namespace
