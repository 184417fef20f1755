#include "tools/bench/StartedProcess.h"
#include "ChildProcess.h"
#include <stdexcept>
#include "framework/Path.h"
#include <vector>

namespace {
// Today a start over 2,000 entries may take a minute under Wine.
constexpr DWORD kStartTimeoutMs = 600000;
constexpr DWORD kExitTimeoutMs = 60000;

// The first thread's visible windows: that thread's alone, so that waiting for them costs the
// same few calls however many windows the session holds.
std::vector<HWND> VisibleWindows(DWORD thread)
{
    std::vector<HWND> found;
    ::EnumThreadWindows(
        thread,
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            if (::IsWindowVisible(hWnd))
                reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}
} // namespace

std::string ProgramBesideThis(const char* name)
{
    const std::string self = AfxGetModuleFileName();
    return '"' + self.substr(0, self.rfind('\\') + 1) + name + '"';
}

StartedProcess::StartedProcess(const std::string& commandLine, const std::string& directory)
{
    ChildProcess child = StartChild(commandLine, directory.c_str());
    if (!child.process)
        throw std::runtime_error("cannot start " + commandLine + " (error " + std::to_string(child.error) + ")");
    m_process = std::move(child.process);
    m_thread = child.thread;
}

StartedProcess::~StartedProcess()
{
    Close();
}

bool StartedProcess::Close()
{
    for (HWND hWnd : VisibleWindows(m_thread))
        ::PostMessageA(hWnd, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(m_process.get(), kExitTimeoutMs) == WAIT_OBJECT_0)
        return true;
    ::TerminateProcess(m_process.get(), 1);
    ::WaitForSingleObject(m_process.get(), kExitTimeoutMs);
    return false;
}

bool StartedProcess::WaitUntilShownAndIdle() const
{
    if (::WaitForInputIdle(m_process.get(), kStartTimeoutMs) != 0)
        return false;
    const ULONGLONG end = ::GetTickCount64() + kStartTimeoutMs;
    while (VisibleWindows(m_thread).empty()) {
        if (::GetTickCount64() >= end || ::WaitForSingleObject(m_process.get(), 0) == WAIT_OBJECT_0)
            return false;
        ::Sleep(1);
    }
    return true;
}
