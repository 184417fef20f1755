// The tree follows the disk while it is shown: real files changed under a real tree control,
// the notifications taken as the program's message loop takes them.
#include "TreeFixture.h"
#include "AlertableWait.h"
#include <functional>
#include "framework/WinApp.h"

namespace {
// Counts the folders the model lists, as anything that follows the model hears of them.
class ListingCounter : public CFolderModelListener {
public:
    explicit ListingCounter(CFolderModel& model) : m_model(model) { m_model.AddListener(this); }
    ~ListingCounter() { m_model.RemoveListener(this); }
    ListingCounter(const ListingCounter&) = delete;
    ListingCounter& operator=(const ListingCounter&) = delete;
    void OnFolderChanged(const FolderNode& folder, const FolderDiff&) override { listings += folder.listed ? 1 : 0; }

    int listings = 0;

private:
    CFolderModel& m_model;
};

class LiveTreeTest : public TreeFixture {
protected:
    void Show() { ASSERT_TRUE(TreeFixture::Show(root)); }
    bool Shows(const Names& texts, HTREEITEM parent = TVI_ROOT)
    {
        return WaitAlertably([&] { return Texts(parent) == texts; });
    }
};

TEST_F(LiveTreeTest, EntriesComeAndGoInPlaceKeepingExpansionAndSelection)
{
    for (const char* name : {"Games\\Arcade\\pong.txt", "Games\\old.txt", "Games\\zz.txt", "Tools\\t.txt", "b.txt"})
        folder.MakeFile(std::string("Root\\") + name);
    Show();
    UserExpand(Item({"Games"}));
    UserExpand(Item({"Games", "Arcade"}));
    HTREEITEM old = Item({"Games", "old.txt"});
    tree.SelectItem(old);

    folder.MakeFile("Root\\a.txt");
    folder.MakeFile("Root\\Games\\new.lnk");
    folder.MakeFile("Root\\Games\\Sub\\inner.txt");
    folder.MakeFile("Root\\Games\\\x83\x5C.txt"); // a second byte 0x5C
    EXPECT_TRUE(Shows({"Games", "Tools", "a.txt", "b.txt"}));
    EXPECT_TRUE(Shows({"Arcade", "Sub", "new", "old.txt", "zz.txt", "\x83\x5C.txt"}, Item({"Games"})));
    EXPECT_EQ(tree.GetItemData(Item({"Games", "new"})), static_cast<DWORD_PTR>(kindShortcut));
    EXPECT_TRUE(HasPlaceholderOnly(Item({"Games", "Sub"}))) << "a new folder with something in it";
    EXPECT_TRUE(IsExpanded(Item({"Games", "Arcade"}))) << "the folders that stay keep their expansion";
    EXPECT_EQ(tree.GetSelectedItem(), old);

    // The selected item goes: the nearest one left is selected.
    ASSERT_TRUE(::DeleteFileA((root + "\\Games\\old.txt").c_str()));
    EXPECT_TRUE(Shows({"Arcade", "Sub", "new", "zz.txt", "\x83\x5C.txt"}, Item({"Games"})));
    EXPECT_EQ(tree.GetSelectedItem(), Item({"Games", "zz.txt"}));

    UserExpand(Item({"Games", "Sub"}));
    std::vector<std::string> expanded;
    tree.CollectExpanded(expanded, FALSE);
    EXPECT_EQ(expanded, (Names{"Games", "Games\\Arcade", "Games\\Sub"})) << "a folder that came is saved like the rest";

    // Collapsed, a folder is no longer listed: only its button follows it.
    UserCollapse(Item({"Games"}));
    WaitAlertably([] { return false; }, 300); // what was on its way
    const ListingCounter counter(tree.Model());
    folder.MakeFile("Root\\Games\\later.txt");
    WaitAlertably([] { return false; }, 400);
    EXPECT_EQ(counter.listings, 0);
    EXPECT_TRUE(HasPlaceholderOnly(Item({"Games"})));
}

TEST_F(LiveTreeTest, ABurstIsListedOnceAndWaitsForAnOpenMenuOrDialog)
{
    folder.MakeFile("Root\\first.txt");
    Show();
    {
        // What an open menu, dialog or message box does.
        const CModalScope modal;
        folder.MakeFile("Root\\during.txt");
        WaitAlertably([] { return false; }, 500);
        EXPECT_EQ(Texts(), Names{"first.txt"}) << "nothing moves under it";
    }
    EXPECT_TRUE(Shows({"during.txt", "first.txt"}));

    // Ten thousand files made by another program while a dialog is open: gathered, one
    // listing of the folder once it closes. (Without the dialog a burst on a loaded machine
    // may outlast the longest wait and take two; the benchmark times that case.)
    const ListingCounter counter(tree.Model());
    ASSERT_FALSE(UnixPath(root).empty());
    const std::string made = folder.Path() + "\\made";
    {
        const CModalScope modal;
        ASSERT_TRUE(StartOnLinuxSide("cd '" + UnixPath(root) + "' && seq 10000 | sed 's/^/f/' | xargs touch && touch ../made"));
        ASSERT_TRUE(WaitAlertably([&] { return ::GetFileAttributesA(made.c_str()) != INVALID_FILE_ATTRIBUTES; }, 20000));
        WaitAlertably([] { return false; }, 300); // the last notifications on their way
    }
    EXPECT_TRUE(WaitAlertably([&] { return tree.GetCount() == 10002; }, 20000)) << tree.GetCount();
    EXPECT_EQ(counter.listings, 1);
}

TEST_F(LiveTreeTest, TheRootDeletedEmptiesTheTreeAndMadeAgainComesBack)
{
    folder.MakeFile("Root\\Games\\pong.txt");
    Show();
    UserExpand(Item({"Games"}));
    ASSERT_TRUE(::MoveFileA(root.c_str(), (root + "-gone").c_str()));
    EXPECT_TRUE(WaitAlertably([&] { return tree.GetCount() == 0; }));
    folder.MakeFile("Root\\Tools\\edit.txt");
    EXPECT_TRUE(Shows({"Tools"}));
    folder.MakeFile("Root\\new.txt");
    EXPECT_TRUE(Shows({"Tools", "new.txt"})) << "the new root is followed too";
}

TEST_F(LiveTreeTest, ARenamedFolderKeepsItsExpansionAndThatOfTheFoldersInsideIt)
{
    for (const char* name : {"Games\\Arcade\\Pong\\pong.txt", "Games\\Arcade\\Tetris\\t.txt", "Games\\z.txt", "Apps\\a.txt"})
        folder.MakeFile(std::string("Root\\") + name);
    Show();
    UserExpand(Item({"Games"}));
    UserExpand(Item({"Games", "Arcade"}));
    UserExpand(Item({"Games", "Arcade", "Pong"}));
    tree.SelectItem(Item({"Games", "Arcade", "Pong", "pong.txt"}));

    // Renamed to a name that sorts elsewhere among its siblings.
    ASSERT_TRUE(::MoveFileA((root + "\\Games").c_str(), (root + "\\Arcadia").c_str()));
    EXPECT_TRUE(Shows({"Apps", "Arcadia"}));
    tree.UpdateWindow();
    EXPECT_EQ(Outline(), (Names{"Apps", " ", "Arcadia +", " Arcade +", "  Pong +", "   pong.txt *", "  Tetris", "   ",
                                " z.txt"}));
    std::vector<std::string> expanded;
    tree.CollectExpanded(expanded, FALSE);
    EXPECT_EQ(expanded, (Names{"Arcadia", "Arcadia\\Arcade", "Arcadia\\Arcade\\Pong"}));
    EXPECT_EQ(tree.GetItemPath(tree.GetSelectedItem()), root + "\\Arcadia\\Arcade\\Pong\\pong.txt");

    // The folders inside are still followed, under their new path.
    folder.MakeFile("Root\\Arcadia\\Arcade\\Pong\\new.txt");
    EXPECT_TRUE(Shows({"new.txt", "pong.txt"}, Item({"Arcadia", "Arcade", "Pong"})));
    // A rename inside an expanded folder keeps it too.
    ASSERT_TRUE(::MoveFileA((root + "\\Arcadia\\Arcade").c_str(), (root + "\\Arcadia\\Retro").c_str()));
    EXPECT_TRUE(Shows({"Retro", "z.txt"}, Item({"Arcadia"})));
    EXPECT_TRUE(IsExpanded(Item({"Arcadia", "Retro", "Pong"})));
    EXPECT_EQ(Texts(Item({"Arcadia", "Retro", "Pong"})), (Names{"new.txt", "pong.txt"}));
}

TEST_F(LiveTreeTest, ACollapsedFolderGainsAndLosesItsButtonWithItsContents)
{
    folder.MakeFolder("Root\\Bare");
    folder.MakeFile("Root\\Full\\f.txt");
    Show();
    tree.UpdateWindow(); // drawn, as a user sees them
    EXPECT_FALSE(HasButton(Item({"Bare"})));
    folder.MakeFile("Root\\Bare\\new.txt");
    ASSERT_TRUE(::DeleteFileA((root + "\\Full\\f.txt").c_str()));
    EXPECT_TRUE(WaitAlertably([&] { return HasPlaceholderOnly(Item({"Bare"})); }));
    EXPECT_TRUE(WaitAlertably([&] { return tree.GetChildItem(Item({"Full"})) == nullptr; }));
    UserExpand(Item({"Bare"}));
    EXPECT_EQ(Texts(Item({"Bare"})), (Names{"new.txt"}));
}

TEST_F(LiveTreeTest, ARootAwayForAWhileComesBackAsItWasAndAnExitMeanwhileKeepsTheFolders)
{
    folder.MakeFile("Root\\Games\\Arcade\\pong.txt");
    folder.MakeFile("Root\\Tools\\t.txt");
    Show();
    UserExpand(Item({"Games"}));
    UserExpand(Item({"Games", "Arcade"}));
    const Names saved{"Games", "Games\\Arcade"};
    for (const bool deleted : {false, true}) {
        SCOPED_TRACE(deleted ? "deleted and made again" : "renamed away and back");
        // Deleted by another program: under this Wine a folder being watched stays until its
        // watch lets go, which Windows makes the watch do; the Linux side deletes it at once.
        if (deleted)
            ASSERT_TRUE(StartOnLinuxSide("rm -rf '" + UnixPath(root) + "'"));
        else
            ASSERT_TRUE(::MoveFileA(root.c_str(), (root + "-away").c_str()));
        EXPECT_TRUE(WaitAlertably([&] { return tree.GetCount() == 0; }));
        std::vector<std::string> expanded;
        tree.CollectExpanded(expanded, FALSE);
        EXPECT_EQ(expanded, saved) << "what an exit now would save";
        if (deleted) {
            folder.MakeFile("Root\\Games\\Arcade\\pong.txt");
            folder.MakeFile("Root\\Tools\\t.txt");
        } else {
            ASSERT_TRUE(::MoveFileA((root + "-away").c_str(), root.c_str()));
        }
        EXPECT_TRUE(Shows({"Games", "Tools"}));
        EXPECT_TRUE(IsExpanded(Item({"Games", "Arcade"})));
        expanded.clear();
        tree.CollectExpanded(expanded, FALSE);
        EXPECT_EQ(expanded, saved);
    }
}
} // namespace
