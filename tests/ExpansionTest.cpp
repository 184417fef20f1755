// Listing the expanded folders and expanding them again along saved paths.
#include "TreeFixture.h"
#include "AlertableWait.h"
#include "app/Settings.h"
#include "tree/PathHelpers.h"

namespace {
class ExpansionTest : public TreeFixture {
protected:
    void SetUp() override
    {
        TreeFixture::SetUp();
        folder.MakeFile("Root\\Games\\Arcade\\Pong\\pong.txt");
        folder.MakeFile("Root\\Games\\Cards\\deck.txt");
        folder.MakeFile("Root\\Games\\Readme.lnk");
        folder.MakeFile("Root\\Tools\\Editor\\edit.txt");
        folder.MakeFolder("Root\\Empty");
        folder.MakeFolder("Root\\Games\\Secret\\Deep");
        ::SetFileAttributesA((root + "\\Games\\Secret").c_str(), FILE_ATTRIBUTE_HIDDEN);
        Rebuild();
    }
    void Rebuild() { ASSERT_TRUE(Show(root)); }
    std::vector<std::string> Collect(BOOL fullPaths = FALSE) const
    {
        std::vector<std::string> list;
        tree.CollectExpanded(list, fullPaths);
        return list;
    }
    std::string Selected() const { return tree.GetItemPath(tree.GetSelectedItem()); }
};

TEST_F(ExpansionTest, ExpandedFoldersAreListedInPreOrderAndRestoredOnAFreshTree)
{
    UserExpand(Item({"Tools"}));
    UserExpand(Item({"Games"}));
    UserExpand(Item({"Games", "Arcade"}));
    UserExpand(Item({"Games", "Cards"}));
    const Names saved{"Games", "Games\\Arcade", "Games\\Cards", "Tools"};
    EXPECT_EQ(Collect(), saved);
    EXPECT_EQ(Collect(TRUE).front(), root + "\\Games");

    Rebuild();
    EXPECT_TRUE(Collect().empty());
    for (const std::string& path : saved)
        EXPECT_TRUE(ExpandToPath(path)) << path;
    EXPECT_EQ(Collect(), saved);
    EXPECT_EQ(Selected(), root + "\\Tools") << "the last item of the last path";
    EXPECT_EQ(Texts(Item({"Games", "Arcade"})), (Names{"Pong"}));
}

TEST_F(ExpansionTest, RestoringAListExpandsEachPathInTurnAndSelectsTheLastFoundInFull)
{
    folder.MakeFile("Root\\\x83\x5C\\Sub\\leaf.txt");
    folder.MakeFile("Root\\Tools\\Editor\\Themes\\dark.txt");
    const std::vector<std::string> saved{
        "Games", "Games\\Arcade", "games\\ARCADE\\Pong", "Tools\\", "Games\\Secret\\Deep", "Games\\Gone", "\\Games",
        "Games\\Readme.lnk", "Games\\Arcade\\\\", "Empty", "Games\\Cards\\deck.txt", "\x83\x5C\\Sub", "Nothing",
        "Tools\\Editor", "Games", "Tools\\Editor\\Themes\\dark.txt\\x"};
    // Tools was expanded and collapsed by the user before: the control expands it without
    // asking, and it shows its placeholder until the user opens it again.
    Rebuild();
    UserExpand(Item({"Tools"}));
    UserCollapse(Item({"Tools"}));
    tree.SelectItem(Item({"Empty"}));
    EXPECT_EQ(tree.RestoreExpanded(saved), 8u);
    EXPECT_EQ(Outline(), (Names{"Empty", "Games + *", " Arcade +", "  Pong +", "   pong.txt", " Cards +", "  deck.txt",
                                " Readme", "Tools +", " ", "\x83\x5C +", " Sub +", "  leaf.txt"}));
    EXPECT_EQ(Selected(), root + "\\Games") << "the last path found in full";

    // The folders it expanded are watched as the user's are.
    folder.MakeFile("Root\\Games\\Arcade\\Pong\\new.txt");
    EXPECT_TRUE(WaitAlertably([&] { return Texts(Item({"Games", "Arcade", "Pong"})) == Names{"new.txt", "pong.txt"}; }));
}

TEST_F(ExpansionTest, SavedPathsMatchWithoutRegardToCaseAndTrailingBackslashes)
{
    for (const std::string& path : {std::string("Games\\"), std::string("games\\ARCADE")}) {
        SCOPED_TRACE(path);
        Rebuild();
        EXPECT_TRUE(ExpandToPath(path));
        EXPECT_TRUE(IsExpanded(Item({"Games"})));
    }
    EXPECT_EQ(Selected(), root + "\\Games\\Arcade");

    // Whether a path is in the tree is what a file search for it, upper-cased, finds.
    for (const char* path : {"games\\ARCADE", "Games\\Arc*de", "GAMES\\Ca?ds\\", "Games\\Gone", "Games\\Secret",
                             "Tools\\Editor\\edit.txt", "Tools\\*\\x"}) {
        std::string upper = path;
        MakeUpper(upper);
        TrimRightBackslashes(upper);
        WIN32_FIND_DATAA data;
        HANDLE find = ::FindFirstFileA((root + "\\" + upper).c_str(), &data);
        const bool found = find != INVALID_HANDLE_VALUE;
        if (found)
            ::FindClose(find);
        EXPECT_EQ(tree.IsPathInTree(path) != FALSE, found) << path;
    }

    // A second trailing backslash is an empty last component, which names nothing.
    Rebuild();
    EXPECT_FALSE(ExpandToPath("Games\\Arcade\\\\"));
    EXPECT_TRUE(IsExpanded(Item({"Games", "Arcade"})));
}

TEST_F(ExpansionTest, PathsThatNameNothingChangeNothing)
{
    HTREEITEM selectedBefore = tree.GetSelectedItem();
    for (const std::string& path :
         {std::string("Games\\Gone"), std::string("\\Games"), std::string("Nothing"), std::string(""),
          std::string("Games\\Arcade\\Pong\\pong.txt\\x"), std::string(300, 'G'), std::string("G*")}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(ExpandToPath(path));
        EXPECT_FALSE(IsExpanded(Item({"Games"})));
    }
    EXPECT_EQ(tree.GetSelectedItem(), selectedBefore);
}

TEST_F(ExpansionTest, PathThroughAHiddenFolderExpandsOnlyWhatIsAboveIt)
{
    HTREEITEM selectedBefore = tree.GetSelectedItem();
    EXPECT_FALSE(ExpandToPath("Games\\Secret\\Deep"));
    EXPECT_TRUE(IsExpanded(Item({"Games"})));
    EXPECT_EQ(Item({"Games", "Secret"}), nullptr);
    EXPECT_EQ(tree.GetSelectedItem(), selectedBefore);
}

TEST_F(ExpansionTest, ShortcutsAreFoundByTheirDisplayNameOnly)
{
    EXPECT_FALSE(ExpandToPath("Games\\Readme.lnk"));
    EXPECT_TRUE(IsExpanded(Item({"Games"}))) << "the file exists, so the walk starts";
    Rebuild();
    EXPECT_FALSE(ExpandToPath("Games\\Readme")) << "the disk has no file without the extension";
}

TEST_F(ExpansionTest, CollapsedAndEmptyFoldersAreNotSaved)
{
    UserExpand(Item({"Games"}));
    UserExpand(Item({"Games", "Arcade"}));
    UserExpand(Item({"Empty"}));
    UserExpand(Item({"Tools"}));
    // Emptied on disk before it was expanded: expanded, but with nothing below.
    RemoveTree(root + "\\Tools\\Editor");
    UserExpand(Item({"Tools", "Editor"}));
    EXPECT_EQ(Collect(), (Names{"Games", "Games\\Arcade", "Tools"}));
    UserCollapse(Item({"Games"}));
    EXPECT_EQ(Collect(), (Names{"Tools"}));
}

TEST_F(ExpansionTest, TopLevelTextIsAPrefixOfBytesAndOnlyTheFirstMatchIsTried)
{
    folder.MakeFolder("Root\\Game");
    folder.MakeFolder("Root\\GamesOld\\X");
    Rebuild();
    // "Game" matches GamesOld\X by bytes; the full path exists, so it is in the tree...
    EXPECT_TRUE(tree.IsPathInTree("GamesOld\\X"));
    // ...while a path under Games that does not exist is rejected at the first match.
    EXPECT_FALSE(tree.IsPathInTree("Games\\Nowhere"));
    EXPECT_TRUE(ExpandToPath("GamesOld\\X"));
    EXPECT_EQ(Selected(), root + "\\GamesOld\\X");
}

TEST_F(ExpansionTest, ATwoByteNameEndingIn5CIsWalkedAsOneComponent)
{
    const std::string so = "\x83\x5C";  // ends in 0x5C
    const std::string fw = "\x82\x60";  // full-width A, upper-cased as itself
    folder.MakeFolder("Root\\" + so + "\\Sub\\Leaf");
    const std::string ibm = "\xFA\x5C";  // 纊, a lead byte beyond 0xF5
    folder.MakeFolder("Root\\" + fw + "\\Inner");
    folder.MakeFolder("Root\\" + ibm + "\\" + ibm + "\\Leaf");
    Rebuild();
    EXPECT_TRUE(ExpandToPath(so + "\\Sub"));
    EXPECT_EQ(Selected(), root + "\\" + so + "\\Sub");
    EXPECT_TRUE(ExpandToPath(ibm + "\\" + ibm + "\\"));
    EXPECT_EQ(Selected(), root + "\\" + ibm + "\\" + ibm);
    EXPECT_TRUE(ExpandToPath("\x82\x81\\inner")) << "full-width a matches A";
    EXPECT_EQ(Collect(), (Names{fw, so, so + "\\Sub", ibm, ibm + "\\" + ibm})) << "two-byte names sort by their code";
}

TEST_F(ExpansionTest, ExpansionSurvivesTheSettingsFile)
{
    const std::string ini = folder.Path() + "\\Fernwick.ini";
    UserExpand(Item({"Games"}));
    UserExpand(Item({"Games", "Arcade"}));
    WriteDirTreeList(Collect(), ini);
    Rebuild();
    const std::vector<std::string> list = ReadSettings(ini).folders;
    EXPECT_EQ(list, (Names{"Games", "Games\\Arcade"}));
    for (const std::string& path : list)
        ExpandToPath(path);
    EXPECT_EQ(Collect(), list);
    EXPECT_EQ(Selected(), root + "\\Games\\Arcade");
}
} // namespace
