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
    // Wine gives out the same process ids again, and a killed run leaves its folders behind.
    do {
        char name[64];
        std::snprintf(name, sizeof name, "fwt%lu_%u", ::GetCurrentProcessId(), g_serial++);
        m_path = std::string(base) + name;
    } while (!::CreateDirectoryA(m_path.c_str(), nullptr) && ::GetLastError() == ERROR_ALREADY_EXISTS);
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

std::wstring LongPath(const std::string& path)
{
    std::wstring wide(path.size() + 1, L'\0');
    wide.resize(static_cast<size_t>(
        ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), static_cast<int>(path.size()), wide.data(), static_cast<int>(wide.size()))));
    return L"\\\\?\\" + wide;
}

namespace {
// Through the wide functions: what a test nested past the ANSI functions' reach goes too.
void RemoveLongTree(const std::wstring& path)
{
    WIN32_FIND_DATAW data;
    HANDLE h = ::FindFirstFileW((path + L"\\*").c_str(), &data);
    for (BOOL more = h != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(h, &data)) {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::wstring child = path + L"\\" + name;
        ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            RemoveLongTree(child);
        else
            ::DeleteFileW(child.c_str());
    }
    if (h != INVALID_HANDLE_VALUE)
        ::FindClose(h);
    ::RemoveDirectoryW(path.c_str());
}
} // namespace

void RemoveTree(const std::string& path)
{
    RemoveLongTree(LongPath(path));
}

std::string UnixPath(const std::string& path)
{
    using Convert = char*(CDECL*)(const WCHAR*);
    const auto convert = reinterpret_cast<Convert>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (convert == nullptr)
        return {};
    char* unix = convert(LongPath(path).substr(4).c_str());
    if (unix == nullptr)
        return {};
    std::string result = unix;
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return result;
}

bool StartOnLinuxSide(const std::string& script)
{
    // One argument to the shell, its quotes escaped as the argument splitting wants them.
    std::string commandLine = "/bin/sh -c \"";
    for (const char c : script)
        commandLine += c == '"' ? std::string("\\\"") : std::string(1, c);
    commandLine += '"';
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    for (HANDLE h : {pi.hProcess, pi.hThread})
        if (h != nullptr)
            ::CloseHandle(h);
    return true;
}
