#include "ChildProcess.h"
#include "framework/Path.h"

namespace {
constexpr int kStartAttempts = 5;
constexpr DWORD kFirstRetryPauseMs = 100;
} // namespace

ChildProcess StartChild(const std::string& commandLine, const char* directory, int showCommand)
{
    STARTUPINFOA si{};
    si.cb = sizeof si;
    if (showCommand >= 0) {
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = static_cast<WORD>(showCommand);
    }
    ChildProcess child;
    for (DWORD pauseMs = kFirstRetryPauseMs; child.attempts < kStartAttempts; pauseMs *= 2) {
        if (child.attempts++ > 0)
            ::Sleep(pauseMs);
        std::string writable = commandLine; // CreateProcessA may write into it
        PROCESS_INFORMATION pi{};
        if (::CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, directory, &si, &pi)) {
            child.process.reset(pi.hProcess);
            ::CloseHandle(pi.hThread);
            child.pid = pi.dwProcessId;
            return child;
        }
        child.error = ::GetLastError();
    }
    return child;
}

bool MakeDemo(const std::string& dir)
{
    std::string maker = AfxGetModuleFileName();
    maker = maker.substr(0, maker.rfind('\\') + 1) + "make_demo.exe \"" + dir + "\"";
    ::CreateDirectoryA(dir.c_str(), nullptr);
    const ChildProcess demo = StartChild(maker);
    DWORD code = 1;
    return demo.process && ::WaitForSingleObject(demo.process.get(), 60000) == WAIT_OBJECT_0 &&
           ::GetExitCodeProcess(demo.process.get(), &code) && code == 0;
}
