// Starting with Windows: the check item of the main menu and the tray menu makes and deletes
// the shortcut in a Startup folder of the test's own, read back with the shell-link object.
#include "AppFixture.h"
#include <objbase.h>
#include <shlobj.h>
#include "ShellRecorder.h"
#include "Shortcut.h"
#include "framework/ComPtr.h"
#include "res/resource.h"
#include "framework/ComScope.h"
#include "shell/StartupShortcut.h"

namespace {
// What a saved shortcut says, through the wide shell-link interface.
struct LinkRead {
    bool loaded = false;
    std::wstring program, arguments, startFolder;
};

LinkRead ReadLink(const std::wstring& path)
{
    LinkRead read;
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.out())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.out())) || FAILED(file->Load(path.c_str(), STGM_READ)))
        return read;
    wchar_t text[MAX_PATH * 2] = L"";
    read.loaded = SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH));
    read.program = text;
    text[0] = L'\0';
    link->GetArguments(text, MAX_PATH * 2);
    read.arguments = text;
    text[0] = L'\0';
    link->GetWorkingDirectory(text, MAX_PATH);
    read.startFolder = text;
    return read;
}

// The arguments as the started program's runtime splits them.
std::vector<std::wstring> SplitArguments(const std::wstring& arguments)
{
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW((L"Fernwick.exe " + arguments).c_str(), &count);
    std::vector<std::wstring> split;
    for (int i = 1; argv != nullptr && i < count; ++i)
        split.emplace_back(argv[i]);
    ::LocalFree(argv);
    return split;
}

