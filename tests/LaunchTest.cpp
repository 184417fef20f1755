// Opening items from the tree and the tray path list: what the shell receives, and the
// right-click menu that hands a shortcut to Brisquet.exe.
#include "AppFixture.h"
#include <algorithm>
#include "AlertableWait.h"
#include "ShellRecorder.h"
#include "Shortcut.h"
#include "res/resource.h"

namespace {
class LaunchTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        startFolder = folder.MakeFolder("Start Here");
        folder.MakeFile("Root\\Folder\\inner.txt");
        folder.MakeFile("Root\\notes.txt");
        folder.MakeFile("Root\\Site.url", "[InternetShortcut]\r\nURL=https://example.org/\r\n");
        ASSERT_TRUE(MakeShortcut(root + "\\Mail.lnk", root + "\\notes.txt", startFolder));
        ASSERT_TRUE(MakeShortcut(root + "\\My Mail.lnk", root + "\\notes.txt", ""));
        Start();
    }

    // A double-click as the control receives it, with the pointer at a client point.
    void DoubleClick(HTREEITEM caret, POINT client)
    {
        Tree().SelectItem(caret);
        POINT screen = client;
        ::ClientToScreen(Tree().m_hWnd, &screen);
        shell.cursor = screen;
        Tree().SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    }
    RECT Line(HTREEITEM item) const
    {
        RECT rect{};
        Tree().GetItemRect(item, &rect, FALSE);
        return rect;
    }
    ShellExecuteCall Enter(const std::string& text)
    {
        Tree().SelectItem(Item(text));
        const size_t before = shell.shellExecutes.size();
        Tree().SendMessage(WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_EQ(shell.shellExecutes.size(), before + 1) << text;
        return shell.shellExecutes.empty() ? ShellExecuteCall{} : shell.shellExecutes.back();
    }
    // A right click: the message being handled was posted with the pointer at a client point.
    void RightClick(POINT client)
    {
        ::ClientToScreen(Tree().m_hWnd, &client);
        ::SetCursorPos(client.x, client.y);
        ::PostMessageA(Tree().m_hWnd, WM_NULL, 0, 0);
        MSG msg;
        ::PeekMessageA(&msg, Tree().m_hWnd, WM_NULL, WM_NULL, PM_REMOVE);
        NMHDR header{Tree().m_hWnd, IDC_FOLDER_TREE, static_cast<UINT>(NM_RCLICK)};
        ::SendMessageA(View().m_hWnd, WM_NOTIFY, IDC_FOLDER_TREE, reinterpret_cast<LPARAM>(&header));
    }
    void RightClick(HTREEITEM item)
    {
        RECT text{};
        Tree().GetItemRect(item, &text, TRUE);
        RightClick(POINT{(text.left + text.right) / 2, (text.top + text.bottom) / 2});
    }

    ShellRecorder shell;
    std::string startFolder;
    const std::string cwd = folder.Path();
};

TEST_F(LaunchTest, DoubleClickAnywhereOnTheCaretLineOpensTheFileAndNowhereElse)
{
    HTREEITEM notes = Item("notes.txt");
    const RECT line = Line(notes);
    DoubleClick(notes, {line.right - 2, (line.top + line.bottom) / 2});
    ASSERT_EQ(shell.shellExecutes.size(), 1u) << "right of the text, on the line";
    const ShellExecuteCall call = shell.shellExecutes[0];
    EXPECT_EQ(call.owner, Tree().m_hWnd);
    EXPECT_TRUE(call.nullVerb) << "the file's default action";
    EXPECT_EQ(call.file, root + "\\notes.txt");
    EXPECT_TRUE(call.parameters.empty());
    EXPECT_EQ(call.directory, cwd) << "an ordinary file runs in the launcher's current directory";
    EXPECT_EQ(call.showCmd, SW_SHOW);

    RECT client;
    Tree().GetClientRect(&client);
    DoubleClick(notes, {line.left + 4, client.bottom - 2});
    EXPECT_EQ(shell.shellExecutes.size(), 1u) << "below the last item";

    HTREEITEM folderItem = Item("Folder");
    DoubleClick(folderItem, {Line(folderItem).left + 40, (Line(folderItem).top + Line(folderItem).bottom) / 2});
    EXPECT_EQ(shell.shellExecutes.size(), 1u) << "a folder is never launched";
    EXPECT_TRUE(IsExpanded(folderItem)) << "the control still expands it";
}

