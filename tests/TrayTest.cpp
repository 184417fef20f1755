// The notification-area icon and its menu in the running program: the icon record, the
// mouse events, the folder part in the search's own order, the fixed items, and what a
// chosen item does after the menu is gone.
#include <gtest/gtest.h>
#include "Version.h"
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include "AppFixture.h"
#include "ModalScript.h"
#include "ResourceCount.h"
#include "ShellRecorder.h"
#include "ChildProcess.h"
#include "IconCases.h"
#include "mbcs/Mbcs.h"
#include "res/resource.h"

namespace {
// The program's own items below the folders, separators included.
constexpr size_t kFixedItems = 13;

struct MenuItem {
    UINT id;      // -1 for a submenu, 0 for a separator
    std::string text;
    UINT state;   // MF_GRAYED, MF_CHECKED
    std::vector<MenuItem> children;
};

// The menu as a user sees it who opens every submenu, each as it is about to show.
std::vector<MenuItem> ReadMenu(HMENU menu, HWND owner)
{
    std::vector<MenuItem> items;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        char text[512] = {};
        ::GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        MenuItem item{::GetMenuItemID(menu, i), text, ::GetMenuState(menu, i, MF_BYPOSITION) & (MF_GRAYED | MF_CHECKED),
                      {}};
        if (HMENU sub = ::GetSubMenu(menu, i)) {
            ::SendMessageA(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sub), MAKELPARAM(i, FALSE));
            item.children = ReadMenu(sub, owner);
        }
        items.push_back(item);
    }
    return items;
}

// A picture of the icon size on the menu's colour, drawn by draw.
std::vector<DWORD> Picture(SIZE size, const std::function<void(HDC, const RECT&)>& draw)
{
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    const RECT rc{0, 0, size.cx, size.cy};
    ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_MENU));
    draw(dc, rc);
    ::GdiFlush();
    std::vector<DWORD> pixels(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + size.cx * size.cy);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    return pixels;
}

// A string item of an open tray menu, with the entry it stands for: none for the fixed items.
struct IconItem {
    std::string path;
    bool folder;
    UINT id;
    HMENU menu;
    ULONG_PTR data;
};

// The string items of a menu whose submenus are all open; every one is drawn by its owner.
void CollectIconItems(HMENU menu, const std::string& folder, const std::vector<std::string>& trayPaths,
                      std::vector<IconItem>& items)
{
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        char text[512] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_BITMAP | MIIM_DATA | MIIM_ID | MIIM_SUBMENU | MIIM_STRING | MIIM_FTYPE;
        info.dwTypeData = text;
        info.cch = sizeof text;
        ASSERT_TRUE(::GetMenuItemInfoA(menu, i, TRUE, &info));
        const bool separator = info.fType & MFT_SEPARATOR;
        EXPECT_EQ(info.hbmpItem, separator ? nullptr : HBMMENU_CALLBACK) << text;
        EXPECT_EQ(info.dwItemData != 0, !separator) << text;
        if (info.hSubMenu != nullptr) {
            items.push_back({folder + text, true, info.wID, menu, info.dwItemData});
            CollectIconItems(info.hSubMenu, folder + text + "\\", trayPaths, items);
        } else if (!separator) {
            const bool file = info.wID - ID_TRAY_ITEM_FIRST < trayPaths.size();
            items.push_back({file ? trayPaths[info.wID - ID_TRAY_ITEM_FIRST] : "", false, info.wID, menu, info.dwItemData});
        }
    }
}

class TrayTest : public AppFixture {
protected:
    // Right-clicks the icon; the menu as it stood while open. Chooses nothing.
    std::vector<MenuItem> OpenMenu()
    {
        std::vector<MenuItem> seen;
        shell.onPopup = [&](const TrackPopupCall& popup) {
            seen = ReadMenu(popup.menu, popup.owner);
            return FALSE;
        };
        EXPECT_EQ(::SendMessageA(View().m_hWnd, WM_TRAYNOTIFY, 1, WM_RBUTTONUP), 0);
        return seen;
    }
    // The menu below the folder part.
    static std::vector<MenuItem> Fixed(const std::vector<MenuItem>& menu)
    {
        return {menu.end() - std::min(kFixedItems, menu.size()), menu.end()};
    }

    ShellRecorder shell;
};

