// The Explorer's own menu below the tree's item menu: the real shell menu of this Wine (open,
// cut, copy, delete, properties), its verbs run on real files, from the mouse and the keyboard.
#include "AppFixture.h"
#include <algorithm>
#include <objbase.h>
#include <shlobj.h>
#include "AlertableWait.h"
#include "ModalScript.h"
#include "ShellRecorder.h"
#include "Shortcut.h"
#include "framework/ComPtr.h"
#include "framework/Handles.h"
#include "res/resource.h"
#include "shell/ExplorerMenu.h"
#include "shell/ShellItem.h"

namespace {
constexpr UINT kFirst = CExplorerMenu::kFirstShellId;
constexpr UINT kLast = CExplorerMenu::kLastShellId;

// The id the shell's menu for path gives a verb ("copy", "delete"): the menu asks the shell
// for its items with the same range, so the shell numbers them alike. 0 when it has none.
UINT ShellVerbId(const std::wstring& path, const wchar_t* verb)
{
    const CShellItem item(path);
    ComPtr<IContextMenu> menu;
    if (FAILED(item.GetUIObject(nullptr, IID_IContextMenu, menu.out())))
        return 0;
    UniqueMenu scratch(::CreatePopupMenu());
    menu->QueryContextMenu(scratch.get(), 0, kFirst, kLast, CMF_NORMAL);
    for (int i = 0; i < ::GetMenuItemCount(scratch.get()); ++i) {
        const UINT id = ::GetMenuItemID(scratch.get(), i);
        wchar_t name[64] = L"";
        if (id >= kFirst && id <= kLast &&
            SUCCEEDED(menu->GetCommandString(id - kFirst, GCS_VERBW, nullptr, reinterpret_cast<char*>(name), 64)) &&
            ::lstrcmpiW(name, verb) == 0)
            return id;
    }
    return 0;
}

// The first file the clipboard holds as CF_HDROP, through OLE as the Explorer reads it.
std::wstring ClipboardFile()
{
    ComPtr<IDataObject> data;
    if (FAILED(::OleGetClipboard(reinterpret_cast<IDataObject**>(data.out()))))
        return L"<no clipboard>";
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (FAILED(data->GetData(&format, &medium)))
        return L"<no CF_HDROP>";
    wchar_t path[MAX_PATH] = L"";
    ::DragQueryFileW(static_cast<HDROP>(medium.hGlobal), 0, path, MAX_PATH);
    ::ReleaseStgMedium(&medium);
    return path;
}

// The menu as it was shown: its items' ids and states, in order.
struct Shown {
    std::vector<UINT> ids;
    std::vector<UINT> states;
    HWND owner = nullptr;
    HWND ownersOwner = nullptr; // while the menu was open
    UINT flags = 0;
    POINT at{};
    size_t ShellItems() const
    {
        return static_cast<size_t>(
            std::count_if(ids.begin(), ids.end(), [](UINT id) { return id >= kFirst && id <= kLast; }));
    }
};

class ExplorerMenuTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        folder.MakeFile("Root\\notes.txt");
        folder.MakeFile("Root\\old.txt");
        ASSERT_TRUE(MakeShortcut(root + "\\My Mail.lnk", root + "\\notes.txt", ""));
        Start();
    }
    // Right-clicks the item as the control reports it; the menu chooses what choose says.
    Shown RightClick(HTREEITEM item, std::function<UINT(const Shown&)> choose)
    {
        RECT text{};
        Tree().GetItemRect(item, &text, TRUE);
        POINT at{(text.left + text.right) / 2, (text.top + text.bottom) / 2};
        ::ClientToScreen(Tree().m_hWnd, &at);
        ::SetCursorPos(at.x, at.y);
        shell.cursor = at;
        ::PostMessageA(Tree().m_hWnd, WM_NULL, 0, 0); // the message whose position counts
        MSG msg;
        ::PeekMessageA(&msg, Tree().m_hWnd, WM_NULL, WM_NULL, PM_REMOVE);
        Expect(std::move(choose));
        NMHDR header{Tree().m_hWnd, IDC_FOLDER_TREE, static_cast<UINT>(NM_RCLICK)};
        ::SendMessageA(View().m_hWnd, WM_NOTIFY, IDC_FOLDER_TREE, reinterpret_cast<LPARAM>(&header));
        return m_shown;
    }
    // Sets up the seam to record the next menu and choose from it.
    void Expect(std::function<UINT(const Shown&)> choose)
    {
        m_shown = {};
        shell.onPopup = [this, choose](const TrackPopupCall& popup) {
            for (int i = 0; i < ::GetMenuItemCount(popup.menu); ++i) {
                m_shown.ids.push_back(::GetMenuItemID(popup.menu, i));
                m_shown.states.push_back(::GetMenuState(popup.menu, i, MF_BYPOSITION));
            }
            m_shown.owner = popup.owner;
            m_shown.ownersOwner = ::GetWindow(popup.owner, GW_OWNER);
            m_shown.flags = popup.flags;
            m_shown.at = POINT{popup.x, popup.y};
            return static_cast<BOOL>(choose(m_shown));
        };
    }

    ShellRecorder shell;
    Shown m_shown;
};