TEST_F(LaunchTest, EnterOpensFilesWithTheirStartInformationAndNeverFolders)
{
    Tree().SelectItem(Item("Folder"));
    Tree().SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(shell.shellExecutes.empty());

    const ShellExecuteCall mail = Enter("Mail");
    EXPECT_EQ(mail.file, root + "\\Mail.lnk");
    EXPECT_EQ(mail.directory, startFolder) << "the shortcut's own start folder";
    // The shell-link object decides the show command (this Wine reports 1 for every loaded link).
    EXPECT_EQ(mail.showCmd, ShortcutShowCmd(root + "\\Mail.lnk"));

    const ShellExecuteCall noStart = Enter("My Mail");
    EXPECT_EQ(noStart.file, root + "\\My Mail.lnk");
    EXPECT_FALSE(noStart.nullDirectory);
    EXPECT_EQ(noStart.directory, "") << "no start folder is not the current directory";

    const ShellExecuteCall site = Enter("Site");
    EXPECT_EQ(site.file, root + "\\Site.url");
    EXPECT_EQ(site.directory, cwd);
    EXPECT_EQ(site.showCmd, SW_SHOW);
}

TEST_F(LaunchTest, TrayPathsAreShortcutsByTheirExtensionInAnyCase)
{
    ASSERT_TRUE(::CopyFileA((root + "\\Mail.lnk").c_str(), (root + "\\Report.LNK").c_str(), FALSE));
    View().LaunchPath(PathFromAnsi(root + "\\Report.LNK"));
    View().LaunchPath(PathFromAnsi(root + "\\Site.url"));
    ASSERT_EQ(shell.shellExecutes.size(), 2u);
    EXPECT_EQ(shell.shellExecutes[0].owner, View().m_hWnd);
    EXPECT_EQ(shell.shellExecutes[0].directory, startFolder);
    EXPECT_EQ(shell.shellExecutes[1].file, root + "\\Site.url");
    EXPECT_EQ(shell.shellExecutes[1].directory, cwd) << "an internet shortcut is an ordinary file here";
    EXPECT_EQ(shell.shellExecutes[1].showCmd, SW_SHOW);
}

TEST_F(LaunchTest, RightClickMenuIsGrayedExceptForShortcutsAndHandsThemToBrisquet)
{
    struct Case {
        std::string text;
        bool enabled;
    };
    HTREEITEM selected = Item("notes.txt");
    Tree().SelectItem(selected);
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    shell.cursor = POINT{work.left - 640, work.bottom + 300}; // beyond the screen's lower left corner
    for (const Case& c : {Case{"Folder", false}, Case{"notes.txt", false}, Case{"Site", false},
                          Case{"My Mail", true}}) {
        SCOPED_TRACE(c.text);
        bool grayed = false;
        HWND ownersOwner = nullptr; // the menu's own window lives only while the menu does
        // Like the real menu: a grayed item cannot be chosen.
        shell.onPopup = [&](const TrackPopupCall& popup) {
            ownersOwner = ::GetWindow(popup.owner, GW_OWNER);
            grayed = ::GetMenuState(popup.menu, ID_OPEN_LINK_TARGET, MF_BYCOMMAND) & MF_GRAYED;
            return static_cast<BOOL>(grayed ? 0 : ID_OPEN_LINK_TARGET);
        };
        const size_t popups = shell.popups.size();
        RightClick(Item(c.text));
        ASSERT_EQ(shell.popups.size(), popups + 1);
        const TrackPopupCall& popup = shell.popups.back();
        // The Explorer's items below need the menu's notifications: a window of the menu's own,
        // owned by the frame, takes them, so the frame's update pass still never sees it.
        EXPECT_EQ(popup.flags, static_cast<UINT>(TPM_RIGHTBUTTON | TPM_RETURNCMD));
        EXPECT_EQ(ownersOwner, Frame());
        EXPECT_EQ(popup.x, work.left) << "inside the work area of the nearest monitor";
        EXPECT_EQ(popup.y, work.bottom - 1);
        EXPECT_NE(grayed, c.enabled);
        EXPECT_EQ(Tree().GetSelectedItem(), selected) << "the selection stays";
        EXPECT_FALSE(::IsMenu(popup.menu)) << "destroyed after the choice";
    }
    // The shortcut's path with blanks reaches Brisquet.exe as one quoted argument.
    ASSERT_EQ(shell.processes.size(), 1u);
    std::string program = AfxGetModuleFileName();
    program = program.substr(0, program.rfind('\\') + 1) + "Brisquet.exe";
    EXPECT_EQ(shell.processes[0], '"' + program + "\" \"" + root + "\\My Mail.lnk\"");
    EXPECT_TRUE(shell.shellExecutes.empty());

    RECT client;
    Tree().GetClientRect(&client);
    RightClick(POINT{client.right / 2, client.bottom - 2});
    EXPECT_EQ(shell.popups.size(), 4u) << "below the last item there is nothing to act on: no menu";
}
} // namespace

