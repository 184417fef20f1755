// The calls that reach outside the program. The product uses the Win32 functions;
// tests put recorders in their place.
#pragma once
#include <windows.h>
#include <shellapi.h>
#include <shobjidl.h>

struct CShellCalls {
    HINSTANCE(WINAPI* ShellExecuteA)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    BOOL(WINAPI* CreateProcessA)(LPCSTR, LPSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID,
                                 LPCSTR, LPSTARTUPINFOA, LPPROCESS_INFORMATION);
    UINT(WINAPI* WinExec)(LPCSTR, UINT);
    BOOL(WINAPI* Shell_NotifyIconA)(DWORD, PNOTIFYICONDATAA);
    BOOL(WINAPI* TrackPopupMenu)(HMENU, UINT, int, int, int, HWND, const RECT*);
    int(WINAPI* MessageBoxA)(HWND, LPCSTR, LPCSTR, UINT);
    BOOL(WINAPI* MessageBeep)(UINT);
    BOOL(WINAPI* GetCursorPos)(LPPOINT);
    // For paths holding names code page 932 cannot spell.
    HINSTANCE(WINAPI* ShellExecuteW)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    BOOL(WINAPI* CreateProcessW)(LPCWSTR, LPWSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID,
                                 LPCWSTR, LPSTARTUPINFOW, LPPROCESS_INFORMATION);
    // Which folders the program watches, and how deep, decides which ones Windows lets the
    // user rename: tests see it here.
    BOOL(WINAPI* ReadDirectoryChangesW)(HANDLE, LPVOID, DWORD, BOOL, DWORD, LPDWORD, LPOVERLAPPED,
                                        LPOVERLAPPED_COMPLETION_ROUTINE);
    // The shell's menu is filled, and its verbs run, by the shell's and its extensions' code,
    // however long it takes: tests see on which thread, and stand in for a slow, failing or
    // faulting extension.
    HRESULT (*QueryContextMenu)(IContextMenu*, HMENU, UINT, UINT, UINT, UINT);
    HRESULT (*InvokeCommand)(IContextMenu*, CMINVOKECOMMANDINFO*);
};

extern CShellCalls g_shellCalls;

// Puts recorders in place for its lifetime and then the previous calls back.
class CShellCallsScope {
public:
    CShellCallsScope() : m_saved(g_shellCalls) {}
    ~CShellCallsScope() { g_shellCalls = m_saved; }
    CShellCallsScope(const CShellCallsScope&) = delete;
    CShellCallsScope& operator=(const CShellCallsScope&) = delete;

private:
    CShellCalls m_saved;
};
