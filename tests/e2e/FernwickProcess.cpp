#include "e2e/FernwickProcess.h"
#include "mbcs/Mbcs.h"
#include "res/resource.h"

namespace {
// Quoted as the C runtime splits a command line: backslashes before the closing quote are
// doubled, or "C:\" would swallow the quote. A trail byte of value 0x5C is no backslash.
std::string Quoted(const std::string& argument)
{
    size_t trailingBackslashes = 0;
    for (size_t i = 0; i < argument.size(); i += CharSize(argument, i))
        trailingBackslashes = CharSize(argument, i) == 1 && argument[i] == '\\' ? trailingBackslashes + 1 : 0;
    return '"' + argument + std::string(trailingBackslashes, '\\') + '"';
}
} // namespace

std::string WindowText(HWND hwnd)
{
    char text[256] = {};
    ::GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

std::vector<HWND> TopLevelWindows(DWORD pid)
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

std::vector<HWND> TitledWindows(DWORD pid)
{
    std::vector<HWND> titled;
    for (HWND hwnd : TopLevelWindows(pid))
        if (WindowText(hwnd) == kFernwickTitle)
            titled.push_back(hwnd);
    return titled;
}

std::string FernwickPath()
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir = path;
    return dir.substr(0, dir.rfind('\\') + 1) + "Fernwick.exe";
}

HWND FolderTreeOf(HWND main)
{
    HWND view = ::GetDlgItem(main, AFX_IDW_PANE_FIRST);
    return view != nullptr ? ::GetDlgItem(view, IDC_FOLDER_TREE) : nullptr;
}

HWND OpenMenuOf(DWORD pid)
{
    for (HWND hwnd : TopLevelWindows(pid)) {
        char cls[16] = {};
        ::GetClassNameA(hwnd, cls, sizeof cls);
        if (std::string(cls) == "#32768" && ::IsWindowVisible(hwnd))
            return hwnd;
    }
    return nullptr;
}

HWND WaitForOpenMenuOf(DWORD pid)
{
    HWND menu = nullptr;
    WaitFor([&] { return (menu = OpenMenuOf(pid)) != nullptr; });
    return menu;
}

FernwickProcess::FernwickProcess(const std::string& workDir, WORD showCommand,
                                 const std::vector<std::string>& arguments)
    : m_commandLine(Quoted(FernwickPath()))
{
    for (const std::string& argument : arguments)
        m_commandLine += ' ' + Quoted(argument);
    ChildProcess child = StartChild(m_commandLine, workDir.c_str(), showCommand);
    m_process = std::move(child.process);
    m_pid = child.pid;
    m_startError = child.error;
    m_attempts = child.attempts;
}

FernwickProcess::FernwickProcess(const std::string& workDir, const std::wstring& argument)
    : m_commandLine(Quoted(FernwickPath()) + " (and a wide argument)")
{
    const auto wide = [](const std::string& text) {
        std::wstring result(text.size() + 1, L'\0');
        result.resize(static_cast<size_t>(::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, result.data(),
                                                                static_cast<int>(result.size())) - 1));
        return result;
    };
    ChildProcess child = StartChild(wide(Quoted(FernwickPath())) + L" \"" + argument + L"\"", wide(workDir).c_str(),
                                    SW_SHOWNORMAL);
    m_process = std::move(child.process);
    m_pid = child.pid;
    m_startError = child.error;
    m_attempts = child.attempts;
}

FernwickProcess::~FernwickProcess()
{
    if (!Running())
        return;
    for (HWND hwnd : TitledWindows(m_pid))
        ::PostMessageA(hwnd, WM_CLOSE, 0, 0);
    if (!WaitForExit()) {
        ::TerminateProcess(m_process.get(), 1);
        ::WaitForSingleObject(m_process.get(), kE2eTimeoutMs);
    }
}

std::string FernwickProcess::StartFailure() const
{
    if (Started())
        return "started after " + std::to_string(m_attempts) + " attempt(s)";
    return "CreateProcessA failed " + std::to_string(m_attempts) + " times for " + m_commandLine +
           "; last error " + std::to_string(m_startError);
}

bool FernwickProcess::Running() const
{
    return Started() && ::WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT;
}

bool FernwickProcess::WaitForExit(DWORD timeoutMs) const
{
    return Started() && ::WaitForSingleObject(m_process.get(), timeoutMs) == WAIT_OBJECT_0;
}

DWORD FernwickProcess::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(m_process.get(), &code);
    return code;
}

std::string FernwickProcess::State() const
{
    if (!Started())
        return "not started (" + StartFailure() + ")";
    return Running() ? "running" : "exited with " + std::to_string(ExitCode());
}

bool FernwickProcess::WaitForIdle(DWORD timeoutMs) const
{
    return Started() && ::WaitForInputIdle(m_process.get(), timeoutMs) == 0;
}

HWND FernwickProcess::WaitForMainWindow() const
{
    HWND main = nullptr;
    if (!Started())
        return main;
    WaitFor([&] {
        for (HWND hwnd : TitledWindows(m_pid))
            if (::IsWindowVisible(hwnd))
                main = hwnd;
        return main != nullptr || !Running();
    });
    return main;
}
