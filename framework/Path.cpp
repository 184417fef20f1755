#include "framework/Path.h"
#include "framework/GrowingText.h"

std::string AfxGetCurrentDirectory()
{
    return AfxReadGrowing<char>([](char* buffer, size_t size) {
        return ::GetCurrentDirectoryA(static_cast<DWORD>(size), buffer);
    });
}

std::string AfxGetFullPathName(const char* path)
{
    return AfxReadGrowing<char>([path](char* buffer, size_t size) {
        return ::GetFullPathNameA(path, static_cast<DWORD>(size), buffer, nullptr);
    });
}

std::wstring AfxGetFullPathName(const wchar_t* path)
{
    return AfxReadGrowing<wchar_t>([path](wchar_t* buffer, size_t size) {
        return ::GetFullPathNameW(path, static_cast<DWORD>(size), buffer, nullptr);
    });
}

std::string AfxGetModuleFileName()
{
    return AfxReadGrowing<char>([](char* buffer, size_t size) {
        return ::GetModuleFileNameA(nullptr, buffer, static_cast<DWORD>(size));
    });
}
