#include "framework/ShellCalls.h"

namespace {
HRESULT QueryContextMenu(IContextMenu* menu, HMENU hMenu, UINT index, UINT first, UINT last, UINT flags)
{
    return menu->QueryContextMenu(hMenu, index, first, last, flags);
}
HRESULT InvokeCommand(IContextMenu* menu, CMINVOKECOMMANDINFO* info)
{
    return menu->InvokeCommand(info);
}
} // namespace

CShellCalls g_shellCalls = {
    ::ShellExecuteA, ::CreateProcessA, ::WinExec, ::Shell_NotifyIconA, ::TrackPopupMenu,
    ::MessageBoxA,   ::MessageBeep,    ::GetCursorPos,   ::ShellExecuteW,      ::CreateProcessW,
    ::ReadDirectoryChangesW, QueryContextMenu, InvokeCommand,
};
