#include "framework/ShellCalls.h"

CShellCalls g_shellCalls = {
    ::ShellExecuteA, ::CreateProcessA, ::WinExec, ::Shell_NotifyIconA, ::TrackPopupMenu,
    ::MessageBoxA,   ::MessageBeep,    ::GetCursorPos,   ::ShellExecuteW,      ::CreateProcessW,
    ::ReadDirectoryChangesW,
};
