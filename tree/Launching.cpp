#include "tree/Launching.h"
#include <objbase.h>
#include <shlobj.h>
#include "framework/ComPtr.h"
#include "framework/ComScope.h"
#include "framework/Handles.h"
#include "framework/Path.h"
#include "framework/ShellCalls.h"
#include "mbcs/Mbcs.h"

namespace {

// The wide shell-link interface's start information, for a shortcut the code page cannot name.
void ShortcutStartInfoW(const std::wstring& path, std::wstring& directory, int& showCmd)
{
    CComScope com; // for the length of one shortcut read
    ComPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.out())))
        return;
    {
        ComPtr<IPersistFile> file;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.out())))
            file->Load(path.c_str(), STGM_READ);
    }
    wchar_t folder[MAX_PATH] = L"";
    if (SUCCEEDED(link->GetWorkingDirectory(folder, MAX_PATH)))
        directory = folder;
    int read = showCmd;
    if (SUCCEEDED(link->GetShowCmd(&read)))
        showCmd = read;
}
} // namespace

void GetShortcutStartInfo(const std::string& path, StartInfo& info)
{
    CComScope com; // for the length of one shortcut read
    ComPtr<IShellLinkA> link;
    // The ids from the headers' own declarations, not the import library's table of all of them.
    if (FAILED(::CoCreateInstance(__uuidof(ShellLink), nullptr, CLSCTX_INPROC_SERVER, __uuidof(IShellLinkA),
                                  link.out())))
        return;
    {
        ComPtr<IPersistFile> file;
        if (SUCCEEDED(link->QueryInterface(__uuidof(IPersistFile), file.out())))
            file->Load(FromCodePage(path).c_str(), STGM_READ);
    }
    char directory[MAX_PATH] = "";
    if (SUCCEEDED(link->GetWorkingDirectory(directory, MAX_PATH)))
        info.workingDirectory = directory;
    int showCmd = info.showCmd;
    if (SUCCEEDED(link->GetShowCmd(&showCmd)))
        info.showCmd = showCmd;
}

bool RunCommandLine(const ShellPath& commandLine)
{
    if (!commandLine.IsWide()) {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        std::string writable = commandLine.ansi; // CreateProcessA may write into it
        if (!g_shellCalls.CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                                         &pi))
            return false;
        // Nothing of the process is kept.
        UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
        return true;
    }
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring writable = commandLine.wide; // CreateProcessW may write into it
    if (!g_shellCalls.CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
    return true;
}

void OpenWithShell(HWND owner, const ShellPath& path, bool isShortcut)
{
    if (!path.IsWide()) {
        StartInfo info;
        if (isShortcut)
            GetShortcutStartInfo(path.ansi, info);
        else
            info.workingDirectory = AfxGetCurrentDirectory();
        g_shellCalls.ShellExecuteA(owner, nullptr, path.ansi.c_str(), nullptr, info.workingDirectory.c_str(),
                                   info.showCmd);
        return;
    }
    std::wstring directory;
    int showCmd = SW_SHOW;
    if (isShortcut) {
        ShortcutStartInfoW(path.wide, directory, showCmd);
    } else {
        wchar_t current[MAX_PATH] = L"";
        if (::GetCurrentDirectoryW(MAX_PATH, current) < MAX_PATH)
            directory = current;
    }
    g_shellCalls.ShellExecuteW(owner, nullptr, path.wide.c_str(), nullptr, directory.c_str(), showCmd);
}

void OpenFolder(const ShellPath& folder)
{
    if (folder.IsWide())
        g_shellCalls.ShellExecuteW(nullptr, L"open", folder.wide.c_str(), nullptr, L"", SW_SHOW);
    else
        g_shellCalls.ShellExecuteA(nullptr, "open", folder.ansi.c_str(), nullptr, "", SW_SHOW);
}