TEST_F(TrayTest, TheIconIsAddedAtStartAgainWhenTheTaskbarIsNewAndRemovedAtExit)
{
    Start();
    ASSERT_EQ(shell.notifyIcons.size(), 1u);
    const NotifyIconCall add = shell.notifyIcons[0];
    EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(add.data.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
    EXPECT_EQ(add.data.hWnd, View().m_hWnd);
    EXPECT_EQ(add.data.uID, 1u);
    EXPECT_EQ(add.data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(add.data.uCallbackMessage, 0x8001u);
    EXPECT_STREQ(add.data.szTip, "Fernwick");
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(add.data.hIcon, &info));
    BITMAP bitmap{};
    ::GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
    // The notification area's small icon: 16 at 96 DPI, and here the one monitor's is the system's.
    EXPECT_EQ(bitmap.bmWidth, ::GetSystemMetrics(SM_CXSMICON));
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);

    // Explorer restarted: the shell tells the top-level windows.
    ::SendMessageA(Frame(), ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    ASSERT_EQ(shell.notifyIcons.size(), 2u);
    EXPECT_EQ(shell.notifyIcons[1].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(shell.notifyIcons[1].data.hIcon, add.data.hIcon);

    Close();
    ASSERT_EQ(shell.notifyIcons.size(), 3u);
    EXPECT_EQ(shell.notifyIcons[2].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(shell.notifyIcons[2].data.uID, 1u);
}

TEST_F(TrayTest, ATaskbarNoticeWhileTheIconIsStillThereChangesItInstead)
{
    Start();
    // Windows tells a change of scale as it tells a new taskbar, with the icon still shown.
    shell.notifyIconAddResult = FALSE;
    ::SendMessageA(Frame(), ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    ASSERT_EQ(shell.notifyIcons.size(), 3u);
    EXPECT_EQ(shell.notifyIcons[1].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(shell.notifyIcons[2].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(shell.notifyIcons[2].data.uID, 1u);
    EXPECT_EQ(shell.notifyIcons[2].data.hIcon, shell.notifyIcons[0].data.hIcon) << "the same scale, the same icon";

    // The window moves to a monitor of another scale; the notification area keeps its own.
    RECT suggested{100, 100, 900, 700};
    ::SendMessageA(Frame(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(shell.notifyIcons.size(), 3u);
}

TEST_F(TrayTest, LeftButtonUpRestoresRightButtonUpShowsTheMenuAndNothingElseActs)
{
    Start(SW_SHOWNORMAL);
    ::ShowWindow(Frame(), SW_MINIMIZE);
    ASSERT_FALSE(::IsWindowVisible(Frame()));
    for (LPARAM other : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_CONTEXTMENU})
        EXPECT_EQ(::SendMessageA(View().m_hWnd, WM_TRAYNOTIFY, 1, other), 0);
    EXPECT_FALSE(::IsWindowVisible(Frame()));
    EXPECT_TRUE(shell.popups.empty());

    EXPECT_EQ(::SendMessageA(View().m_hWnd, WM_TRAYNOTIFY, 1, WM_LBUTTONUP), 0);
    EXPECT_TRUE(::IsWindowVisible(Frame()));
    EXPECT_FALSE(::IsIconic(Frame()));

    shell.cursor = POINT{321, 234};
    OpenMenu();
    ASSERT_EQ(shell.popups.size(), 1u);
    EXPECT_EQ(shell.popups[0].flags, static_cast<UINT>(TPM_RIGHTBUTTON));
    EXPECT_EQ(shell.popups[0].x, 321);
    EXPECT_EQ(shell.popups[0].y, 234);
    EXPECT_EQ(shell.popups[0].owner, View().m_hWnd);
    EXPECT_FALSE(::IsMenu(shell.popups[0].menu)) << "destroyed once it closed";
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, View().m_hWnd, WM_NULL, WM_NULL, PM_REMOVE)) << "WM_NULL follows the menu";

    // The pointer on a taskbar below the work area, and where this Wine has no monitor, left
    // of and above the only one: each menu opens inside the work area of the nearest monitor.
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    shell.cursor = POINT{work.right - 60, work.bottom + 12};
    OpenMenu();
    shell.cursor = POINT{work.left - 1500, work.top - 200};
    OpenMenu();
    ASSERT_EQ(shell.popups.size(), 3u);
    EXPECT_EQ(shell.popups[1].x, work.right - 60);
    EXPECT_EQ(shell.popups[1].y, work.bottom - 1);
    EXPECT_EQ(shell.popups[2].x, work.left) << "the near edge, not the far one";
    EXPECT_EQ(shell.popups[2].y, work.top);
}

TEST_F(TrayTest, FixedItemsFollowTheWindowStateAndTheTopMostFlag)
{
    Start(SW_SHOWNORMAL);
    const std::vector<MenuItem> shown = OpenMenu();
    ASSERT_EQ(shown.size(), kFixedItems) << "an empty root has only the fixed items";
    EXPECT_EQ(shown[1].state, static_cast<UINT>(MF_GRAYED)) << "restore, while the window is visible";
    EXPECT_EQ(shown[2].state, 0u);
    EXPECT_EQ(shown[7].state, 0u);
    EXPECT_EQ(shown[10].text, AfxLoadString(ID_APP_ABOUT));

    Command(ID_VIEW_TOPMOST);
    ::ShowWindow(Frame(), SW_MINIMIZE);
    const std::vector<MenuItem> hidden = OpenMenu();
    EXPECT_EQ(hidden[1].state, 0u);
    EXPECT_EQ(hidden[2].state, static_cast<UINT>(MF_GRAYED)) << "minimize, while hidden in the tray";
    EXPECT_EQ(hidden[7].state, static_cast<UINT>(MF_CHECKED));

    // The menu's commands reach the view, document and template only; the view has them all.
    ::SendMessageA(View().m_hWnd, WM_COMMAND, ID_TRAY_RESTORE, 0);
    EXPECT_TRUE(::IsWindowVisible(Frame()));
    ::SendMessageA(View().m_hWnd, WM_COMMAND, ID_TRAY_MINIMIZE, 0);
    EXPECT_FALSE(::IsWindowVisible(Frame()));
    ::SendMessageA(View().m_hWnd, WM_COMMAND, ID_TRAY_MINIMIZE, 0);
    EXPECT_FALSE(::IsWindowVisible(Frame())) << "already minimized: nothing";
}

// Submenus are read as they open; a user who opens them all sees every entry of the tree,
// hidden ones too: folders before files, shortcuts without their extension, each file item
// opening its own path. The search's order differs between file systems: each level is
// compared in name order.
TEST_F(TrayTest, OpeningEverySubmenuShowsTheWholeTreeOfOddNames)
{
    const std::string given = folder.MakeFolder("Odd\\Root");
    for (const char* name : {"Tom & Jerry\\a&&b.txt", "\x83\x5C\\\xFA\x5C.lnk", "  lead\\Report.LNK", "  lead\\site.url",
                             "x.url.lnk", ".lnk", "blank after .txt", "Deep\\er\\est\\\x95\x5C.txt"})
        folder.MakeFile("Odd\\Root\\" + std::string(name));
    folder.MakeFolder("Odd\\Root\\Empty");
    ::SetFileAttributesA((given + "\\x.url.lnk").c_str(), FILE_ATTRIBUTE_HIDDEN);
    // The root is "Root" in the directory the program starts in.
    ::SetCurrentDirectoryA((folder.Path() + "\\Odd").c_str());
    Start();
    const std::vector<MenuItem> menu = OpenMenu();
    ASSERT_GT(menu.size(), kFixedItems);
    // One line per item: a folder's caption and "/", a file's caption and the path it opens.
    std::vector<std::string> lines;
    std::function<void(const std::vector<MenuItem>&, const std::string&)> read = [&](const std::vector<MenuItem>& items,
                                                                                    const std::string& indent) {
        std::vector<std::pair<std::string, const MenuItem*>> folders, files;
        for (const MenuItem& item : items) {
            (item.id == static_cast<UINT>(-1) ? folders : files).emplace_back(item.text, &item);
        }
        size_t firstFile = 0;
        while (firstFile < items.size() && items[firstFile].id == static_cast<UINT>(-1))
            ++firstFile;
        EXPECT_EQ(firstFile, folders.size()) << indent << "folders before files";
        std::sort(folders.begin(), folders.end());
        std::sort(files.begin(), files.end());
        for (const auto& [text, item] : folders) {
            lines.push_back(indent + text + "/");
            read(item->children, indent + " ");
        }
        for (const auto& [text, item] : files) {
            const size_t index = item->id - ID_TRAY_ITEM_FIRST;
            ASSERT_LT(index, TrayPaths().size()) << text;
            lines.push_back(indent + text + " = " + TrayPaths()[index].substr(given.size() + 1));
        }
    };
    read({menu.begin(), menu.end() - kFixedItems}, "");
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "  lead/", " Report =   lead\\Report.LNK", " site =   lead\\site.url",
                         "Deep/", " er/", "  est/", "   \x95\x5C.txt = Deep\\er\\est\\\x95\x5C.txt",
                         "Empty/",
                         "Tom & Jerry/", " a&&b.txt = Tom & Jerry\\a&&b.txt",
                         "\x83\x5C/", " \xFA\x5C = \x83\x5C\\\xFA\x5C.lnk",
                         ".lnk = .lnk", "blank after .txt = blank after .txt", "x.url = x.url.lnk"}));
    Close();
}

TEST_F(TrayTest, ARightClickReadsTheRootOnlyAndEachSubmenuAsItOpens)
{
    for (const char* name : {"Root\\A\\a1.txt", "Root\\A\\Deep\\d.txt", "Root\\B\\b1.txt", "Root\\x.txt"})
        folder.MakeFile(name);
    Start();
    std::vector<std::string> pathsAtFirst, pathsAfter;
    shell.onPopup = [&](const TrackPopupCall& popup) {
        pathsAtFirst = TrayPaths();
        HMENU a = ::GetSubMenu(popup.menu, 0);
        EXPECT_EQ(::GetMenuItemCount(a), 0) << "not read before it opens";
        for (int i = 0; i < 2; ++i)
            ::SendMessageA(popup.owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(a), 0);
        EXPECT_EQ(::GetMenuItemCount(a), 2) << "Deep, a1.txt: not twice over";
        pathsAfter = TrayPaths();
        return FALSE;
    };
    ::SendMessageA(View().m_hWnd, WM_TRAYNOTIFY, 1, WM_RBUTTONUP);
    EXPECT_EQ(pathsAtFirst, std::vector<std::string>{root + "\\x.txt"});
    EXPECT_EQ(pathsAfter, (std::vector<std::string>{root + "\\x.txt", root + "\\A\\a1.txt"}));
}

TEST_F(TrayTest, ASubmenuOpenedAgainShowsTheDiskNowAndEveryIdKeepsItsFile)
{
    for (const char* name : {"Root\\A\\Deep\\d.txt", "Root\\A\\a1.txt"})
        folder.MakeFile(name);
    Start();
    // Each opening of A: every caption inside it (the search's order is the file system's,
    // so they are sorted here), with the id and the file it opens.
    using Opening = std::map<std::string, std::string>;
    const auto open = [&](HMENU a, HWND owner) {
        ::SendMessageA(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(a), 0);
        Opening seen;
        std::function<void(const std::vector<MenuItem>&, const std::string&)> walk =
            [&](const std::vector<MenuItem>& items, const std::string& prefix) {
                for (const MenuItem& item : items) {
                    const bool file = item.id != static_cast<UINT>(-1);
                    seen[prefix + item.text] =
                        file ? std::to_string(item.id) + " " + TrayPaths().at(item.id - ID_TRAY_ITEM_FIRST) : "folder";
                    walk(item.children, prefix + item.text + "\\");
                }
            };
        walk(ReadMenu(a, owner), "");
        return seen;
    };
    Opening first, second;
    shell.onPopup = [&](const TrackPopupCall& popup) {
        HMENU a = ::GetSubMenu(popup.menu, 0);
        first = open(a, popup.owner);
        ::DeleteFileA((root + "\\A\\Deep\\d.txt").c_str());
        folder.MakeFile("Root\\A\\a3.txt");
        folder.MakeFile("Root\\A\\New\\n.txt");
        second = open(a, popup.owner);
        return FALSE;
    };
    ::SendMessageA(View().m_hWnd, WM_TRAYNOTIFY, 1, WM_RBUTTONUP);
    const std::string a = root + "\\A\\";
    const auto id = [](UINT n) { return std::to_string(ID_TRAY_ITEM_FIRST + n) + " "; };
    // A's own files get their ids as A fills, a subfolder's as it opens.
    EXPECT_EQ(first, (Opening{{"Deep", "folder"}, {"Deep\\d.txt", id(1) + a + "Deep\\d.txt"}, {"a1.txt", id(0) + a + "a1.txt"}}));
    EXPECT_EQ(second, (Opening{{"Deep", "folder"},
                               {"New", "folder"},
                               {"New\\n.txt", id(3) + a + "New\\n.txt"},
                               {"a1.txt", id(0) + a + "a1.txt"},
                               {"a3.txt", id(2) + a + "a3.txt"}}))
        << "what is on disk now, and a1.txt keeps its id";
    EXPECT_EQ(TrayPaths(), (std::vector<std::string>{a + "a1.txt", a + "Deep\\d.txt", a + "a3.txt", a + "New\\n.txt"}))
        << "the gone file's id is given to no other file";

    ::SendMessageA(View().m_hWnd, WM_COMMAND, ID_TRAY_ITEM_FIRST + 2, 0);
    ASSERT_EQ(shell.shellExecutes.size(), 1u);
    EXPECT_EQ(shell.shellExecutes[0].file, a + "a3.txt");
}

TEST_F(TrayTest, AChosenFileOpensAfterTheMenuIsGoneAndOtherIdsGoTheFrameworksWay)
{
    folder.MakeFile("Root\\one.txt");
    folder.MakeFile("Root\\two.txt");
    Start();
    OpenMenu();
    ASSERT_EQ(View().m_trayPaths.size(), 2u);
    // The choice arrives as a command after TrackPopupMenu has returned.
    ::SendMessageA(View().m_hWnd, WM_COMMAND, ID_TRAY_ITEM_FIRST + 1, 0);
    ASSERT_EQ(shell.shellExecutes.size(), 1u);
    EXPECT_EQ(shell.shellExecutes[0].file, TrayPaths()[1]);
    EXPECT_EQ(shell.shellExecutes[0].owner, View().m_hWnd);

    AFX_CMDHANDLERINFO info;
    EXPECT_FALSE(View().OnCmdMsg(ID_TRAY_ITEM_FIRST, CN_COMMAND, nullptr, &info)) << "a lookup runs nothing";
    EXPECT_FALSE(View().OnCmdMsg(ID_TRAY_ITEM_FIRST, CN_UPDATE_COMMAND_UI, nullptr, nullptr));
    ::SendMessageA(View().m_hWnd, WM_COMMAND, ID_TRAY_ITEM_FIRST + 2, 0);
    EXPECT_EQ(shell.shellExecutes.size(), 1u) << "beyond the list";
}

TEST_F(TrayTest, FileItemsStopBelowTheFrameworksIdsAtTheLastIdBelow57344)
{
    // 25 folders of 1,000 files: more file items than ids below the framework's.
    const char* volume = std::getenv("FERNWICK_VOLUME");
    ASSERT_NE(volume, nullptr) << "run through CTest, which makes the big folders";
    ASSERT_TRUE(::SetCurrentDirectoryA((std::string(volume) + "\\Cap").c_str()));
    ::DeleteFileA("Fernwick.ini"); // the big folders outlive the runs; their settings must not
    Start();
    int lastCount = 0;
    UINT lastId = 0;
    shell.onPopup = [&](const TrackPopupCall& popup) {
        // The cap counts the files of the submenus opened in one menu.
        for (int i = 0; i < 25; ++i)
            ::SendMessageA(popup.owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(::GetSubMenu(popup.menu, i)), i);
        HMENU last = ::GetSubMenu(popup.menu, 24);
        lastCount = ::GetMenuItemCount(last);
        lastId = ::GetMenuItemID(last, lastCount - 1);
        // Opened again, the submenus use up no more ids: the same items come back.
        for (int i : {0, 24})
            ::SendMessageA(popup.owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(::GetSubMenu(popup.menu, i)), i);
        EXPECT_EQ(::GetMenuItemCount(::GetSubMenu(popup.menu, 0)), 1000);
        EXPECT_EQ(::GetMenuItemCount(last), lastCount);
        EXPECT_EQ(::GetMenuItemID(last, lastCount - 1), lastId);
        return FALSE;
    };
    ::SendMessageA(View().m_hWnd, WM_TRAYNOTIFY, 1, WM_RBUTTONUP);
    EXPECT_EQ(View().m_trayPaths.size(), static_cast<size_t>(AFX_ID_FRAMEWORK_FIRST - ID_TRAY_ITEM_FIRST));
    EXPECT_EQ(lastCount, AFX_ID_FRAMEWORK_FIRST - ID_TRAY_ITEM_FIRST - 24 * 1000);
    EXPECT_EQ(lastId, AFX_ID_FRAMEWORK_FIRST - 1u) << "the last id below the framework's";
}

// Forty levels, past the depth this Wine lets a menu nest in one append, and paths past
// the length the ANSI functions take: every level a search can name shows, each file item
// with an id of its own.
TEST_F(TrayTest, DeepAndLongNestingShowsEveryLevelTheFileFunctionsReach)
{
    std::string chain = "Root";
    for (int level = 0; level < 40; ++level) {
        chain += "\\l" + std::to_string(level);
        folder.MakeFile(chain + "\\f.txt");
    }
    // Made through the wide functions: the ANSI ones take no path this long.
    const std::wstring longRoot = LongPath(root);
    std::wstring dir = longRoot + L"\\long";
    ::CreateDirectoryW(dir.c_str(), nullptr);
    std::vector<std::string> reached; // the files in folders a search can still name
    while (dir.size() < 340) {
        ::CloseHandle(::CreateFileW((dir + L"\\file.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        const std::wstring below = dir.substr(longRoot.size());
        const std::string folderPath = root + std::string(below.begin(), below.end());
        if (folderPath.size() + 2 < MAX_PATH)
            reached.push_back(folderPath + "\\file.txt");
        dir += L"\\level_" + std::to_wstring(dir.size());
        ASSERT_TRUE(::CreateDirectoryW(dir.c_str(), nullptr));
    }
    Start();
    const std::vector<MenuItem> menu = OpenMenu();
    const auto named = [&](const char* text) {
        const auto it = std::find_if(menu.begin(), menu.end(), [&](const MenuItem& item) { return item.text == text; });
        return it != menu.end() ? *it : MenuItem{};
    };
    const auto depth = [](const MenuItem& top) {
        size_t levels = 0;
        for (const MenuItem* item = &top; !item->children.empty(); item = &item->children.front()) {
            ++levels;
            for (const MenuItem& child : item->children)
                EXPECT_TRUE(child.id == static_cast<UINT>(-1) ||
                            (child.id >= ID_TRAY_ITEM_FIRST && child.id < AFX_ID_FRAMEWORK_FIRST))
                    << "no stray id at level " << levels;
        }
        return levels;
    };
    EXPECT_EQ(depth(named("l0")), 40u) << "every level";
    EXPECT_GT(depth(named("long")), 5u);
    // The same files as the tree lists: each in a folder a search can name, those whose own
    // path passes 260 bytes too (the shell then refuses them).
    for (const std::string& path : reached)
        EXPECT_NE(std::find(TrayPaths().begin(), TrayPaths().end(), path), TrayPaths().end()) << path;
}

TEST_F(TrayTest, ExitClosesExactlyAsTheCloseBoxDoes)
{
    folder.MakeFile("Root\\Games\\pong.txt");
    Start();
    UserExpand(Item("Games"));
    ::SendMessageA(View().m_hWnd, WM_COMMAND, ID_TRAY_EXIT, 0);
    EXPECT_EQ(app->m_pMainWnd, nullptr);
    app->ExitInstance(); // as the message loop ends
    EXPECT_NE(IniValue("WindowPos"), "<absent>");
    EXPECT_EQ(IniValue("DirTree0"), "Games");
    EXPECT_EQ(IniValue("TopMost"), "0");
    EXPECT_EQ(shell.notifyIcons.back().message, static_cast<DWORD>(NIM_DELETE));
}
TEST_F(TrayTest, LogOffWhileTheMenuIsOpenSavesEverything)
{
    folder.MakeFile("Root\\Games\\pong.txt");
    SetIniValue("TopMost", "1");
    Start();
    UserExpand(Item("Games"));
    shell.onPopup = [&](const TrackPopupCall&) {
        if (::SendMessageA(Frame(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF))
            ::SendMessageA(Frame(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        return FALSE;
    };
    ::SendMessageA(View().m_hWnd, WM_TRAYNOTIFY, 1, WM_RBUTTONUP);
    EXPECT_EQ(app->m_pMainWnd, nullptr) << "the session ended under the menu";
    EXPECT_NE(IniValue("WindowPos"), "<absent>");
    EXPECT_EQ(IniValue("DirTree0"), "Games");
    EXPECT_EQ(IniValue("TopMost"), "1");
    app.reset();
}

TEST_F(TrayTest, AboutWorksFromTheMenuWhileTheWindowIsHidden)
{
    Start(SW_SHOWNORMAL);
    ::ShowWindow(Frame(), SW_MINIMIZE);
    std::string version;
    RunModal(
        [&] { return ::SendMessageA(View().m_hWnd, WM_COMMAND, ID_APP_ABOUT, 0); },
        {[&](HWND hDlg) {
            char text[64] = {};
            ::GetDlgItemTextA(hDlg, IDC_VERSION, text, sizeof text);
            version = text;
            PostKey(hDlg, VK_ESCAPE);
        }});
    EXPECT_EQ(version, "Fernwick Version " FERNWICK_VERSION);
    EXPECT_FALSE(::IsWindowVisible(Frame())) << "the window stays in the tray";
}

// Each file and folder item draws the icon the tree shows for the same entry (the tree's
// own item where the tree lists it, the query by path for the hidden entries it leaves
// out), and only when the menu draws it; a folder whose submenu is open shows its open icon.
TEST_F(TrayTest, EveryItemDrawsTheTreesIconForItsEntryOnlyWhenDrawn)
{
    ASSERT_TRUE(MakeIconCases(folder, "Demo"));
    const std::string mixed = folder.Path() + "\\Demo\\Root\\Mixed\\";
    ASSERT_TRUE(::CopyFileA(AfxGetModuleFileName().c_str(), (mixed + "hidden.exe").c_str(), FALSE));
    ::SetFileAttributesA((mixed + "hidden.exe").c_str(), FILE_ATTRIBUTE_HIDDEN);
    ::SetCurrentDirectoryA((folder.Path() + "\\Demo").c_str());
    Start();

    // What the tree shows, every folder expanded, by the entry's full name in upper case: the
    // tree puts a shortcut's extension back in lower case.
    const auto Upper = [](std::string path) {
        MakeUpper(path);
        return path;
    };
    std::map<std::string, std::pair<int, int>> treeImages;
    std::function<void(HTREEITEM)> walk = [&](HTREEITEM parent) {
        for (HTREEITEM item = Tree().GetChildItem(parent); item != nullptr; item = Tree().GetNextSiblingItem(item)) {
            const auto kind = static_cast<ItemKind>(Tree().GetItemData(item));
            if (kind == kindFolder)
                Tree().Expand(item, TVE_EXPAND);
            TVITEMA tv{};
            tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
            tv.hItem = item;
            Tree().GetItem(&tv);
            treeImages[Upper(FileNameOf(Tree().GetItemPath(item), kind))] = {tv.iImage, tv.iSelectedImage};
            walk(item);
        }
    };
    walk(TVI_ROOT);
    HIMAGELIST list = Tree().GetImageList(TVSIL_NORMAL);
    int cx = 0;
    int cy = 0;
    ASSERT_TRUE(::ImageList_GetIconSize(list, &cx, &cy));
    const SIZE icon{cx, cy};

    size_t fromTree = 0;
    size_t byPath = 0;
    shell.onPopup = [&](const TrackPopupCall& popup) {
        ReadMenu(popup.menu, popup.owner);
        std::vector<IconItem> items;
        CollectIconItems(popup.menu, Tree().m_strRootPath, TrayPaths(), items);
        EXPECT_EQ(View().m_trayMenuIcons.CountLookedUp(), 0u) << "every submenu open, nothing drawn";
        size_t fixed = 0;
        for (const IconItem& item : items) {
            SCOPED_TRACE(item.path);
            MEASUREITEMSTRUCT measure{ODT_MENU, 0, item.id, 0, 0, item.data};
            EXPECT_TRUE(::SendMessageA(popup.owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)));
            EXPECT_GT(static_cast<LONG>(measure.itemWidth), icon.cx) << "the tree's icon size at this scale, and a gap";
            EXPECT_EQ(static_cast<LONG>(measure.itemHeight), icon.cy);
            const auto drawn = [&](UINT state, bool clipped) {
                return Picture(icon, [&](HDC dc, const RECT& rc) {
                    if (clipped)
                        ::ExcludeClipRect(dc, rc.left, rc.top, rc.right, rc.bottom);
                    DRAWITEMSTRUCT draw{ODT_MENU, 0, item.id, ODA_DRAWENTIRE, state,
                                        reinterpret_cast<HWND>(item.menu), dc, rc, item.data};
                    ::SendMessageA(popup.owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
                });
            };
            const size_t before = View().m_trayMenuIcons.CountLookedUp();
            if (item.path.empty()) {
                // A fixed item keeps the icons' room and shows nothing in it.
                EXPECT_TRUE(drawn(0, false) == Picture(icon, [](HDC, const RECT&) {})) << item.id;
                EXPECT_EQ(View().m_trayMenuIcons.CountLookedUp(), before);
                ++fixed;
                continue;
            }
            drawn(0, true);
            EXPECT_EQ(View().m_trayMenuIcons.CountLookedUp(), before) << "off screen: not asked for";
            const std::vector<DWORD> normal = drawn(0, false);
            EXPECT_EQ(View().m_trayMenuIcons.CountLookedUp(), before + 1);

            std::pair<int, int> expected;
            if (const auto it = treeImages.find(Upper(item.path)); it != treeImages.end()) {
                expected = it->second;
                ++fromTree;
            } else {
                SHFILEINFOA closed{}, open{};
                const std::string query = item.path + "\\";
                ::SHGetFileInfoA(query.c_str(), 0, &closed, sizeof closed, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
                ::SHGetFileInfoA(query.c_str(), 0, &open, sizeof open,
                                 SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON);
                expected = {closed.iIcon, open.iIcon};
                ++byPath;
                const std::string folderOf = item.path.substr(0, static_cast<size_t>(ReverseFind(item.path, '\\')));
                EXPECT_TRUE((::GetFileAttributesA(item.path.c_str()) & FILE_ATTRIBUTE_HIDDEN) ||
                            treeImages.count(Upper(folderOf)) == 0)
                    << "left out of the tree for being hidden, or inside a folder that is";
            }
            const auto image = [&](int index) {
                return Picture(icon, [&](HDC dc, const RECT&) { ::ImageList_Draw(list, index, dc, 0, 0, ILD_TRANSPARENT); });
            };
            EXPECT_TRUE(normal == image(expected.first));
            EXPECT_TRUE(drawn(ODS_SELECTED, false) == image(expected.second)) << "highlighted";
        }
        EXPECT_EQ(fixed, 8u);
        EXPECT_EQ(View().m_trayMenuIcons.CountLookedUp(), items.size() - fixed);
        return FALSE;
    };
    ::SendMessageA(View().m_hWnd, WM_TRAYNOTIFY, 1, WM_RBUTTONUP);
    EXPECT_GT(fromTree, 40u);
    EXPECT_GE(byPath, 1u) << "hidden.exe at least";
}

// The real menu loop opens a submenu of 1,000 files by keyboard and draws what fits on the
// screen: the icons of those items are asked for, not of all; and many such menus leave no
// GDI object behind.
TEST_F(TrayTest, ASubmenuOfAThousandFilesUnderTheMenuLoopCostsTheIconsOnScreen)
{
    const char* volume = std::getenv("FERNWICK_VOLUME");
    ASSERT_NE(volume, nullptr) << "run through CTest, which makes the big folders";
    ASSERT_TRUE(::SetCurrentDirectoryA((std::string(volume) + "\\Cap").c_str()));
    ::DeleteFileA("Fernwick.ini");
    Start();
    size_t lookedUp = 0;
    int opened = 0;
    shell.onPopup = [&](const TrackPopupCall& popup) {
        // The first folder, its submenu, then out of both.
        for (WPARAM key : {VK_DOWN, VK_RIGHT, VK_ESCAPE, VK_ESCAPE})
            ::PostMessageA(popup.owner, WM_KEYDOWN, key, 0);
        ::TrackPopupMenu(popup.menu, popup.flags, popup.x, popup.y, 0, popup.owner, nullptr);
        lookedUp = View().m_trayMenuIcons.CountLookedUp();
        opened = ::GetMenuItemCount(::GetSubMenu(popup.menu, 0));
        return FALSE;
    };
    ::SendMessageA(View().m_hWnd, WM_TRAYNOTIFY, 1, WM_RBUTTONUP);
    ASSERT_EQ(opened, 1000);
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    // The 25 folders of the top menu, and no more of the files than rows of 16 pixels fit.
    EXPECT_GT(lookedUp, 25u) << "the menu loop draws through the view";
    EXPECT_LE(lookedUp, 25u + static_cast<size_t>(work.bottom - work.top) / 16);

    ::SendMessageA(View().m_hWnd, WM_TRAYNOTIFY, 1, WM_RBUTTONUP);
    const ResourceCount before = CountResources();
    for (int i = 0; i < 10; ++i)
        ::SendMessageA(View().m_hWnd, WM_TRAYNOTIFY, 1, WM_RBUTTONUP);
    const ResourceCount after = CountResources();
    EXPECT_TRUE(NoGrowth(before, after)) << "before " << before << "\nafter  " << after;
}
} // namespace
