// Starts Fernwick.exe as separate processes and watches them from outside with window lookups.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>
#include "TempFolder.h"
#include "app/FernwickApp.h"
#include "e2e/FernwickProcess.h"

namespace {
bool AnyInstanceAlive()
{
    UniqueKernelHandle mutex(::OpenMutexA(SYNCHRONIZE, FALSE, kSingleInstanceMutex));
    return mutex || ::FindWindowA(nullptr, kFernwickTitle) != nullptr;
}

void PressEscape()
{
    INPUT input[2]{};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = VK_ESCAPE;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, input, sizeof input[0]);
}

// Each test gets its own working folder with a small root folder, and no Fernwick running beside it.
class StartupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(WaitFor([] { return !AnyInstanceAlive(); }))
            << "a Fernwick instance from elsewhere is running in this Wine session";
        for (const char* name : m_rootFiles)
            m_folder.MakeFile(std::string("Root\\") + name);
    }

    std::unique_ptr<FernwickProcess> Start(WORD showCommand = SW_SHOWNORMAL,
                                           const std::vector<std::string>& arguments = {}) const
    {
        return std::make_unique<FernwickProcess>(m_folder.Path(), showCommand, arguments);
    }

    TempFolder m_folder;
    const std::vector<const char*> m_rootFiles{"alpha.txt", "beta.txt"};
};

TEST_F(StartupTest, FirstInstanceShowsItsWindowWithTheFolderTree)
{
    auto first = Start();
    ASSERT_TRUE(first->Started()) << first->StartFailure();
    HWND main = first->WaitForMainWindow();
    ASSERT_NE(main, nullptr) << "no visible window titled Fernwick; the program is " << first->State();
    EXPECT_EQ(::FindWindowA(nullptr, kFernwickTitle), main);
    EXPECT_EQ(::GetAncestor(main, GA_ROOT), main);

    HWND tree = FolderTreeOf(main);
    ASSERT_NE(tree, nullptr);
    char cls[64] = {};
    ::GetClassNameA(tree, cls, sizeof cls);
    EXPECT_STREQ(cls, WC_TREEVIEWA);
    EXPECT_TRUE(::IsWindowVisible(tree));
    // The root folder came from the working directory: one item per file in it.
    EXPECT_EQ(::SendMessageA(tree, TVM_GETCOUNT, 0, 0), static_cast<LRESULT>(m_rootFiles.size()));
    // The running program follows the disk: its message loop takes the change as it waits.
    m_folder.MakeFile("Root\\gamma.txt");
    EXPECT_TRUE(WaitFor([&] { return ::SendMessageA(tree, TVM_GETCOUNT, 0, 0) == 3; }));
}

TEST_F(StartupTest, SecondStartLeavesQuietlyAndTheFirstKeepsRunning)
{
    auto first = Start();
    ASSERT_TRUE(first->Started()) << first->StartFailure();
    HWND main = first->WaitForMainWindow();
    ASSERT_NE(main, nullptr) << "the first instance is " << first->State();

    auto second = Start();
    ASSERT_TRUE(second->Started()) << second->StartFailure();
    bool secondHadWindow = false;
    const bool exited = WaitFor([&] {
        for (HWND hwnd : TopLevelWindows(second->Id()))
            if (::IsWindowVisible(hwnd) || WindowText(hwnd) == kFernwickTitle)
                secondHadWindow = true;
        return !second->Running();
    });
    ASSERT_TRUE(exited) << "the second instance is still running";
    EXPECT_EQ(second->ExitCode(), 0u);
    EXPECT_FALSE(secondHadWindow);

    EXPECT_TRUE(first->Running());
    EXPECT_TRUE(::IsWindowVisible(main));
    EXPECT_EQ(TitledWindows(), std::vector<HWND>{main});
}

TEST_F(StartupTest, SecondStartBringsBackAHiddenOrMinimizedFirstWindow)
{
    auto first = Start();
    ASSERT_TRUE(first->Started()) << first->StartFailure();
    HWND main = first->WaitForMainWindow();
    ASSERT_NE(main, nullptr) << "the first instance is " << first->State();

    ::ShowWindow(main, SW_HIDE);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(main); }));
    auto second = Start();
    ASSERT_TRUE(second->Started()) << second->StartFailure();
    ASSERT_TRUE(second->WaitForExit());
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(main) != FALSE; })) << "the hidden window stayed hidden";

    ::ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return ::IsIconic(main) != FALSE; }));
    auto third = Start();
    ASSERT_TRUE(third->Started()) << third->StartFailure();
    ASSERT_TRUE(third->WaitForExit());
    EXPECT_TRUE(WaitFor([&] { return !::IsIconic(main) && ::IsWindowVisible(main); }))
        << "the minimized window was not restored";
    EXPECT_TRUE(first->Running());
}

