// Starts Fernwick.exe as separate processes and watches them from outside with window lookups.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>
#include "TempFolder.h"
#include "framework/Handles.h"

namespace {
constexpr char kTitle[] = "Fernwick";
constexpr char kMutexName[] = "Fernwick.exe - Osterlind";
constexpr int kViewId = 0xE900;
constexpr int kTreeId = 1002;
constexpr DWORD kTimeoutMs = 20000;

template <class Done>
bool WaitFor(Done done, DWORD timeoutMs = kTimeoutMs)
{
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (done())
            return true;
        if (::GetTickCount64() >= end)
            return false;
        ::Sleep(50);
    }
}

std::string WindowText(HWND hwnd)
{
    char text[256] = {};
    ::GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// Top-level windows of one process (pid 0: of every process).
std::vector<HWND> TopLevelWindows(DWORD pid = 0)
{
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{pid, {}};
    ::EnumWindows(
        [](HWND hwnd, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hwnd, &owner);
            if (s->pid == 0 || owner == s->pid)
                s->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> TitledWindows(DWORD pid = 0)
{
    std::vector<HWND> titled;
    for (HWND hwnd : TopLevelWindows(pid))
        if (WindowText(hwnd) == kTitle)
            titled.push_back(hwnd);
    return titled;
}

std::string ProgramPath()
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir = path;
    return dir.substr(0, dir.rfind('\\') + 1) + "Fernwick.exe";
}

// A started Fernwick.exe; one still alive when its owner goes is closed, then terminated.
class Process {
public:
    explicit Process(const std::string& workDir)
    {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION pi{};
        std::string commandLine = '"' + ProgramPath() + '"';
        if (::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, workDir.c_str(), &si,
                             &pi)) {
            m_process.reset(pi.hProcess);
            ::CloseHandle(pi.hThread);
            m_pid = pi.dwProcessId;
        }
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process()
    {
        if (!Running())
            return;
        for (HWND hwnd : TitledWindows(m_pid))
            ::PostMessageA(hwnd, WM_CLOSE, 0, 0);
        if (!WaitForExit()) {
            ::TerminateProcess(m_process.get(), 1);
            ::WaitForSingleObject(m_process.get(), kTimeoutMs);
        }
    }

    bool Started() const { return static_cast<bool>(m_process); }
    DWORD Id() const { return m_pid; }
    bool Running() const { return Started() && ::WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT; }
    bool WaitForExit(DWORD timeoutMs = kTimeoutMs) const
    {
        return Started() && ::WaitForSingleObject(m_process.get(), timeoutMs) == WAIT_OBJECT_0;
    }
    DWORD ExitCode() const
    {
        DWORD code = STILL_ACTIVE;
        ::GetExitCodeProcess(m_process.get(), &code);
        return code;
    }
    std::string State() const { return Running() ? "running" : "exited with " + std::to_string(ExitCode()); }
    // Its visible main window, once it has one.
    HWND WaitForMainWindow() const
    {
        HWND main = nullptr;
        WaitFor([&] {
            for (HWND hwnd : TitledWindows(m_pid))
                if (::IsWindowVisible(hwnd))
                    main = hwnd;
            return main != nullptr || !Running();
        });
        return main;
    }

private:
    UniqueKernelHandle m_process;
    DWORD m_pid = 0;
};

bool AnyInstanceAlive()
{
    UniqueKernelHandle mutex(::OpenMutexA(SYNCHRONIZE, FALSE, kMutexName));
    return mutex || ::FindWindowA(nullptr, kTitle) != nullptr;
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

    std::unique_ptr<Process> Start() const
    {
        auto process = std::make_unique<Process>(m_folder.Path());
        EXPECT_TRUE(process->Started()) << "CreateProcessA failed for " << ProgramPath();
        return process;
    }

    TempFolder m_folder;
    const std::vector<const char*> m_rootFiles{"alpha.txt", "beta.txt"};
};

TEST_F(StartupTest, FirstInstanceShowsItsWindowWithTheFolderTree)
{
    auto first = Start();
    HWND main = first->WaitForMainWindow();
    ASSERT_NE(main, nullptr) << "no visible window titled Fernwick; the program is " << first->State();
    EXPECT_EQ(::FindWindowA(nullptr, kTitle), main);
    EXPECT_EQ(::GetAncestor(main, GA_ROOT), main);

    HWND view = ::GetDlgItem(main, kViewId);
    ASSERT_NE(view, nullptr);
    HWND tree = ::GetDlgItem(view, kTreeId);
    ASSERT_NE(tree, nullptr);
    char cls[64] = {};
    ::GetClassNameA(tree, cls, sizeof cls);
    EXPECT_STREQ(cls, WC_TREEVIEWA);
    EXPECT_TRUE(::IsWindowVisible(tree));
    // The root folder came from the working directory: one item per file in it.
    EXPECT_EQ(::SendMessageA(tree, TVM_GETCOUNT, 0, 0), static_cast<LRESULT>(m_rootFiles.size()));
}

TEST_F(StartupTest, SecondStartLeavesQuietlyAndTheFirstKeepsRunning)
{
    auto first = Start();
    HWND main = first->WaitForMainWindow();
    ASSERT_NE(main, nullptr) << "the first instance is " << first->State();

    auto second = Start();
    bool secondHadWindow = false;
    const bool exited = WaitFor([&] {
        for (HWND hwnd : TopLevelWindows(second->Id()))
            if (::IsWindowVisible(hwnd) || WindowText(hwnd) == kTitle)
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
    HWND main = first->WaitForMainWindow();
    ASSERT_NE(main, nullptr) << "the first instance is " << first->State();

    ::ShowWindow(main, SW_HIDE);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(main); }));
    ASSERT_TRUE(Start()->WaitForExit());
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(main) != FALSE; })) << "the hidden window stayed hidden";

    ::ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return ::IsIconic(main) != FALSE; }));
    ASSERT_TRUE(Start()->WaitForExit());
    EXPECT_TRUE(WaitFor([&] { return !::IsIconic(main) && ::IsWindowVisible(main); }))
        << "the minimized window was not restored";
    EXPECT_TRUE(first->Running());
}

