// The calls that reach outside the program. The product uses the Win32 functions;
// tests put recorders in their place.
#pragma once
#include <windows.h>

struct CShellCalls {
    int(WINAPI* MessageBoxA)(HWND, LPCSTR, LPCSTR, UINT);
};

extern CShellCalls g_shellCalls;
