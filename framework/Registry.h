// Registry reads the program makes.
#pragma once
#include <windows.h>
#include <string>

// The default value of a key, a text (REG_SZ or REG_EXPAND_SZ, in *pType when asked for)
// that fits MAX_PATH bytes with its terminator; out is left alone on any failure.
LONG AfxRegQueryDefaultText(HKEY hKey, const char* subKeyName, std::string& out, DWORD* pType = nullptr);