TEST_F(StartupTest, TenSimultaneousStartsLeaveExactlyOneInstance)
{
    std::vector<std::unique_ptr<Process>> starts;
    for (int i = 0; i < 10; ++i)
        starts.push_back(Start());

    auto countRunning = [&] {
        int running = 0;
        for (const auto& p : starts)
            running += p->Running() ? 1 : 0;
        return running;
    };
    // Under Wine ten starts at once can be slow: wait a long time for the nine to leave.
    EXPECT_TRUE(WaitFor([&] { return countRunning() <= 1; }, 3 * kTimeoutMs));
    ASSERT_EQ(countRunning(), 1);

    Process* survivor = nullptr;
    for (const auto& p : starts) {
        if (p->Running())
            survivor = p.get();
        else
            EXPECT_EQ(p->ExitCode(), 0u);
    }
    HWND main = survivor->WaitForMainWindow();
    ASSERT_NE(main, nullptr) << "the remaining instance is " << survivor->State();
    EXPECT_EQ(TitledWindows(), std::vector<HWND>{main});
    EXPECT_EQ(countRunning(), 1);
}

TEST_F(StartupTest, StartAfterTheFirstClosedIsTheFirstAgain)
{
    auto first = Start();
    HWND main = first->WaitForMainWindow();
    ASSERT_NE(main, nullptr) << "the first instance is " << first->State();
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(first->WaitForExit()) << "WM_CLOSE did not end the program";
    EXPECT_EQ(first->ExitCode(), 0u);

    auto next = Start();
    HWND nextMain = next->WaitForMainWindow();
    ASSERT_NE(nextMain, nullptr) << "the new start showed no window; it is " << next->State();
    EXPECT_TRUE(next->Running());
    EXPECT_EQ(TitledWindows(), std::vector<HWND>{nextMain});
}
} // namespace