TEST_F(ExplorerMenuTest, RightClickShowsTheItemMenuThenTheExplorersAndCopyPutsTheRealFileOnTheClipboard)
{
    const std::string unixRoot = UnixPath(root);
    ASSERT_FALSE(unixRoot.empty());
    ASSERT_TRUE(StartOnLinuxSide("cd '" + unixRoot + "' && touch \"$(printf 'Caf\\303\\251.txt')\" && touch ../made"));
    ASSERT_TRUE(WaitAlertably([&] { return ::GetFileAttributesA((folder.Path() + "\\made").c_str()) != INVALID_FILE_ATTRIBUTES; }));
    Command(ID_FILE_REFRESH);
    HTREEITEM wide = nullptr;
    for (HTREEITEM h = Tree().GetRootItem(); h != nullptr; h = Tree().GetNextSiblingItem(h))
        if (Tree().GetItemTextW(h) == L"Caf\u00e9.txt")
            wide = h;
    ASSERT_NE(wide, nullptr);

    const std::wstring wideRoot = FromCodePage(root);
    struct Case {
        HTREEITEM item;
        std::wstring file;
        bool linkTarget;
    };
    for (const Case& c : {Case{Item("notes.txt"), wideRoot + L"\\notes.txt", false},
                          Case{Item("My Mail"), wideRoot + L"\\My Mail.lnk", true},
                          Case{wide, wideRoot + L"\\Caf\u00e9.txt", false}}) {
        SCOPED_TRACE(std::string(c.file.begin(), c.file.end()));
        const UINT copy = ShellVerbId(c.file, L"copy");
        ASSERT_NE(copy, 0u) << "this Wine's shell offers Copy for files";
        ::OleSetClipboard(nullptr);
        const Shown shown = RightClick(c.item, [&](const Shown&) { return copy; });
        ASSERT_GE(shown.ids.size(), 3u);
        EXPECT_EQ(shown.ids[0], static_cast<UINT>(ID_OPEN_LINK_TARGET)) << "the program's own item first";
        EXPECT_EQ((shown.states[0] & MF_GRAYED) == 0, c.linkTarget) << "enabled for a shortcut only, as ever";
        EXPECT_TRUE(shown.states[1] & MF_SEPARATOR);
        for (size_t i = 2; i < shown.ids.size(); ++i)
            EXPECT_TRUE(shown.states[i] & MF_SEPARATOR || (shown.ids[i] >= kFirst && shown.ids[i] <= kLast))
                << "then the Explorer's, at " << i;
        EXPECT_GT(shown.ShellItems(), 2u);
        EXPECT_EQ(shown.flags, static_cast<UINT>(TPM_RIGHTBUTTON | TPM_RETURNCMD));
        EXPECT_EQ(shown.ownersOwner, Frame()) << "a window of the menu's own, owned by the frame";
        EXPECT_FALSE(::IsWindow(shown.owner)) << "gone with the menu";
        EXPECT_EQ(ClipboardFile(), c.file) << "on the clipboard by its real path";
    }
    EXPECT_TRUE(shell.processes.empty() && shell.wideProcesses.empty() && shell.shellExecutes.empty())
        << "nothing was launched";
}

