#include "tools/bench/StartedProcess.h"
#include "ChildProcess.h"
#include <stdexcept>
#include "framework/Path.h"
#include <vector>

namespace {
// Today a start over 2,000 entries may take a minute under Wine.
constexpr DWORD kStartTimeoutMs = 600000;
constexpr DWORD kExitTimeoutMs = 60000;

std::vector<HWND> VisibleWindows(DWORD pid)
{
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{pid, {}};
    ::EnumWindows(
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hWnd, &owner);
            if (owner == s->pid && ::IsWindowVisible(hWnd))
                s->found.push_back(hWnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
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
    m_pid = child.pid;
}

StartedProcess::~StartedProcess()
{
    Close();
}

bool StartedProcess::Close()
{
    for (HWND hWnd : VisibleWindows(m_pid))
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
    while (VisibleWindows(m_pid).empty()) {
        if (::GetTickCount64() >= end || ::WaitForSingleObject(m_process.get(), 0) == WAIT_OBJECT_0)
            return false;
        ::Sleep(1);
    }
    return true;
}
