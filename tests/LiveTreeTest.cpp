// The tree follows the disk while it is shown: real files changed under a real tree control,
// the notifications taken as the program's message loop takes them.
#include "TreeFixture.h"
#include "AlertableWait.h"
#include <functional>
#include "framework/WinApp.h"

namespace {
class LiveTreeTest : public TreeFixture {
protected:
    void Show() { ASSERT_TRUE(tree.DisplayTree(root, TRUE)); }
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

    // A rename is both: the old item goes with its subtree, the new one comes collapsed.
    ASSERT_TRUE(::MoveFileA((root + "\\Games\\Arcade").c_str(), (root + "\\Games\\Retro").c_str()));
    EXPECT_TRUE(Shows({"Retro", "Sub", "new", "zz.txt", "\x83\x5C.txt"}, Item({"Games"})));
    EXPECT_TRUE(HasPlaceholderOnly(Item({"Games", "Retro"})));
    UserExpand(Item({"Games", "Sub"}));
    std::vector<std::string> expanded;
    tree.CollectExpanded(expanded, FALSE);
    EXPECT_EQ(expanded, (Names{"Games", "Games\\Sub"})) << "a folder that came is saved like the rest";

    // A collapsed folder emptied: its button goes once its parent hears of it.
    ASSERT_TRUE(::DeleteFileA((root + "\\Tools\\t.txt").c_str()));
    ::SetFileAttributesA((root + "\\Tools").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(WaitAlertably([&] { return tree.GetChildItem(Item({"Tools"})) == nullptr; }));
    ::SetFileAttributesA((root + "\\Tools").c_str(), FILE_ATTRIBUTE_NORMAL);

    // Collapsed, a folder is no longer followed.
    UserCollapse(Item({"Games"}));
    WaitAlertably([] { return false; }, 300); // what was on its way
    const int listings = tree.m_nChangeListings;
    folder.MakeFile("Root\\Games\\later.txt");
    WaitAlertably([] { return false; }, 400);
    EXPECT_EQ(tree.m_nChangeListings, listings);
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
    const int listings = tree.m_nChangeListings;
    ASSERT_FALSE(UnixPath(root).empty());
    const std::string made = folder.Path() + "\\made";
    {
        const CModalScope modal;
        ASSERT_TRUE(StartOnLinuxSide("cd '" + UnixPath(root) + "' && seq 10000 | sed 's/^/f/' | xargs touch && touch ../made"));
        ASSERT_TRUE(WaitAlertably([&] { return ::GetFileAttributesA(made.c_str()) != INVALID_FILE_ATTRIBUTES; }, 20000));
        WaitAlertably([] { return false; }, 300); // the last notifications on their way
    }
    EXPECT_TRUE(WaitAlertably([&] { return tree.GetCount() == 10002; }, 20000)) << tree.GetCount();
    EXPECT_EQ(tree.m_nChangeListings, listings + 1);
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
} // namespace
