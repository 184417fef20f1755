// Where a program of this project looks for the DLLs it loads after start.
#pragma once
#include <windows.h>

// Only the system folder: a DLL with a system name put beside the program, in the current
// directory or on the path is never loaded instead. Windows 7 has the call only with an
// update, hence the look-up; without it the current directory at least leaves the search.
inline void AfxLimitDllSearch()
{
    using SetDefaultDllDirectoriesCall = BOOL(WINAPI*)(DWORD);
    const auto call = reinterpret_cast<SetDefaultDllDirectoriesCall>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
    if (call == nullptr || !call(0x00000800 /* LOAD_LIBRARY_SEARCH_SYSTEM32 */))
        ::SetDllDirectoryA("");
}
