// Paths the system reports, read whole whatever their length.
#pragma once
#include <string>

std::string AfxGetCurrentDirectory();
std::string AfxGetFullPathName(const char* path);
std::wstring AfxGetFullPathName(const wchar_t* path);
std::string AfxGetModuleFileName();
