// What many suites ask of the machine: a bounded wait, a settings value, a file's bytes.
#pragma once
#include <windows.h>
#include <fstream>
#include <iterator>
#include <string>

// Every wait of a test ends here; a cold Wine start under load takes seconds.
constexpr DWORD kTestTimeoutMs = 20000;
// What IniValue gives for a key the file does not hold.
constexpr char kAbsentValue[] = "<absent>";

// Polls until done() holds or the time is up; reports whether it held.
template <class Done>
bool WaitFor(Done done, DWORD timeoutMs = kTestTimeoutMs)
{
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (done())
            return true;
        if (::GetTickCount64() >= end)
            return false;
        ::Sleep(50);
    }
}

// A key's value as the profile functions read it.
inline std::string IniValue(const std::string& ini, const char* section, const char* key)
{
    char value[512] = {};
    ::GetPrivateProfileStringA(section, key, kAbsentValue, value, sizeof value, ini.c_str());
    return value;
}

// The file's bytes; empty when it cannot be read.
inline std::string FileContents(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}
