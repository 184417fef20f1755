#include "tools/bench/StartedProcess.h"
#include <stdexcept>
#include <vector>

namespace {
// Today a start over 2,000 entries may take a minute under Wine.
constexpr DWORD kStartTimeoutMs = 600000;
constexpr DWORD kExitTimeoutMs = 60000;
// On a cold Wine prefix under load CreateProcessA now and then fails; it works a moment later.
constexpr int kStartAttempts = 5;

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

StartedProcess::StartedProcess(const std::string& commandLine, const std::string& directory)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    DWORD error = 0;
    for (int attempt = 0; attempt < kStartAttempts && !m_process; ++attempt) {
        if (attempt > 0)
            ::Sleep(100u << attempt);
        std::string writable = commandLine; // CreateProcessA may write into it
        PROCESS_INFORMATION info{};
        if (!::CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                              &startup, &info)) {
            error = ::GetLastError();
            continue;
        }
        m_process.reset(info.hProcess);
        ::CloseHandle(info.hThread);
        m_pid = info.dwProcessId;
    }
    if (!m_process)
        throw std::runtime_error("cannot start " + commandLine + " (error " + std::to_string(error) + ")");
}

StartedProcess::~StartedProcess()
{
    for (HWND hWnd : VisibleWindows(m_pid))
        ::PostMessageA(hWnd, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(m_process.get(), kExitTimeoutMs) != WAIT_OBJECT_0)
        ::TerminateProcess(m_process.get(), 1);
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
