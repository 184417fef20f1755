// Fernwick.exe started as a process of its own, and the window lookups end-to-end tests share.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "ChildProcess.h"
#include "TestHelpers.h"

constexpr char kFernwickTitle[] = "Fernwick";
constexpr DWORD kE2eTimeoutMs = kTestTimeoutMs;

std::string WindowText(HWND hwnd);
// Top-level windows of one process (pid 0: of every process).
std::vector<HWND> TopLevelWindows(DWORD pid = 0);
// Those of them titled "Fernwick".
std::vector<HWND> TitledWindows(DWORD pid = 0);
// Fernwick.exe beside the running test program.
std::string FernwickPath();
// The folder tree inside a main window, or null.
HWND FolderTreeOf(HWND main);
// A visible pop-up menu of a process, or null.
HWND OpenMenuOf(DWORD pid);
// The same, once one is open; null when none opened in time.
HWND WaitForOpenMenuOf(DWORD pid);

// A started Fernwick.exe; one still alive when its owner goes is closed, then terminated.
class FernwickProcess {
public:
    // Starts it in workDir with the show command a shortcut would give and the arguments
    // (each quoted) after the program's name; a failed CreateProcessA is tried again.
    explicit FernwickProcess(const std::string& workDir, WORD showCommand = SW_SHOWNORMAL,
                             const std::vector<std::string>& arguments = {});
    // The same with one argument as the wide command line holds it.
    FernwickProcess(const std::string& workDir, const std::wstring& argument);
    FernwickProcess(const FernwickProcess&) = delete;
    FernwickProcess& operator=(const FernwickProcess&) = delete;
    ~FernwickProcess();

    bool Started() const { return static_cast<bool>(m_process); }
    // GetLastError of the last failed attempt (0 when none failed), and how many were made.
    DWORD StartError() const { return m_startError; }
    int Attempts() const { return m_attempts; }
    const std::string& CommandLine() const { return m_commandLine; }
    // What went wrong with the start, for a test's failure message.
    std::string StartFailure() const;

    DWORD Id() const { return m_pid; }
    bool Running() const;
    bool WaitForExit(DWORD timeoutMs = kE2eTimeoutMs) const;
    DWORD ExitCode() const;
    // "running", "exited with N" or why it never started, for a test's failure message.
    std::string State() const;
    // Whether it reached its message loop with nothing left to do: start-up is over.
    bool WaitForIdle(DWORD timeoutMs = kE2eTimeoutMs) const;
    // Its visible main window, once it has one; null when none came in time or it ended.
    HWND WaitForMainWindow() const;

private:
    std::string m_commandLine;
    UniqueKernelHandle m_process;
    DWORD m_pid = 0;
    DWORD m_startError = 0;
    int m_attempts = 0;
};
