// Fernwick.exe when the session ends under an open tray menu, and when it is killed while
// it writes its settings: nothing last written may be lost.
#include <windows.h>
#include <gtest/gtest.h>
#include <fstream>
#include <string>
#include "TempFolder.h"
#include "e2e/FernwickProcess.h"
#include "res/resource.h"
#include "view/FernwickView.h"

namespace {

std::string Value(const std::string& ini, const char* key)
{
    return IniValue(ini, "Settings", key);
}

class FaultTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(WaitFor([] { return ::FindWindowA(nullptr, kFernwickTitle) == nullptr; }));
        m_folder.MakeFile("Root\\Games\\pong.txt");
        m_folder.MakeFile("Root\\Tools\\edit.txt");
        std::ofstream(Ini(), std::ios::binary) << "[Settings]\r\nTopMost=1\r\nDirTree0=Games\r\n";
    }
    std::string Ini() const { return m_folder.Path() + "\\Fernwick.ini"; }

    TempFolder m_folder;
};

TEST_F(FaultTest, LogOffWhileTheTrayMenuIsOpenSavesPlacementFoldersAndTopMost)
{
    FernwickProcess process(m_folder.Path());
    ASSERT_TRUE(process.Started()) << process.StartFailure();
    HWND main = process.WaitForMainWindow();
    ASSERT_NE(main, nullptr) << "the program is " << process.State();
    ::SetWindowPos(main, nullptr, 140, 130, 410, 310, SWP_NOZORDER | SWP_NOACTIVATE);

    ::PostMessageA(::GetDlgItem(main, AFX_IDW_PANE_FIRST), WM_TRAYNOTIFY, 1, WM_RBUTTONUP);
    ASSERT_NE(WaitForOpenMenuOf(process.Id()), nullptr) << "the tray menu did not open";
    DWORD_PTR allowed = 0;
    ASSERT_TRUE(::SendMessageTimeoutA(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, kE2eTimeoutMs,
                                      &allowed));
    EXPECT_TRUE(allowed);
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, kE2eTimeoutMs, &ignored);

    ASSERT_TRUE(process.WaitForExit()) << "still running after the session ended";
    EXPECT_EQ(process.ExitCode(), 0u) << "it must not crash on its way out";
    EXPECT_EQ(Value(Ini(), "WindowPos").substr(Value(Ini(), "WindowPos").rfind(",140,")), ",140,130,550,440");
    EXPECT_EQ(Value(Ini(), "DirTree0"), "Games");
    EXPECT_EQ(Value(Ini(), "TopMost"), "1");
}
TEST_F(FaultTest, KilledWhileWritingItsSettingsItLeavesAFileThatLosesNothingWritten)
{
    // A big file of other programs' keys makes each rewrite slow, so that kills land in them.
    std::string text = "[Settings]\r\nTopMost=1\r\nDirTree0=Games\r\n";
    for (int i = 0; i < 3000; ++i)
        text += "Other" + std::to_string(i) + "=value of another program " + std::to_string(i) + "\r\n";
    text += "[Last]\r\nkept=yes\r\n";
    std::ofstream(Ini(), std::ios::binary) << text;
    const std::string last = "[Last]";
    unsigned seed = 2026;
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        {
            FernwickProcess process(m_folder.Path());
            ASSERT_TRUE(process.Started()) << process.StartFailure();
            HWND main = process.WaitForMainWindow();
            ASSERT_NE(main, nullptr) << "the program is " << process.State();
            // Games (the first item, selected) collapsed and expanded again, each time saved
            // by a refresh: every refresh writes the file anew.
            HWND tree = FolderTreeOf(main);
            for (int i = 0; i < 30; ++i) {
                ::PostMessageA(tree, WM_KEYDOWN, i % 2 ? VK_RIGHT : VK_LEFT, 0);
                ::PostMessageA(main, WM_COMMAND, ID_FILE_REFRESH, 0);
            }
            seed = seed * 1103515245 + 12345;
            ::Sleep(20 + (seed >> 16) % 400);
            ::TerminateProcess(::OpenProcess(PROCESS_TERMINATE, FALSE, process.Id()), 9);
            ASSERT_TRUE(process.WaitForExit());
        }
        EXPECT_EQ(Value(Ini(), "TopMost"), "1");
        const std::string folder = Value(Ini(), "DirTree0");
        EXPECT_TRUE(folder == "Games" || folder == "<absent>") << folder;
        EXPECT_EQ(Value(Ini(), "Other2999"), "value of another program 2999");
        char kept[8] = {};
        ::GetPrivateProfileStringA("Last", "kept", "", kept, sizeof kept, Ini().c_str());
        ASSERT_STREQ(kept, "yes") << "the file was cut";
    }
}
} // namespace
