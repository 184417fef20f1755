// Fills a demo root folder: folders, files, real shortcuts made through the shell-link
// object, internet shortcuts, Japanese names (some whose last byte is 0x5C) and a hidden
// entry. Usage: make_demo ROOT
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <cstdio>
#include <string>

namespace {
int g_failures = 0;

void Report(bool ok, const std::string& what)
{
    if (!ok) {
        std::fprintf(stderr, "make_demo: cannot create %s (error %lu)\n", what.c_str(), ::GetLastError());
        ++g_failures;
    }
}

void MakeFolder(const std::string& path)
{
    Report(::CreateDirectoryA(path.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS, path);
}

void MakeFile(const std::string& path, const std::string& content)
{
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    Report(h != INVALID_HANDLE_VALUE, path);
    if (h == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    ::WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    ::CloseHandle(h);
}

void InternetShortcut(const std::string& path, const char* url)
{
    MakeFile(path, std::string("[InternetShortcut]\r\nURL=") + url + "\r\n");
}

template <class T>
struct ComPtr {
    T* p = nullptr;
    ~ComPtr()
    {
        if (p != nullptr)
            p->Release();
    }
};

void Shortcut(const std::string& path, const char* target, const char* workingDirectory, int showCmd)
{
    ComPtr<IShellLinkA> link;
    ComPtr<IPersistFile> file;
    wchar_t widePath[MAX_PATH];
    bool ok = SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                           reinterpret_cast<void**>(&link.p))) &&
              SUCCEEDED(link.p->SetPath(target)) && SUCCEEDED(link.p->SetWorkingDirectory(workingDirectory)) &&
              SUCCEEDED(link.p->SetShowCmd(showCmd)) &&
              SUCCEEDED(link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p))) &&
              ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH) > 0 &&
              SUCCEEDED(file.p->Save(widePath, TRUE));
    Report(ok, path);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_demo ROOT\n");
        return 2;
    }
    if (FAILED(::CoInitialize(nullptr)))
        return 1;
    const std::string root = argv[1];
    const char notepad[] = "C:\\windows\\notepad.exe";
    const char winver[] = "C:\\windows\\system32\\winver.exe";

    const std::string games = root + "\\Games";
    const std::string japaneseGames = root + "\\\x83\x51\x81\x5B\x83\x80";  // ゲーム
    const std::string tools = root + "\\\x83\x63\x81\x5B\x83\x8B";           // ツール
    const std::string software = tools + "\\\x83\x5C\x83\x74\x83\x67";       // ソフト
    const std::string function = root + "\\\x8B\x40\x94\x5C";                // 機能: its last byte is 0x5C
    for (const std::string& folder : {games, games + "\\Arcade", japaneseGames, tools, software, function,
                                      root + "\\Documents", root + "\\Empty", root + "\\Notes", root + "\\Tools.lnk"})
        MakeFolder(folder);

    MakeFile(root + "\\b.txt", "b\r\n");
    MakeFile(root + "\\A.txt", "A\r\n");
    MakeFile(root + "\\readme.TXT", "Fernwick demo\r\n");
    MakeFile(root + "\\Documents\\\x83\x81\x83\x82.txt", "memo\r\n");                    // メモ.txt
    MakeFile(root + "\\Documents\\Tom & Jerry.txt", "&\r\n");
    MakeFile(function + "\\\x90\x7D\x95\x5C.txt", "table\r\n");                             // 図表.txt
    MakeFile(games + "\\Arcade\\scores.txt", "100\r\n");
    MakeFile(root + "\\Documents\\secret.txt", "hidden\r\n");
    Report(::SetFileAttributesA((root + "\\Documents\\secret.txt").c_str(), FILE_ATTRIBUTE_HIDDEN), "hidden file");

    Shortcut(root + "\\Notepad.lnk", notepad, "C:\\windows\\temp", SW_SHOWNORMAL);
    Shortcut(root + "\\\x83\x81\x83\x82\x92\xA0.lnk", notepad, "C:\\windows", SW_SHOWMAXIMIZED); // メモ帳.lnk
    Shortcut(root + "\\Readme.LNK", notepad, "", SW_SHOWNORMAL);
    Shortcut(root + "\\x.url.lnk", winver, "", SW_SHOWMINNOACTIVE);
    Shortcut(root + "\\Notes.lnk", notepad, "", SW_SHOWNORMAL);
    Shortcut(games + "\\Arcade\\Winver.lnk", winver, "C:\\windows", SW_SHOWNORMAL);
    Shortcut(software + "\\\x83\x5C\x83\x74\x83\x67.lnk", notepad, "", SW_SHOWNORMAL);      // ソフト.lnk
    InternetShortcut(root + "\\Site.url", "http://localhost/");
    InternetShortcut(japaneseGames + "\\\x83\x54\x83\x43\x83\x67.url", "http://localhost/"); // サイト.url

    ::CoUninitialize();
    return g_failures == 0 ? 0 : 1;
}
