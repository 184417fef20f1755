// Brisquet.exe "C:\path\to\shortcut.lnk": opens the folder that holds the shortcut's target
// with the target selected. Exit code 0 when the folder opened; otherwise it says why in a
// message box and exits with 1.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <string>
#include "framework/ComPtr.h"
#include "framework/DllSearch.h"
#include "framework/Handles.h"
#include "tools/brisquet/resource.h"

namespace {
constexpr char kCaption[] = "Brisquet";

// Kept here rather than in Handles.h: it needs the shell's headers.
struct PidlTraits {
    using Handle = PIDLIST_ABSOLUTE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::ILFree(h); }
};

// What went wrong (0: nothing), and the path the message names (empty: none).
struct Failure {
    UINT message = 0;
    std::string path;
};

std::string Narrow(const wchar_t* text)
{
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string narrow(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), size, nullptr, nullptr);
    narrow.pop_back();
    return narrow;
}

std::string LoadText(UINT id)
{
    char text[512] = "";
    ::LoadStringA(::GetModuleHandleA(nullptr), id, text, sizeof text);
    return text;
}

// The target the shell-link object reads from the file; false when it is no readable shortcut.
// Resolve is never called: it would go looking for a moved target and might find another file.
bool ReadTarget(const wchar_t* shortcut, std::string& target)
{
    ComPtr<IShellLinkA> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.out())))
        return false;
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.out())) || FAILED(file->Load(shortcut, STGM_READ)))
        return false;
    // Twice the longest path, the last byte never written: a target cut short to fit is
    // still too long for the ANSI calls, so it cannot name some other file.
    char path[2 * MAX_PATH + 1] = "";
    WIN32_FIND_DATAA data{};
    if (FAILED(link->GetPath(path, 2 * MAX_PATH, &data, 0)))
        return false;
    target = path;
    return true;
}

// explorer.exe "/select," opens the folder but under Wine selects nothing; this call selects the target.
bool ShowInFolder(const std::string& target)
{
    UniqueHandle<PidlTraits> item(::ILCreateFromPathA(target.c_str()));
    return item && SUCCEEDED(::SHOpenFolderAndSelectItems(item.get(), 0, nullptr, 0));
}

Failure Run()
{
    // Split wide: the system made the wide command line from ours with CP_ACP, Load wants
    // the wide path, and no trail byte 0x5C can pass for a backslash there.
    int count = 0;
    UniqueLocalMemory arguments(::CommandLineToArgvW(::GetCommandLineW(), &count));
    if (!arguments || count != 2)
        return {IDS_USAGE, {}};
    const wchar_t* shortcut = static_cast<LPWSTR*>(arguments.get())[1];
    if (::GetFileAttributesW(shortcut) == INVALID_FILE_ATTRIBUTES)
        return {IDS_LINK_NOT_FOUND, Narrow(shortcut)};
    std::string target;
    if (!ReadTarget(shortcut, target))
        return {IDS_LINK_UNREADABLE, Narrow(shortcut)};
    if (target.empty())
        return {IDS_NO_TARGET, Narrow(shortcut)};
    if (target.size() >= MAX_PATH || ::GetFileAttributesA(target.c_str()) == INVALID_FILE_ATTRIBUTES)
        return {IDS_TARGET_NOT_FOUND, target};
    if (!ShowInFolder(target))
        return {IDS_OPEN_FAILED, target};
    return {};
}
} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    AfxLimitDllSearch();
    const HRESULT com = ::CoInitialize(nullptr);
    const Failure failure = Run();
    if (SUCCEEDED(com))
        ::CoUninitialize();
    if (failure.message == 0)
        return 0;
    std::string text = LoadText(failure.message);
    if (!failure.path.empty())
        text += "\n\n" + failure.path;
    ::MessageBoxA(nullptr, text.c_str(), kCaption, MB_OK | MB_ICONWARNING);
    return 1;
}
