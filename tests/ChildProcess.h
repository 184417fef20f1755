// A program started as a process of its own, for tests and the benchmark. On a cold Wine
// prefix under load CreateProcessA fails now and then and works a moment later: a failed
// start is tried again, pausing a little longer each time.
#pragma once
#include <windows.h>
#include <string>
#include "framework/Handles.h"

struct ChildProcess {
    UniqueKernelHandle process; // empty when every attempt failed
    DWORD pid = 0;
    DWORD thread = 0; // its first thread's id
    DWORD error = 0; // GetLastError of the last failed attempt
    int attempts = 0;
};

// directory null: this process's current directory; showCommand -1: the program's own.
ChildProcess StartChild(const std::string& commandLine, const char* directory = nullptr, int showCommand = -1);
// A command line with names code page 932 cannot spell.
ChildProcess StartChild(const std::wstring& commandLine, const wchar_t* directory, int showCommand = -1);

// Makes the demo root folder in dir\Root with the program that makes it for the demo.
bool MakeDemo(const std::string& dir);