// Names code page 932 cannot spell, made on the Linux side as another program makes them:
// each item shows its real name, sorts by its code page form, and opens the very file it
// shows, never the one whose name the ANSI search would have guessed ("Cafe.txt").
TEST_F(LaunchTest, NamesTheCodePageCannotSpellShowAndOpenAsTheFilesTheyAre)
{
    const std::string unixRoot = UnixPath(root);
    ASSERT_FALSE(unixRoot.empty());
    ASSERT_TRUE(MakeShortcut(root + "\\wide.lnk", root + "\\notes.txt", startFolder));
    const std::string marker = folder.Path() + "\\made";
    ASSERT_TRUE(StartOnLinuxSide("cd '" + unixRoot + "' && touch \"$(printf 'Caf\\303\\251.txt')\" Cafe.txt "
                                 "\"$(printf '\\355\\225\\234\\352\\270\\200.txt')\" && mv wide.lnk \"$(printf 'Caf\\303\\251.lnk')\" && "
                                 "mkdir -p \"$(printf 'Dossier \\303\\251')/sous\" && touch ../made"));
    ASSERT_TRUE(WaitAlertably([&] { return ::GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES; }));
    Command(ID_FILE_REFRESH);
    const auto itemNamed = [&](const std::wstring& text, HTREEITEM parent = TVI_ROOT) {
        for (HTREEITEM h = Tree().GetChildItem(parent); h != nullptr; h = Tree().GetNextSiblingItem(h))
            if (Tree().GetItemTextW(h) == text)
                return h;
        return static_cast<HTREEITEM>(nullptr);
    };
    std::vector<std::wstring> texts;
    for (HTREEITEM h = Tree().GetRootItem(); h != nullptr; h = Tree().GetNextSiblingItem(h))
        texts.push_back(Tree().GetItemTextW(h));
    const std::vector<std::wstring> expected{L"Dossier \u00e9", L"Folder", L"\ud55c\uae00.txt", L"Caf\u00e9",
                                             L"Caf\u00e9.txt", L"Cafe.txt"};
    std::vector<std::wstring> ours;
    for (const std::wstring& text : texts)
        if (std::find(expected.begin(), expected.end(), text) != expected.end())
            ours.push_back(text);
    EXPECT_EQ(ours, expected) << "in code page order: '?' for what it cannot spell sorts before letters";

    const std::wstring wideRoot = FromCodePage(root);
    for (const auto& [text, file] : {std::pair{L"Caf\u00e9.txt", L"Caf\u00e9.txt"}, std::pair{L"Caf\u00e9", L"Caf\u00e9.lnk"}}) {
        Tree().SelectItem(itemNamed(text));
        Tree().SendMessage(WM_KEYDOWN, VK_RETURN, 0);
        ASSERT_FALSE(shell.shellExecutes.empty());
        EXPECT_EQ(shell.shellExecutes.back().wideFile, wideRoot + L"\\" + file);
        EXPECT_TRUE(shell.shellExecutes.back().file.empty()) << "not the ANSI call, which cannot name it";
    }
    EXPECT_EQ(shell.shellExecutes.back().wideDirectory, FromCodePage(startFolder)) << "the shortcut's own start folder";
    Tree().SelectItem(itemNamed(L"Cafe.txt"));
    Tree().SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(shell.shellExecutes.back().file, root + "\\Cafe.txt") << "the file of that name, by the ANSI call as ever";

    shell.onPopup = [](const TrackPopupCall&) { return static_cast<BOOL>(ID_OPEN_LINK_TARGET); };
    RightClick(itemNamed(L"Caf\u00e9"));
    ASSERT_EQ(shell.wideProcesses.size(), 1u);
    EXPECT_NE(shell.wideProcesses[0].find(L"\"" + wideRoot + L"\\Caf\u00e9.lnk\""), std::wstring::npos)
        << "Brisquet.exe is handed the real path";

    // A folder of such a name is listed below with the wide calls, and remembered in a form
    // that older builds take for a folder that does not exist.
    UserExpand(itemNamed(L"Dossier \u00e9"));
    EXPECT_NE(itemNamed(L"sous", itemNamed(L"Dossier \u00e9")), nullptr);
    Close();
    const std::string saved = IniValue("DirTree0");
    EXPECT_EQ(saved, ":utf-8:Dossier%20%C3%A9");
    EXPECT_EQ(::GetFileAttributesA((root + "\\" + saved).c_str()), INVALID_FILE_ATTRIBUTES);
    Start();
    EXPECT_TRUE(IsExpanded(itemNamed(L"Dossier \u00e9")));

    // The tray menu shows the real names, and its items open the real files.
    UINT chosen = 0;
    shell.onPopup = [&](const TrackPopupCall& popup) {
        for (int i = 0; i < ::GetMenuItemCount(popup.menu); ++i) {
            wchar_t text[MAX_PATH] = {};
            ::GetMenuStringW(popup.menu, i, text, MAX_PATH, MF_BYPOSITION);
            if (std::wstring(text) == L"Caf\u00e9.txt")
                chosen = ::GetMenuItemID(popup.menu, i);
        }
        return FALSE;
    };
    ::SendMessageA(View().m_hWnd, WM_TRAYNOTIFY, 1, WM_RBUTTONUP);
    ASSERT_NE(chosen, 0u) << "the menu shows the real name";
    ::SendMessageA(View().m_hWnd, WM_COMMAND, chosen, 0); // the choice, after the menu closed
    EXPECT_EQ(shell.shellExecutes.back().wideFile, wideRoot + L"\\Caf\u00e9.txt");
}