TEST_F(ExplorerMenuTest, DeleteFromTheMenuRemovesTheFileAndTheLiveTreeShowsIt)
{
    const std::string old = root + "\\old.txt";
    const UINT remove = ShellVerbId(FromCodePage(old), L"delete");
    ASSERT_NE(remove, 0u) << "this Wine's shell offers Delete for files";
    // The shell asks first, in a dialog of its own: the user says yes.
    RunModal([&] { return static_cast<INT_PTR>(RightClick(Item("old.txt"), [&](const Shown&) { return remove; }).ids.size()); },
             {[](HWND hDlg) { PostKey(hDlg, VK_RETURN); }});
    EXPECT_EQ(::GetFileAttributesA(old.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(WaitAlertably([&] { return Item("old.txt") == nullptr; })) << "the live tree follows";
    EXPECT_NE(Item("notes.txt"), nullptr);
}

TEST_F(ExplorerMenuTest, AFileGoneBeforeOrWhileItsMenuIsOpenCostsNothingButTheShellItems)
{
    // Gone from the disk, not yet from the tree: the program's item alone.
    const std::string notes = root + "\\notes.txt";
    ASSERT_TRUE(::DeleteFileA(notes.c_str()));
    const Shown gone = RightClick(Item("notes.txt"), [](const Shown&) { return 0u; });
    EXPECT_EQ(gone.ids, std::vector<UINT>{ID_OPEN_LINK_TARGET});

    // Gone while the menu is open, then its Copy chosen: the shell copies what it can, or nothing.
    const std::string old = root + "\\old.txt";
    const UINT copy = ShellVerbId(FromCodePage(old), L"copy");
    ASSERT_NE(copy, 0u);
    RightClick(Item("old.txt"), [&](const Shown&) {
        ::DeleteFileA(old.c_str());
        return copy;
    });
    EXPECT_TRUE(::IsWindow(Frame()));
    EXPECT_TRUE(WaitAlertably([&] { return Item("old.txt") == nullptr && Item("notes.txt") == nullptr; }));
}

// The Apps key and Shift+F10 come to a window as WM_CONTEXTMENU at (-1, -1) from the system's
// default handling of the keys, which the tree control leaves to its parent.
TEST_F(ExplorerMenuTest, TheKeyboardsContextMenuShowsTheSameMenuAtTheSelectedItem)
{
    HTREEITEM mail = Item("My Mail");
    Tree().SelectItem(mail);
    RECT text{};
    Tree().GetItemRect(mail, &text, TRUE);
    POINT below{text.left, text.bottom};
    ::ClientToScreen(Tree().m_hWnd, &below);
    Expect([](const Shown&) { return 0u; });
    ::SendMessageA(Tree().m_hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Tree().m_hWnd), -1);
    ASSERT_EQ(shell.popups.size(), 1u);
    ASSERT_FALSE(m_shown.ids.empty());
    EXPECT_EQ(m_shown.ids[0], static_cast<UINT>(ID_OPEN_LINK_TARGET));
    EXPECT_EQ(m_shown.states[0] & MF_GRAYED, 0u) << "the selected item's: a shortcut";
    EXPECT_GT(m_shown.ShellItems(), 0u);
    EXPECT_EQ(m_shown.at.x, below.x) << "below the selected item";
    EXPECT_EQ(m_shown.at.y, below.y);

    // The one a right click brings after its own menu shows nothing more.
    ::SendMessageA(Tree().m_hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Tree().m_hWnd), MAKELPARAM(below.x, below.y));
    EXPECT_EQ(shell.popups.size(), 1u);
}
} // namespace