std::wstring ThisProgram()
{
    wchar_t path[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

class StartupShortcutTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        startup = folder.MakeFolder("Startup");
        link = startup + "\\Fernwick.lnk";
        Start();
        UseFolder(startup);
    }
    // Never the user's own Startup folder.
    void UseFolder(const std::string& path) const { View().m_startup = CStartupShortcut(FromCodePage(path), ThisProgram()); }

    // The main menu's mark, after the update pass a user's opening of "View" runs.
    bool MenuChecked() const
    {
        HMENU view = ::GetSubMenu(::GetMenu(Frame()), 1);
        ::SendMessageA(Frame(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), 1);
        return ::GetMenuState(view, ID_VIEW_STARTUP, MF_BYCOMMAND) & MF_CHECKED;
    }
    // The tray menu's mark, as it was built for a right click.
    bool TrayChecked()
    {
        UINT state = 0;
        shell.onPopup = [&](const TrackPopupCall& popup) {
            state = ::GetMenuState(popup.menu, ID_VIEW_STARTUP, MF_BYCOMMAND);
            return FALSE;
        };
        ::SendMessageA(View().m_hWnd, WM_TRAYNOTIFY, 1, WM_RBUTTONUP);
        EXPECT_NE(state, static_cast<UINT>(-1)) << "the tray menu has the item";
        return state != static_cast<UINT>(-1) && (state & MF_CHECKED);
    }
    bool Exists(const std::string& path) const { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

    CComScope ole{CComScope::Kind::Ole};
    ShellRecorder shell;
    std::string startup, link;
};

TEST_F(StartupShortcutTest, CheckingMakesTheShortcutThatStartsThisFernwickAtItsRootHiddenAndUncheckingDeletesIt)
{
    HMENU view = ::GetSubMenu(::GetMenu(Frame()), 1);
    ASSERT_EQ(::GetMenuItemCount(view), 2);
    EXPECT_EQ(::GetMenuItemID(view, 0), static_cast<UINT>(ID_VIEW_TOPMOST)) << "always on top keeps its place";
    EXPECT_EQ(::GetMenuItemID(view, 1), static_cast<UINT>(ID_VIEW_STARTUP));
    EXPECT_FALSE(MenuChecked());
    EXPECT_FALSE(TrayChecked());

    Command(ID_VIEW_STARTUP);
    ASSERT_TRUE(Exists(link));
    EXPECT_TRUE(shell.messageBoxes.empty());
    const LinkRead read = ReadLink(FromCodePage(link));
    ASSERT_TRUE(read.loaded);
    EXPECT_EQ(read.program, ThisProgram());
    EXPECT_EQ(SplitArguments(read.arguments), std::vector<std::wstring>{FromCodePage(root)})
        << "the root, absolute, as one argument";
    EXPECT_EQ(read.startFolder, FromCodePage(folder.Path())) << "where it started, so the same settings file is used";
    // The shell-link object of this Wine reports 1 for every loaded shortcut: the show
    // command is read where the file format keeps it, the header's 4 bytes at 0x3C.
    const std::string bytes = FileContents(link);
    ASSERT_GT(bytes.size(), 0x40u);
    EXPECT_EQ(*reinterpret_cast<const DWORD*>(bytes.data() + 0x3C), static_cast<DWORD>(SW_SHOWMINNOACTIVE));
    EXPECT_TRUE(MenuChecked());
    EXPECT_TRUE(TrayChecked());

    Command(ID_VIEW_STARTUP);
    EXPECT_FALSE(Exists(link));
    EXPECT_FALSE(MenuChecked());
    EXPECT_FALSE(TrayChecked());
    EXPECT_TRUE(shell.messageBoxes.empty());
}

TEST_F(StartupShortcutTest, AnotherCopysShortcutOrABrokenOneIsReplacedOnlyWhenTheUserSaysSo)
{
    const std::string other = folder.MakeFile("Other\\Fernwick.exe");
    for (const bool broken : {false, true}) {
        SCOPED_TRACE(broken ? "broken" : "another copy's");
        if (broken)
            folder.MakeFile("Startup\\Fernwick.lnk", std::string("L\0\0\0 not really", 16));
        else
            ASSERT_TRUE(MakeShortcut(link, other, ""));
        const std::string before = FileContents(link);
        EXPECT_FALSE(MenuChecked());
        EXPECT_FALSE(TrayChecked());

        shell.messageBoxes.clear();
        shell.messageBoxResult = IDNO;
        Command(ID_VIEW_STARTUP);
        ASSERT_EQ(shell.messageBoxes.size(), 1u);
        EXPECT_EQ(shell.messageBoxes[0].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
        EXPECT_NE(shell.messageBoxes[0].text.find(broken ? link : other), std::string::npos) << shell.messageBoxes[0].text;
        EXPECT_EQ(FileContents(link), before) << "left alone";
        EXPECT_FALSE(MenuChecked());

        shell.messageBoxResult = IDYES;
        Command(ID_VIEW_STARTUP);
        EXPECT_EQ(shell.messageBoxes.size(), 2u);
        EXPECT_EQ(ReadLink(FromCodePage(link)).program, ThisProgram()) << "replaced";
        EXPECT_TRUE(MenuChecked());
        Command(ID_VIEW_STARTUP);
        EXPECT_FALSE(Exists(link));
    }
}

TEST_F(StartupShortcutTest, AStartupFolderMissingOrUnwritableSaysSoAndChangesNothing)
{
    UseFolder(startup + "\\gone");
    Command(ID_VIEW_STARTUP);
    ASSERT_EQ(shell.messageBoxes.size(), 1u);
    EXPECT_EQ(shell.messageBoxes[0].type & MB_TYPEMASK, static_cast<UINT>(MB_OK));
    EXPECT_EQ(shell.messageBoxes[0].text.rfind(AfxLoadString(IDS_STARTUP_CREATE_FAILED).substr(0, 20), 0), 0u);
    EXPECT_FALSE(Exists(startup + "\\gone"));
    EXPECT_FALSE(MenuChecked());

    // A folder in the shortcut's place: no shortcut can be written there.
    UseFolder(startup);
    folder.MakeFolder("Startup\\Fernwick.lnk\\inside");
    shell.messageBoxResult = IDYES;
    Command(ID_VIEW_STARTUP);
    ASSERT_EQ(shell.messageBoxes.size(), 3u) << "asked, then told it failed";
    EXPECT_EQ(shell.messageBoxes[2].type & MB_TYPEMASK, static_cast<UINT>(MB_OK));
    EXPECT_TRUE(Exists(link + "\\inside")) << "nothing of the user's is lost";
    EXPECT_FALSE(MenuChecked());
    RemoveTree(link);

    // Our own shortcut made read-only: it cannot be deleted, and the mark stays.
    Command(ID_VIEW_STARTUP);
    ASSERT_TRUE(MenuChecked());
    ASSERT_TRUE(::SetFileAttributesA(link.c_str(), FILE_ATTRIBUTE_READONLY));
    Command(ID_VIEW_STARTUP);
    ASSERT_EQ(shell.messageBoxes.size(), 4u);
    EXPECT_EQ(shell.messageBoxes[3].text.rfind(AfxLoadString(IDS_STARTUP_REMOVE_FAILED).substr(0, 20), 0), 0u);
    EXPECT_TRUE(Exists(link));
    EXPECT_TRUE(MenuChecked());
    ::SetFileAttributesA(link.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(QuotedArgumentTest, EveryRootReadsBackAsItselfAsOneArgument)
{
    for (const std::wstring root : {L"C:\\", L"C:\\Root", L"C:\\My Root", L"\\\\server\\share\\", L"C:\\a\\\\"})
        EXPECT_EQ(SplitArguments(QuotedArgument(root)), std::vector<std::wstring>{root});
}
} // namespace
