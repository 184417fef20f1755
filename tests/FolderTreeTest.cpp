// The folder tree control over real folders: what is listed, how items are named and
// iconed, lazy expansion and collapse, and item paths.
#include "TreeFixture.h"
#include "ChildProcess.h"
#include "IconCases.h"
#include <algorithm>
#include <shellapi.h>
#include <functional>
#include "framework/Path.h"
#include "tree/FolderListing.h"

namespace {
class FolderTreeTest : public TreeFixture {
protected:
    void Show(const std::string& rootPath) { ASSERT_TRUE(TreeFixture::Show(rootPath)); }
    DWORD_PTR Kind(const std::vector<std::string>& texts) const { return tree.GetItemData(Item(texts)); }
};

TEST_F(FolderTreeTest, FoldersComeFirstUnderEveryParentEachSortedWithoutRegardToCase)
{
    for (const char* name : {"b.txt", "A.txt", "_x.txt", "Games\\b.txt", "Games\\A.txt", "Games\\zeta\\1",
                             "Games\\Alpha\\1"})
        folder.MakeFile(std::string("Root\\") + name);
    folder.MakeFolder("Root\\zeta");
    folder.MakeFolder("Root\\alpha");
    Show(root);
    EXPECT_EQ(Texts(), (Names{"alpha", "Games", "zeta", "_x.txt", "A.txt", "b.txt"}));
    UserExpand(Item({"Games"}));
    EXPECT_EQ(Texts(Item({"Games"})), (Names{"Alpha", "zeta", "A.txt", "b.txt"}));
}

TEST_F(FolderTreeTest, ShortcutsShowWithoutTheirExtensionAndCarryTheirKind)
{
    for (const char* name : {"Readme.LNK", "Site.url", "x.url.lnk", "Notes.lnk", "plain.txt", "noext"})
        folder.MakeFile(std::string("Root\\") + name, "[InternetShortcut]\r\n");
    folder.MakeFolder("Root\\Tools.lnk");
    folder.MakeFolder("Root\\Notes\\inner");
    Show(root);
    EXPECT_EQ(Texts(), (Names{"Notes", "Tools.lnk", "noext", "Notes", "plain.txt", "Readme", "Site", "x.url"}));
    EXPECT_EQ(Kind({"Tools.lnk"}), static_cast<DWORD_PTR>(kindFolder));
    EXPECT_EQ(Kind({"Readme"}), static_cast<DWORD_PTR>(kindShortcut));
    EXPECT_EQ(Kind({"Site"}), static_cast<DWORD_PTR>(kindInternetShortcut));
    EXPECT_EQ(Kind({"x.url"}), static_cast<DWORD_PTR>(kindShortcut));
    EXPECT_EQ(Kind({"plain.txt"}), static_cast<DWORD_PTR>(kindFile));
    EXPECT_EQ(Kind({"noext"}), static_cast<DWORD_PTR>(kindFile));
    // The file Notes.lnk comes after the folder Notes, with the same text.
    HTREEITEM folderNotes = tree.GetRootItem();
    EXPECT_EQ(tree.GetItemData(folderNotes), static_cast<DWORD_PTR>(kindFolder));
    HTREEITEM fileNotes = tree.GetNextSiblingItem(tree.GetNextSiblingItem(tree.GetNextSiblingItem(folderNotes)));
    EXPECT_EQ(tree.GetItemText(fileNotes), "Notes");
    EXPECT_EQ(tree.GetItemData(fileNotes), static_cast<DWORD_PTR>(kindShortcut));
}

TEST_F(FolderTreeTest, HiddenEntriesAreNeverListedButAHiddenOnlyFolderStillGetsAButton)
{
    folder.MakeFile("Root\\visible.txt");
    ::SetFileAttributesA(folder.MakeFile("Root\\secret.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    ::SetFileAttributesA(folder.MakeFolder("Root\\Shell\\inside").c_str(), FILE_ATTRIBUTE_HIDDEN);
    ::SetFileAttributesA(folder.MakeFolder("Root\\Private").c_str(), FILE_ATTRIBUTE_HIDDEN);
    ::SetFileAttributesA(folder.MakeFile("Root\\Quiet\\only.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    Show(root);
    EXPECT_EQ(Texts(), (Names{"Quiet", "Shell", "visible.txt"}));
    HTREEITEM shell = Item({"Shell"});
    EXPECT_TRUE(HasPlaceholderOnly(shell)) << "a hidden subfolder still counts for the button";
    UserExpand(shell);
    EXPECT_EQ(tree.GetChildItem(shell), nullptr);
    EXPECT_EQ(tree.GetChildItem(Item({"Quiet"})), nullptr) << "a hidden file does not count";

    // This Wine does not keep the temporary attribute on a file: the rule itself.
    EXPECT_TRUE(IsListed("x", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM, ListingRule::Tree));
    EXPECT_FALSE(IsListed("x", FILE_ATTRIBUTE_TEMPORARY, ListingRule::Tree));
    EXPECT_FALSE(IsListed("x", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY, ListingRule::Tree));
    EXPECT_TRUE(CountsForButton("x", FILE_ATTRIBUTE_TEMPORARY, true)) << "a temporary file gives a button";
    EXPECT_TRUE(IsListed("x", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY, ListingRule::Tray));
}

TEST_F(FolderTreeTest, ExpansionReadsTheDiskAfreshAndCollapseForgetsDeeperExpansions)
{
    folder.MakeFolder("Root\\Empty");
    folder.MakeFile("Root\\Games\\Arcade\\pong.txt");
    folder.MakeFile("Root\\Games\\old.txt");
    Show(root);
    HTREEITEM empty = Item({"Empty"});
    EXPECT_EQ(tree.GetChildItem(empty), nullptr) << "nothing to show: no button";

    HTREEITEM games = Item({"Games"});
    EXPECT_TRUE(HasPlaceholderOnly(games));
    UserExpand(games);
    UserExpand(Item({"Games", "Arcade"}));
    EXPECT_EQ(Texts(Item({"Games", "Arcade"})), (Names{"pong.txt"}));

    UserCollapse(games);
    EXPECT_TRUE(HasPlaceholderOnly(games));
    folder.MakeFile("Root\\Games\\new.txt");
    UserExpand(games);
    EXPECT_EQ(Texts(games), (Names{"Arcade", "new.txt", "old.txt"}));
    EXPECT_TRUE(HasPlaceholderOnly(Item({"Games", "Arcade"}))) << "the deeper expansion was forgotten";

    // Emptied on disk while collapsed: the button stays, expanding shows nothing.
    UserCollapse(games);
    RemoveTree(root + "\\Games");
    ::CreateDirectoryA((root + "\\Games").c_str(), nullptr);
    EXPECT_TRUE(HasPlaceholderOnly(games));
    UserExpand(games);
    EXPECT_EQ(tree.GetChildItem(games), nullptr);
}

TEST_F(FolderTreeTest, EveryFolderShowsTheButtonAProbeAtItsInsertGave)
{
    // More folders than a screen holds, of every kind of content, drawn or not.
    for (int i = 0; i < 40; ++i) {
        const std::string name = "Root\\F" + std::to_string(100 + i);
        switch (i % 5) {
        case 0: folder.MakeFolder(name); break;
        case 1: folder.MakeFile(name + "\\a.txt"); break;
        case 2: folder.MakeFolder(name + "\\Sub"); break;
        case 3:
            folder.MakeFile(name + "\\hidden.txt");
            ::SetFileAttributesA((root + "\\F" + std::to_string(100 + i) + "\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
            break;
        default:
            folder.MakeFolder(name + "\\Secret");
            ::SetFileAttributesA((root + "\\F" + std::to_string(100 + i) + "\\Secret").c_str(), FILE_ATTRIBUTE_HIDDEN);
        }
    }
    Show(root);
    tree.UpdateWindow(); // the rows on screen ask first
    int buttons = 0;
    for (HTREEITEM item = tree.GetChildItem(TVI_ROOT); item != nullptr; item = tree.GetNextSiblingItem(item)) {
        const std::string path = tree.GetItemPath(item);
        const bool probe = HasButtonEntries(PathFromAnsi(path), true);
        EXPECT_EQ(HasButton(item), probe) << path;
        EXPECT_EQ(HasPlaceholderOnly(item), probe) << path;
        buttons += probe ? 1 : 0;
    }
    EXPECT_EQ(buttons, 24);
    UserExpand(Item({"F102"}));
    EXPECT_EQ(Texts(Item({"F102"})), (Names{"Sub"}));
    UserExpand(Item({"F139"}));
    EXPECT_EQ(tree.GetChildItem(Item({"F139"})), nullptr) << "the button of a hidden folder shows nothing";
}

TEST_F(FolderTreeTest, CollapsingForgetsTheFolderInOnePassAndKeepsTheSelectionNearby)
{
    folder.MakeFile("Root\\Apps\\a.txt");
    for (int i = 0; i < 60; ++i)
        folder.MakeFile("Root\\Games\\game" + std::to_string(i) + ".txt");
    folder.MakeFile("Root\\Games\\Arcade\\pong.txt");
    folder.MakeFile("Root\\Tools\\t.txt");
    // By the keyboard with the folder selected and scrolled out of sight above, or by its
    // button with the selection inside it.
    for (const bool byButton : {false, true}) {
        SCOPED_TRACE(byButton ? "button" : "keyboard");
        const auto expand = [&] {
            Show(root);
            UserExpand(Item({"Games"}));
            UserExpand(Item({"Games", "Arcade"}));
            if (byButton) {
                tree.SelectItem(Item({"Games", "Arcade", "pong.txt"}));
                tree.SelectSetFirstVisible(Item({"Apps"}));
            } else {
                tree.SelectItem(Item({"Games"}));
                tree.SelectSetFirstVisible(Item({"Games", "game20.txt"}));
            }
            return Item({"Games"});
        };
        HTREEITEM games = expand();
        if (byButton) {
            RECT row{};
            ASSERT_TRUE(tree.GetItemRect(games, &row, FALSE));
            POINT button{0, (row.top + row.bottom) / 2};
            UINT flags = 0;
            while (button.x < row.right && (tree.HitTest(button, &flags), flags != TVHT_ONITEMBUTTON))
                ++button.x;
            ASSERT_EQ(flags, static_cast<UINT>(TVHT_ONITEMBUTTON));
            tree.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(button.x, button.y));
            tree.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(button.x, button.y));
        } else {
            tree.SendMessage(WM_KEYDOWN, VK_LEFT, 0);
        }
        EXPECT_TRUE(HasPlaceholderOnly(games));
        tree.UpdateWindow();
        EXPECT_EQ(Outline(), (Names{"Apps", " ", "Games *", " ", "Tools", " "})) << "the selection inside goes to it";
        EXPECT_EQ(tree.GetItemText(tree.GetNextItem(nullptr, TVGN_FIRSTVISIBLE)), "Apps");
    }

    // Expanded again, it is read afresh.
    folder.MakeFile("Root\\Games\\new.txt");
    HTREEITEM games = Item({"Games"});
    UserExpand(games);
    EXPECT_EQ(Texts(games).size(), 62u);
    EXPECT_TRUE(HasPlaceholderOnly(Item({"Games", "Arcade"})));
}

TEST_F(FolderTreeTest, RootWithOrWithoutBackslashAndInAnotherCaseGivesTheSameTreeAndPaths)
{
    folder.MakeFile("Root\\Games\\Readme.lnk");
    folder.MakeFile("Root\\Games\\Site.url");
    std::string upper = root;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const std::string& given : {root, root + "\\", upper}) {
        SCOPED_TRACE(given);
        Show(given);
        EXPECT_EQ(tree.m_strRootPath, given.back() == '\\' ? given : given + "\\");
        EXPECT_EQ(Texts(), (Names{"Games"}));
        UserExpand(Item({"Games"}));
        EXPECT_EQ(Texts(Item({"Games"})), (Names{"Readme", "Site"}));
        EXPECT_EQ(tree.GetItemPath(Item({"Games"})), tree.m_strRootPath + "Games");
        EXPECT_EQ(tree.GetItemPath(Item({"Games", "Readme"})), tree.m_strRootPath + "Games\\Readme");
    }
}

TEST_F(FolderTreeTest, TwoByteNamesWithA5CTrailByteAreNeverSplit)
{
    // "ソ" and "表" end in 0x5C; the folder's name ends in such a character.
    const std::string so = "\x83\x5C";
    const std::string table = "\x90\x7D\x95\x5C";
    // IBM extension kanji 纊 and 蓜 (FA 5C, FB 5C) lead with bytes beyond 0xF5.
    const std::string ibm = "\xFA\x5C\xFB\x5C";
    folder.MakeFile("Root\\" + so + "\\" + table + ".txt");
    folder.MakeFile("Root\\" + so + "\\" + table + "\\deep.lnk");
    folder.MakeFile("Root\\" + ibm + "\\" + ibm + ".txt");
    Show(root);
    EXPECT_EQ(Texts(), (Names{so, ibm}));
    UserExpand(Item({ibm}));
    EXPECT_EQ(Texts(Item({ibm})), (Names{ibm + ".txt"}));
    EXPECT_EQ(tree.GetItemPath(Item({ibm, ibm + ".txt"})), root + "\\" + ibm + "\\" + ibm + ".txt");
    UserExpand(Item({so}));
    EXPECT_EQ(Texts(Item({so})), (Names{table, table + ".txt"}));
    UserExpand(Item({so, table}));
    EXPECT_EQ(Texts(Item({so, table})), (Names{"deep"}));
    EXPECT_EQ(tree.GetItemPath(Item({so, table, "deep"})), root + "\\" + so + "\\" + table + "\\deep");
}

TEST_F(FolderTreeTest, OddNamesAndLongPathsAreShownAsTheyAre)
{
    const std::string ampersand = "Tom & Jerry";
    const std::string blanks = "  lead";
    folder.MakeFile("Root\\" + ampersand + ".txt");
    folder.MakeFolder("Root\\" + blanks);
    // Fill the path up to just below 260 bytes, the longest the file functions take.
    std::string longName(259 - root.size() - 1 - 4, 'n');
    folder.MakeFile("Root\\" + longName + ".txt");
    Show(root);
    EXPECT_EQ(Texts(), (Names{blanks, longName + ".txt", ampersand + ".txt"}));
    EXPECT_EQ(tree.GetItemPath(Item({longName + ".txt"})), root + "\\" + longName + ".txt");
    EXPECT_EQ(tree.GetItemText(Item({longName + ".txt"})).size(), longName.size() + 4);
}

// A root in another form than the search reports does not strip: the top level shows
// whole paths, and item paths are the root followed by them.
TEST_F(FolderTreeTest, RootWithSlashesShowsWholePathsReadBackPastTheFirstBuffer)
{
    // A file's path may reach 259 bytes, past the 256 bytes an item text is first read into.
    const std::string longName(258 - root.size(), 'L');
    folder.MakeFile("Root\\" + longName);
    std::string slashed = root;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    Show(slashed);
    const std::string whole = root + "\\" + longName;
    ASSERT_GT(whole.size(), 256u);
    EXPECT_EQ(Texts(), (Names{whole}));
    EXPECT_EQ(tree.GetItemPath(tree.GetRootItem()), slashed + "\\" + whole);
}

TEST_F(FolderTreeTest, MissingRootOrRootThatIsAFileGivesAnEmptyTree)
{
    folder.MakeFile("Root\\file.txt");
    EXPECT_TRUE(TreeFixture::Show(root + "\\missing", TRUE));
    EXPECT_EQ(tree.GetCount(), 0u);
    EXPECT_EQ(tree.m_strRootPath, root + "\\missing\\");
    EXPECT_TRUE(TreeFixture::Show(root + "\\file.txt", TRUE));
    EXPECT_EQ(tree.GetCount(), 0u);
    std::string huge(400, 'x');
    EXPECT_TRUE(TreeFixture::Show(root + "\\" + huge, TRUE));
    EXPECT_EQ(tree.GetCount(), 0u);
}

TEST_F(FolderTreeTest, FoldersOnlyWhenFilesAreNotShown)
{
    folder.MakeFile("Root\\a.txt");
    folder.MakeFile("Root\\Docs\\b.txt");
    folder.MakeFolder("Root\\Full\\Sub");
    ASSERT_TRUE(TreeFixture::Show(root, FALSE));
    EXPECT_EQ(Texts(), (Names{"Docs", "Full"}));
    EXPECT_EQ(tree.GetChildItem(Item({"Docs"})), nullptr) << "a folder of files has nothing to show";
    EXPECT_TRUE(HasPlaceholderOnly(Item({"Full"})));
}

// Icons are asked for late, and by type where every file of the type looks alike: the
// indexes must be exactly those the queries by path give, over the demo root and the
// kinds of files big folders hold.
TEST_F(FolderTreeTest, EveryItemShowsTheIconsTheQueriesByPathGive)
{
    ASSERT_TRUE(MakeIconCases(folder, "Demo"));
    Show(folder.Path() + "\\Demo\\Root");

    // From the disk's side: each entry the tree shows is found by its caption and kind, and
    // asked for by its path on disk, as the queries by path asked.
    int compared = 0;
    std::function<void(const std::string&, HTREEITEM)> check = [&](const std::string& dir, HTREEITEM parent) {
        WIN32_FIND_DATAA data;
        const UniqueFindHandle find(::FindFirstFileA((dir + "\\*").c_str(), &data));
        for (BOOL more = static_cast<bool>(find); more; more = ::FindNextFileA(find.get(), &data)) {
            const std::string name = data.cFileName;
            if (name == "." || name == ".." || (data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY)))
                continue;
            const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            std::string caption = name;
            const size_t dot = name.size() > 4 ? name.size() - 4 : std::string::npos;
            if (!isFolder && dot != std::string::npos &&
                (lstrcmpiA(name.c_str() + dot, ".lnk") == 0 || lstrcmpiA(name.c_str() + dot, ".url") == 0))
                caption.erase(dot);
            HTREEITEM item = tree.GetChildItem(parent);
            while (item != nullptr && (tree.GetItemText(item) != caption ||
                                       (tree.GetItemData(item) == kindFolder) != isFolder))
                item = tree.GetNextSiblingItem(item);
            ASSERT_NE(item, nullptr) << dir << "\\" << name;
            if (isFolder)
                tree.Expand(item, TVE_EXPAND);
            const std::string path = dir + "\\" + name + "\\";
            TVITEMA tv{};
            tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
            tv.hItem = item;
            tree.GetItem(&tv);
            SHFILEINFOA normal{}, open{};
            ::SHGetFileInfoA(path.c_str(), 0, &normal, sizeof normal, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
            ::SHGetFileInfoA(path.c_str(), 0, &open, sizeof open, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON);
            EXPECT_EQ(tv.iImage, normal.iIcon) << path;
            EXPECT_EQ(tv.iSelectedImage, open.iIcon) << path;
            ++compared;
            if (isFolder)
                check(dir + "\\" + name, item);
        }
    };
    check(folder.Path() + "\\Demo\\Root", TVI_ROOT);
    EXPECT_EQ(compared, static_cast<int>(tree.GetCount())) << "every item compared";
}

TEST_F(FolderTreeTest, TheSharedSystemImageListOutlivesTheControl)
{
    folder.MakeFile("Root\\a.txt");
    Show(root);
    HIMAGELIST list = tree.GetImageList(TVSIL_NORMAL);
    int count = ImageList_GetImageCount(list);
    ASSERT_GT(count, 0);
    tree.DestroyWindow();
    EXPECT_EQ(ImageList_GetImageCount(list), count);
}

TEST_F(FolderTreeTest, LabelEditingIsSwitchedOff)
{
    tree.ModifyStyle(0, TVS_EDITLABELS);
    Show(root);
    EXPECT_EQ(tree.GetStyle() & TVS_EDITLABELS, 0u);
}
} // namespace