// As a shortcut with a shortcut key would start it: the running instance opens its tray menu
// where the pointer is, in front, so that Esc closes it; its window stays shown or hidden.
TEST_F(StartupTest, AMenuSwitchOpensTheRunningOnesTrayMenuAtThePointerAndLeavesItsWindowAsItWas)
{
    for (WORD show : {WORD(SW_SHOWNORMAL), WORD(SW_SHOWMINNOACTIVE)}) {
        SCOPED_TRACE(show == SW_SHOWNORMAL ? "shown" : "hidden in the tray");
        auto first = Start(show);
        ASSERT_TRUE(first->Started()) << first->StartFailure();
        ASSERT_TRUE(first->WaitForIdle()) << "the first instance is " << first->State();
        const std::vector<HWND> titled = TitledWindows(first->Id());
        ASSERT_EQ(titled.size(), 1u);
        const bool visible = ::IsWindowVisible(titled[0]) != FALSE;
        EXPECT_EQ(visible, show == SW_SHOWNORMAL);

        const POINT pointer{show == SW_SHOWNORMAL ? 200 : 520, show == SW_SHOWNORMAL ? 150 : 240};
        ::SetCursorPos(pointer.x, pointer.y);
        auto second = Start(SW_SHOWNORMAL, {"/MENU"});
        ASSERT_TRUE(second->Started()) << second->StartFailure();
        ASSERT_TRUE(second->WaitForExit());
        EXPECT_EQ(second->ExitCode(), 0u);
        HWND menu = WaitForOpenMenuOf(first->Id());
        ASSERT_NE(menu, nullptr) << "no tray menu; the first instance is " << first->State();
        RECT at{};
        ::GetWindowRect(menu, &at);
        EXPECT_NEAR(at.left, pointer.x, 2);
        EXPECT_NEAR(at.top, pointer.y, 2);
        EXPECT_EQ(::IsWindowVisible(titled[0]) != FALSE, visible);
        EXPECT_TRUE(TopLevelWindows(second->Id()).empty());

        PressEscape();
        EXPECT_TRUE(WaitFor([&] { return OpenMenuOf(first->Id()) == nullptr; })) << "Esc did not reach the menu";
        EXPECT_EQ(::IsWindowVisible(titled[0]) != FALSE, visible);
        EXPECT_TRUE(first->Running());
    }
}

// With none running the start goes on as usual and then does what the last switch asks; the
// first argument that is no switch stays the root folder, wherever it stands.
TEST_F(StartupTest, ASwitchWithNoneRunningStartsAsUsualThenOpensTheMenuOfTheRootGiven)
{
    for (const char* name : {"one.txt", "two.txt", "three.txt"})
        m_folder.MakeFile(std::string("Other Root\\") + name);
    ::SetCursorPos(300, 200);
    auto first = Start(SW_SHOWNORMAL, {"/find", m_folder.Path() + "\\Other Root", "/Menu"});
    ASSERT_TRUE(first->Started()) << first->StartFailure();
    HWND menu = WaitForOpenMenuOf(first->Id());
    ASSERT_NE(menu, nullptr) << "no tray menu; the program is " << first->State();
    HWND main = first->WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(::SendMessageA(FolderTreeOf(main), TVM_GETCOUNT, 0, 0), 3);
    PressEscape();
    EXPECT_TRUE(WaitFor([&] { return OpenMenuOf(first->Id()) == nullptr; }));
}

TEST_F(StartupTest, TwentySimultaneousStartsLeaveExactlyOneInstanceRoundAfterRound)
{
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE("round " + std::to_string(round + 1));
        std::vector<std::unique_ptr<FernwickProcess>> starts;
        for (int i = 0; i < 20; ++i) {
            starts.push_back(Start());
            ASSERT_TRUE(starts.back()->Started()) << "start " << i + 1 << ": " << starts.back()->StartFailure();
        }
        auto countRunning = [&] {
            return std::count_if(starts.begin(), starts.end(), [](const auto& p) { return p->Running(); });
        };
        // Under Wine twenty starts at once are slow: wait a long time for the others to leave.
        EXPECT_TRUE(WaitFor([&] { return countRunning() <= 1; }, 3 * kE2eTimeoutMs));
        ASSERT_EQ(countRunning(), 1);

        FernwickProcess* survivor = nullptr;
        for (const auto& p : starts) {
            if (p->Running())
                survivor = p.get();
            else
                EXPECT_EQ(p->ExitCode(), 0u);
        }
        HWND main = survivor->WaitForMainWindow();
        ASSERT_NE(main, nullptr) << "the remaining instance is " << survivor->State();
        EXPECT_EQ(TitledWindows(), std::vector<HWND>{main});
        ::PostMessageA(main, WM_CLOSE, 0, 0);
        ASSERT_TRUE(survivor->WaitForExit());
        EXPECT_EQ(survivor->ExitCode(), 0u);
        ASSERT_TRUE(WaitFor([] { return !AnyInstanceAlive(); }));
    }
}

