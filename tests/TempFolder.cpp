#include "TempFolder.h"
#include <windows.h>
#include <atomic>
#include <cstdio>
#include "mbcs/Mbcs.h"

namespace {
std::atomic<unsigned> g_serial{0};

void MakeParents(const std::string& path)
{
    for (size_t i = 3; i < path.size(); i += CharSize(path, i)) {
        if (CharSize(path, i) == 1 && path[i] == '\\')
            ::CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    }
}
} // namespace

TempFolder::TempFolder()
{
    char base[MAX_PATH];
    ::GetTempPathA(MAX_PATH, base);
    char name[64];
    std::snprintf(name, sizeof name, "fwt%lu_%u", ::GetCurrentProcessId(), g_serial++);
    m_path = std::string(base) + name;
    ::CreateDirectoryA(m_path.c_str(), nullptr);
}

TempFolder::~TempFolder()
{
    RemoveTree(m_path);
}

std::string TempFolder::MakeFolder(const std::string& relative) const
{
    std::string path = m_path + '\\' + relative;
    MakeParents(path);
    ::CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

std::string TempFolder::MakeFile(const std::string& relative, const std::string& content) const
{
    std::string path = m_path + '\\' + relative;
    MakeParents(path);
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ::WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        ::CloseHandle(h);
    }
    return path;
}

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA data;
    HANDLE h = ::FindFirstFileA((path + "\\*").c_str(), &data);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string child = path + '\\' + name;
            ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                ::DeleteFileA(child.c_str());
        } while (::FindNextFileA(h, &data));
        ::FindClose(h);
    }
    ::RemoveDirectoryA(path.c_str());
}
