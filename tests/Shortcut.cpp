#include "Shortcut.h"
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include "framework/ComPtr.h"

namespace {
class Com {
public:
    Com() { ::CoInitialize(nullptr); }
    ~Com() { ::CoUninitialize(); }
};

std::wstring Wide(const std::string& text)
{
    wchar_t wide[MAX_PATH * 2] = {};
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, MAX_PATH * 2);
    return wide;
}
} // namespace

bool MakeShortcut(const std::string& path, const std::string& target, const std::string& workingDirectory)
{
    Com com;
    ComPtr<IShellLinkA> link;
    ComPtr<IPersistFile> file;
    return SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.out())) &&
           SUCCEEDED(link->SetPath(target.c_str())) &&
           SUCCEEDED(link->SetWorkingDirectory(workingDirectory.c_str())) &&
           SUCCEEDED(link->SetShowCmd(SW_SHOWMAXIMIZED)) &&
           SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.out())) &&
           SUCCEEDED(file->Save(Wide(path).c_str(), TRUE));
}

int ShortcutShowCmd(const std::string& path)
{
    Com com;
    ComPtr<IShellLinkA> link;
    ComPtr<IPersistFile> file;
    int showCmd = -1;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.out())) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.out())) &&
        SUCCEEDED(file->Load(Wide(path).c_str(), STGM_READ)))
        link->GetShowCmd(&showCmd);
    return showCmd;
}
