// File search, wait cursor and message boxes of the framework.
#include <gtest/gtest.h>
#include "ShellRecorder.h"
#include "TempFolder.h"
#include "framework/FileFind.h"
#include "framework/WaitCursor.h"
#include "framework/WinApp.h"

namespace {
TEST(FileFindTest, FindFileTellsWhetherThePatternMatches)
{
    TempFolder folder;
    folder.MakeFile("entry.txt");
    // A folder whose name ends in a two-byte character with 0x5C as its second byte.
    folder.MakeFile("\x83\x5C\\inner.txt");
    CFileFind finder;
    EXPECT_TRUE(finder.FindFile((folder.Path() + "\\entry.txt").c_str()));
    EXPECT_TRUE(finder.FindFile((folder.Path() + "\\*.txt").c_str()));
    EXPECT_TRUE(finder.FindFile((folder.Path() + "\\\x83\x5C\\*.txt").c_str()));
    EXPECT_FALSE(finder.FindFile((folder.Path() + "\\nothing*").c_str()));
    EXPECT_FALSE(finder.FindFile((folder.Path() + "\\missing\\*.*").c_str()));
    EXPECT_TRUE(finder.FindFile((folder.Path() + "\\entry.txt").c_str())) << "after a failed search";
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
