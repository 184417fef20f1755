#include "ChildProcess.h"
#include "framework/Path.h"

namespace {
constexpr int kStartAttempts = 5;
constexpr DWORD kFirstRetryPauseMs = 100;
} // namespace

namespace {
template <class Char, class StartupInfo, class Create>
ChildProcess StartWith(const std::basic_string<Char>& commandLine, const Char* directory, int showCommand, Create create)
{
    StartupInfo si{};
    si.cb = sizeof si;
    if (showCommand >= 0) {
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = static_cast<WORD>(showCommand);
    }
    ChildProcess child;
    for (DWORD pauseMs = kFirstRetryPauseMs; child.attempts < kStartAttempts; pauseMs *= 2) {
        if (child.attempts++ > 0)
            ::Sleep(pauseMs);
        std::basic_string<Char> writable = commandLine; // CreateProcess may write into it
        PROCESS_INFORMATION pi{};
        if (create(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, directory, &si, &pi)) {
            child.process.reset(pi.hProcess);
            ::CloseHandle(pi.hThread);
            child.pid = pi.dwProcessId;
            child.thread = pi.dwThreadId;
            return child;
        }
        child.error = ::GetLastError();
    }
    return child;
}
} // namespace

ChildProcess StartChild(const std::string& commandLine, const char* directory, int showCommand)
{
    return StartWith<char, STARTUPINFOA>(commandLine, directory, showCommand, ::CreateProcessA);
}

ChildProcess StartChild(const std::wstring& commandLine, const wchar_t* directory, int showCommand)
{
    return StartWith<wchar_t, STARTUPINFOW>(commandLine, directory, showCommand, ::CreateProcessW);
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