TEST_F(StartupTest, StartAfterTheFirstClosedIsTheFirstAgain)
{
    auto first = Start();
    ASSERT_TRUE(first->Started()) << first->StartFailure();
    HWND main = first->WaitForMainWindow();
    ASSERT_NE(main, nullptr) << "the first instance is " << first->State();
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(first->WaitForExit()) << "WM_CLOSE did not end the program";
    EXPECT_EQ(first->ExitCode(), 0u);

    auto next = Start();
    ASSERT_TRUE(next->Started()) << next->StartFailure();
    HWND nextMain = next->WaitForMainWindow();
    ASSERT_NE(nextMain, nullptr) << "the new start showed no window; it is " << next->State();
    EXPECT_TRUE(next->Running());
    EXPECT_EQ(TitledWindows(), std::vector<HWND>{nextMain});
}

TEST_F(StartupTest, RootFolderArgumentReplacesTheWorkingDirectorysRoot)
{
    // A space and a trailing backslash: the argument must arrive as one path all the same.
    for (const char* name : {"one.txt", "two.txt", "three.txt"})
        m_folder.MakeFile(std::string("Other Root\\") + name);
    auto first = Start(SW_SHOWNORMAL, {m_folder.Path() + "\\Other Root\\"});
    ASSERT_TRUE(first->Started()) << first->StartFailure();
    HWND main = first->WaitForMainWindow();
    ASSERT_NE(main, nullptr) << "the program is " << first->State();
    HWND tree = FolderTreeOf(main);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(::SendMessageA(tree, TVM_GETCOUNT, 0, 0), 3);
}

// A root the ANSI argument vector cannot carry: it comes from the wide command line, and its
// files open as what they are, through the shell for real.
TEST_F(StartupTest, ARootCodePageCannotSpellIsShownAndItsFilesOpen)
{
    const std::wstring root = LongPath(m_folder.Path()).substr(4) + L"\\Racine \u00e9";
    ASSERT_TRUE(::CreateDirectoryW(root.c_str(), nullptr));
    const std::string script = "@echo opened> \"" + m_folder.Path() + "\\opened.txt\"\r\n";
    UniqueFileHandle bat(::CreateFileW((root + L"\\lanc\u00e9.bat").c_str(), GENERIC_WRITE, 0, nullptr,
                                       CREATE_NEW, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(bat && ::WriteFile(bat.get(), script.data(), static_cast<DWORD>(script.size()), &written, nullptr));
    bat.reset();
    FernwickProcess process(m_folder.Path(), root);
    ASSERT_TRUE(process.Started()) << process.StartFailure();
    HWND main = process.WaitForMainWindow();
    ASSERT_NE(main, nullptr) << "the program is " << process.State();
    HWND tree = FolderTreeOf(main);
    ASSERT_EQ(::SendMessageA(tree, TVM_GETCOUNT, 0, 0), 1) << "the root's one file";
    ::SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, ::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    ::PostMessageA(tree, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(WaitFor([&] { return ::GetFileAttributesA((m_folder.Path() + "\\opened.txt").c_str()) != INVALID_FILE_ATTRIBUTES; }))
        << "the file was not opened";
}

TEST_F(StartupTest, StartedMinimizedKeepsItsWindowHiddenUntilTheNextStart)
{
    auto first = Start(SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(first->Started()) << first->StartFailure();
    ASSERT_TRUE(first->WaitForIdle()) << "the program is " << first->State();
    const std::vector<HWND> titled = TitledWindows(first->Id());
    ASSERT_EQ(titled.size(), 1u);
    EXPECT_FALSE(::IsWindowVisible(titled[0])) << "started minimized, yet its window shows";

    auto second = Start();
    ASSERT_TRUE(second->Started()) << second->StartFailure();
    ASSERT_TRUE(second->WaitForExit());
    EXPECT_EQ(first->WaitForMainWindow(), titled[0]) << "the hidden window was not brought back";
}

TEST(FernwickProcessTest, AStartThatCannotWorkIsRetriedAndReportsItsError)
{
    FernwickProcess process("C:\\no such folder\\fernwick");
    EXPECT_FALSE(process.Started());
    EXPECT_GT(process.Attempts(), 1);
    EXPECT_EQ(process.StartError(), static_cast<DWORD>(ERROR_DIRECTORY));
    EXPECT_NE(process.StartFailure().find(std::to_string(ERROR_DIRECTORY)), std::string::npos) << process.StartFailure();
    EXPECT_FALSE(process.Running());
    EXPECT_EQ(process.WaitForMainWindow(), nullptr);
}
} // namespace
