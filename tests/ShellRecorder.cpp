#include "ShellRecorder.h"

namespace {
ShellRecorder* g_recorder = nullptr;

std::string Text(const char* s)
{
    return s != nullptr ? s : "";
}

HINSTANCE WINAPI RecordShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                    INT showCmd)
{
    g_recorder->shellExecutes.push_back(
        {owner, Text(verb), Text(file), Text(parameters), Text(directory), verb == nullptr, directory == nullptr,
         showCmd, {}, {}});
    return reinterpret_cast<HINSTANCE>(g_recorder->shellExecuteResult);
}

HINSTANCE WINAPI RecordShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR, LPCWSTR directory, INT showCmd)
{
    g_recorder->shellExecutes.push_back(
        {owner, verb != nullptr ? std::string(verb, verb + lstrlenW(verb)) : "", "", "", "", verb == nullptr,
         directory == nullptr, showCmd,
         file != nullptr ? file : L"", directory != nullptr ? directory : L""});
    return reinterpret_cast<HINSTANCE>(g_recorder->shellExecuteResult);
}

// Real handles, so the caller's closing them is a real close.
void GiveHandles(LPPROCESS_INFORMATION info)
{
    ::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), ::GetCurrentProcess(), &info->hProcess, 0,
                      FALSE, DUPLICATE_SAME_ACCESS);
    ::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentThread(), ::GetCurrentProcess(), &info->hThread, 0, FALSE,
                      DUPLICATE_SAME_ACCESS);
}

BOOL WINAPI RecordCreateProcessW(LPCWSTR, LPWSTR commandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL,
                                 DWORD, LPVOID, LPCWSTR, LPSTARTUPINFOW, LPPROCESS_INFORMATION info)
{
    g_recorder->wideProcesses.push_back(commandLine != nullptr ? commandLine : L"");
    if (!g_recorder->createProcessResult)
        return FALSE;
    GiveHandles(info);
    return TRUE;
}

BOOL WINAPI RecordCreateProcess(LPCSTR, LPSTR commandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL,
                                DWORD, LPVOID, LPCSTR, LPSTARTUPINFOA, LPPROCESS_INFORMATION info)
{
    g_recorder->processes.push_back(Text(commandLine));
    if (!g_recorder->createProcessResult)
        return FALSE;
    GiveHandles(info);
    return TRUE;
}

UINT WINAPI RecordWinExec(LPCSTR commandLine, UINT)
{
    g_recorder->winExecs.push_back(Text(commandLine));
    return g_recorder->winExecResult;
}

BOOL WINAPI RecordNotifyIcon(DWORD message, PNOTIFYICONDATAA data)
{
    NotifyIconCall call{message, {}};
    call.data = *data;
    g_recorder->notifyIcons.push_back(call);
    return message == NIM_ADD ? g_recorder->notifyIconAddResult : TRUE;
}

BOOL WINAPI RecordTrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*)
{
    g_recorder->popups.push_back({menu, flags, x, y, owner});
    return g_recorder->onPopup(g_recorder->popups.back());
}

int WINAPI RecordMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    g_recorder->messageBoxes.push_back({owner, Text(text), Text(caption), type});
    return g_recorder->messageBoxResult;
}

BOOL WINAPI RecordBeep(UINT type)
{
    g_recorder->beeps.push_back(type);
    return TRUE;
}

BOOL WINAPI RecordCursorPos(LPPOINT point)
{
    *point = g_recorder->cursor;
    return TRUE;
}
} // namespace

ShellRecorder::ShellRecorder()
{
    g_recorder = this;
    // The folders stay watched and the shell's verbs run.
    g_shellCalls = {RecordShellExecute,       RecordCreateProcess,       RecordWinExec,   RecordNotifyIcon,
                    RecordTrackPopupMenu,     RecordMessageBox,          RecordBeep,      RecordCursorPos,
                    RecordShellExecuteW,      RecordCreateProcessW,      ::ReadDirectoryChangesW,
                    g_shellCalls.QueryContextMenu, g_shellCalls.InvokeCommand};
}

ShellRecorder::~ShellRecorder()
{
    g_recorder = nullptr;
}
