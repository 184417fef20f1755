#include "framework/ShellCalls.h"

namespace {
HRESULT InvokeCommand(IContextMenu* menu, CMINVOKECOMMANDINFO* info)
{
    return menu->InvokeCommand(info);
}
} // namespace

CShellCalls g_shellCalls = {
    ::ShellExecuteA, ::CreateProcessA, ::WinExec, ::Shell_NotifyIconA, ::TrackPopupMenu,
    ::MessageBoxA,   ::MessageBeep,    ::GetCursorPos,   ::ShellExecuteW,      ::CreateProcessW,
    ::ReadDirectoryChangesW, InvokeCommand,
};
