// File search, wait cursor and message boxes of the framework.
#include <gtest/gtest.h>
#include <set>
#include "ShellRecorder.h"
#include "TempFolder.h"
#include "framework/FileFind.h"
#include "framework/WaitCursor.h"
#include "framework/WinApp.h"

namespace {
std::set<std::string> Enumerate(const std::string& pattern, int* calls = nullptr)
{
    std::set<std::string> names;
    CFileFind finder;
    int n = 0;
    for (BOOL more = finder.FindFile(pattern.c_str()); more; ++n) {
        more = finder.FindNextFile();
        if (!finder.IsDots())
            names.insert(finder.GetFileName());
    }
    if (calls != nullptr)
        *calls = n;
    return names;
}

TEST(FileFindTest, YieldsEveryEntryTheLastIncluded)
{
    TempFolder folder;
    std::set<std::string> expected;
    for (int n = 1; n <= 5; ++n) {
        std::string name = "entry" + std::to_string(n);
        folder.MakeFile(name);
        expected.insert(name);
        int calls = 0;
        EXPECT_EQ(Enumerate(folder.Path() + "\\*.*", &calls), expected);
        EXPECT_EQ(calls, n + 2) << "one call per entry, dots included";
    }
    EXPECT_EQ(Enumerate(folder.Path() + "\\entry3"), (std::set<std::string>{"entry3"})) << "a single match";
    EXPECT_TRUE(Enumerate(folder.Path() + "\\missing\\*.*").empty());
}

TEST(FileFindTest, RootIsThePatternMadeAbsoluteAndCutAtItsLastSeparator)
{
    TempFolder folder;
    folder.MakeFolder("Menu");
    CFileFind finder;
    ASSERT_TRUE(finder.FindFile((folder.Path() + "\\Menu\\*.*").c_str()));
    EXPECT_EQ(finder.GetRoot(), folder.Path() + "\\Menu");
    ASSERT_TRUE(finder.FindFile((folder.Path() + "/Menu/*.*").c_str()));
    EXPECT_EQ(finder.GetRoot(), folder.Path() + "\\Menu") << "made absolute, slashes become backslashes";
    ASSERT_TRUE(finder.FindFile("C:\\*.*"));
    EXPECT_EQ(finder.GetRoot(), "C:");
    finder.FindNextFile();
    EXPECT_EQ(finder.GetFilePath(), "C:\\" + finder.GetFileName());

    // A folder whose name ends in a two-byte character with 0x5C as its second byte.
    folder.MakeFile("\x83\x5C\\inner.txt");
    ASSERT_TRUE(finder.FindFile((folder.Path() + "\\\x83\x5C\\*.*").c_str()));
    EXPECT_EQ(finder.GetRoot(), folder.Path() + "\\\x83\x5C");

    char saved[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, saved);
    ::SetCurrentDirectoryA(folder.Path().c_str());
    ASSERT_TRUE(finder.FindFile("Menu\\*.*"));
    EXPECT_EQ(finder.GetRoot(), folder.Path() + "\\Menu") << "relative to the current directory";
    ::SetCurrentDirectoryA(saved);

    EXPECT_FALSE(finder.FindFile((folder.Path() + "\\nothing*").c_str()));
    EXPECT_EQ(finder.GetRoot(), "") << "a failed search forgets the earlier one";
}

TEST(FileFindTest, AttributesAndDots)
{
    TempFolder folder;
    std::string hidden = folder.MakeFile("hidden.txt");
    ::SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    folder.MakeFolder("sub");
    CFileFind finder;
    std::set<std::string> dots, dirs, hiddenOnes;
    for (BOOL more = finder.FindFile((folder.Path() + "\\*").c_str()); more;) {
        more = finder.FindNextFile();
        if (finder.IsDots())
            dots.insert(finder.GetFileName());
        else if (finder.IsDirectory())
            dirs.insert(finder.GetFileName());
        if (finder.MatchesMask(FILE_ATTRIBUTE_HIDDEN))
            hiddenOnes.insert(finder.GetFileName());
    }
    EXPECT_EQ(dots, (std::set<std::string>{".", ".."}));
    EXPECT_EQ(dirs, (std::set<std::string>{"sub"}));
    EXPECT_EQ(hiddenOnes, (std::set<std::string>{"hidden.txt"}));
}

TEST(WaitCursorTest, NestedWaitCursorsRestoreThePreviousCursorOnlyAtTheEnd)
{
    CWinApp app;
    HCURSOR arrow = ::LoadCursorA(nullptr, IDC_ARROW);
    ::SetCursor(arrow);
    {
        CWaitCursor outer;
        EXPECT_EQ(app.m_nWaitCursorCount, 1);
        {
            CWaitCursor inner;
            EXPECT_EQ(app.m_nWaitCursorCount, 2);
        }
        EXPECT_EQ(app.m_nWaitCursorCount, 1);
        EXPECT_EQ(app.m_hcurWaitCursorRestore, arrow) << "the inner one does not overwrite what to restore";
        EXPECT_NE(::GetCursor(), arrow);
    }
    EXPECT_EQ(app.m_nWaitCursorCount, 0);
    EXPECT_EQ(::GetCursor(), arrow);
}

TEST(MessageBoxTest, CaptionIsTheApplicationNameAndOkBoxesGetTheExclamationMark)
{
    CWinApp app;
    app.InitApplication(::GetModuleHandleA(nullptr));
    EXPECT_EQ(app.m_strAppName, "Fernwick");
    ShellRecorder shell;
    auto last = [&] { return shell.messageBoxes.back(); };

    AfxMessageBox("text");
    EXPECT_EQ(last().caption, "Fernwick");
    EXPECT_EQ(last().text, "text");
    EXPECT_EQ(last().type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    AfxMessageBox("text", MB_YESNOCANCEL);
    EXPECT_EQ(last().type, static_cast<UINT>(MB_YESNOCANCEL | MB_ICONEXCLAMATION));
    AfxMessageBox("text", MB_OK | MB_ICONINFORMATION);
    EXPECT_EQ(last().type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION)) << "an icon of its own is kept";
    AfxMessageBox("text", MB_RETRYCANCEL);
    EXPECT_EQ(last().type, static_cast<UINT>(MB_RETRYCANCEL));
    AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
    EXPECT_FALSE(last().text.empty());
    EXPECT_EQ(last().owner, nullptr) << "no main window yet";
}
} // namespace
