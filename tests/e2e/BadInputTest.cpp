// Fernwick.exe given what a user's machine may hold: a settings file with junk in every key,
// and roots that are missing, a file, a drive root, relative or too long. Whatever it is,
// the program starts, shows its window where it can be seen, answers, exits with 0, and
// leaves a settings file it can read back.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include "TempFolder.h"
#include "e2e/FernwickProcess.h"

namespace {
class BadInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(WaitFor([] { return ::FindWindowA(nullptr, kFernwickTitle) == nullptr; }));
        m_folder.MakeFile("Root\\a.txt");
        m_folder.MakeFile("Root\\Sub\\b.txt");
    }

    // Starts, checks the window is seen and answers, closes; the exit code.
    void StartAndClose(const std::vector<std::string>& arguments = {})
    {
        FernwickProcess process(m_folder.Path(), SW_SHOWNORMAL, arguments);
        ASSERT_TRUE(process.Started()) << process.StartFailure();
        HWND main = process.WaitForMainWindow();
        ASSERT_NE(main, nullptr) << "no window; the program is " << process.State();
        RECT window, screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}, seen;
        ::GetWindowRect(main, &window);
        EXPECT_TRUE(::IntersectRect(&seen, &window, &screen)) << "off screen";
        DWORD_PTR result = 0;
        // Answers within the wait: a loaded machine may keep a big start busy past the "hung" mark.
        EXPECT_TRUE(::SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, kE2eTimeoutMs, &result));
        ::PostMessageA(main, WM_CLOSE, 0, 0);
        ASSERT_TRUE(process.WaitForExit()) << "still running after WM_CLOSE";
        EXPECT_EQ(process.ExitCode(), 0u);
    }

    void WriteIni(const std::string& text) const
    {
        std::ofstream(Ini(), std::ios::binary) << text;
    }
    std::string Ini() const { return m_folder.Path() + "\\Fernwick.ini"; }

    TempFolder m_folder;
};

// The placements' rules are the reader's and the frame's (SettingsTest, FrameTest); here the
// whole program meets one that overflows every field, with junk and 3,000 stale keys beside it.
TEST_F(BadInputTest, JunkInEverySettingIsReplacedAndWhatIsNotOursIsKept)
{
    std::string text = "[Other]\r\nkept=yes\r\n[Settings]\r\nForeign=mine\r\nTopMost=not a number\r\n"
                       "WindowPos=4294967295,4294967295,99999999999,1,1,1,1,1,1,1\r\n";
    for (int i = 0; i < 3000; ++i)
        text += "DirTree" + std::to_string(i) + "=nothing\\here\\" + std::to_string(i) + "\r\n";
    WriteIni(text);
    StartAndClose();

    const std::string saved = IniValue(Ini(), "Settings", "WindowPos");
    long n[10];
    EXPECT_EQ(std::sscanf(saved.c_str(), "%ld,%ld,%ld,%ld,%ld,%ld,%ld,%ld,%ld,%ld", &n[0], &n[1], &n[2], &n[3], &n[4],
                          &n[5], &n[6], &n[7], &n[8], &n[9]),
              10)
        << saved;
    EXPECT_LT(n[6], n[8]) << saved;
    EXPECT_EQ(IniValue(Ini(), "Settings", "TopMost"), "0");
    EXPECT_EQ(IniValue(Ini(), "Settings", "DirTree0"), kAbsentValue) << "no stale folders";
    EXPECT_EQ(IniValue(Ini(), "Settings", "DirTree2999"), kAbsentValue);
    EXPECT_EQ(IniValue(Ini(), "Settings", "Foreign"), "mine");
    EXPECT_EQ(IniValue(Ini(), "Other", "kept"), "yes");
}

TEST_F(BadInputTest, RootsThatAreNoFolderOrTooLongGiveAWindowAllTheSame)
{
    const std::string file = m_folder.MakeFile("plain.txt");
    const std::vector<std::string> roots{
        m_folder.Path() + "\\missing",
        file,
        "C:\\",
        "Root/Sub",                                   // relative, with a slash
        m_folder.Path() + "\\" + std::string(300, 'x'), // too long for any path buffer
        "",
    };
    for (const std::string& root : roots) {
        SCOPED_TRACE(root.substr(0, 60));
        StartAndClose({root});
    }
}
} // namespace
