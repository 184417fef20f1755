// Makes DIR\Root, a small launcher menu: folders, text files, shortcuts saved by the
// shell-link object, internet shortcuts, Japanese names (some ending in a character whose
// second byte is 0x5C) and hidden entries. Usage: make_demo DIR (run with code page 932)
#include <windows.h>
#include <shlobj.h>
#include <cstdio>
#include <stdexcept>
#include <string>
#include "framework/ComPtr.h"

namespace {
[[noreturn]] void Fail(const std::string& what, const char* kind, unsigned long code)
{
    char detail[48];
    std::snprintf(detail, sizeof detail, " (%s 0x%08lX)", kind, code);
    throw std::runtime_error("cannot " + what + detail);
}

void Check(bool ok, const std::string& what)
{
    if (!ok)
        Fail(what, "error", ::GetLastError());
}

void CheckHr(HRESULT hr, const std::string& what)
{
    if (FAILED(hr))
        Fail(what, "HRESULT", static_cast<unsigned long>(hr));
}

class File {
public:
    explicit File(const std::string& path)
        : handle_(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr))
    {
        Check(handle_ != INVALID_HANDLE_VALUE, "create " + path);
    }
    ~File() { ::CloseHandle(handle_); }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

class ComApartment {
public:
    ComApartment() { CheckHr(::CoInitialize(nullptr), "initialise COM"); }
    ~ComApartment() { ::CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

struct Link {
    const char* target;
    std::string arguments;
    std::string workingDirectory;
    int showCmd;
    const char* description;
};

void MakeFolder(const std::string& path)
{
    Check(::CreateDirectoryA(path.c_str(), nullptr) != FALSE, "create folder " + path);
}

void MakeFile(const std::string& path, const std::string& content)
{
    File file(path);
    DWORD written = 0;
    Check(::WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
              written == content.size(),
          "write " + path);
}

void Hide(const std::string& path)
{
    Check(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN) &&
              (::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN) != 0,
          "hide " + path);
}

std::wstring Wide(const std::string& text)
{
    const int size = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.c_str(), -1, nullptr, 0);
    Check(size > 0, "convert " + text);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.c_str(), -1, wide.data(), size);
    wide.pop_back();
    return wide;
}

void MakeShortcut(const std::string& path, const Link& link)
{
    {
        ComPtr<IShellLinkA> shell;
        ComPtr<IPersistFile> file;
        CheckHr(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, shell.out()),
                "create a shell link for " + path);
        CheckHr(shell->SetPath(link.target), "set the target of " + path);
        CheckHr(shell->SetArguments(link.arguments.c_str()), "set the arguments of " + path);
        CheckHr(shell->SetWorkingDirectory(link.workingDirectory.c_str()), "set the folder of " + path);
        CheckHr(shell->SetShowCmd(link.showCmd), "set the show command of " + path);
        CheckHr(shell->SetDescription(link.description), "set the description of " + path);
        CheckHr(shell->QueryInterface(IID_IPersistFile, file.out()), "get IPersistFile for " + path);
        CheckHr(file->Save(Wide(path).c_str(), TRUE), "save " + path);
    }
    // Read it back: a shortcut that does not load is worse than none in a demo.
    ComPtr<IShellLinkA> shell;
    ComPtr<IPersistFile> file;
    CheckHr(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, shell.out()),
            "create a shell link for " + path);
    CheckHr(shell->QueryInterface(IID_IPersistFile, file.out()), "get IPersistFile for " + path);
    CheckHr(file->Load(Wide(path).c_str(), STGM_READ), "load " + path);
    char target[MAX_PATH] = {};
    char folder[MAX_PATH] = {};
    CheckHr(shell->GetPath(target, MAX_PATH, nullptr, 0), "read the target of " + path);
    CheckHr(shell->GetWorkingDirectory(folder, MAX_PATH), "read the folder of " + path);
    if (::lstrcmpiA(target, link.target) != 0 || ::lstrcmpiA(folder, link.workingDirectory.c_str()) != 0)
        throw std::runtime_error("read back " + path + ": it holds " + target + " in " + folder);
}

void MakeInternetShortcut(const std::string& path, const char* url)
{
    MakeFile(path, std::string("[InternetShortcut]\r\nURL=") + url + "\r\n");
}

// A trailing separator is dropped only when it is one: in "..\x94\x5C" the 0x5C is half a character.
std::string WithoutTrailingSeparator(std::string path)
{
    const char* last = ::CharPrevA(path.c_str(), path.c_str() + path.size());
    if (last == path.c_str() + path.size() - 1 && *last == '\\')
        path.pop_back();
    return path;
}

void MakeDemo(const std::string& root)
{
    const char notepad[] = "C:\\windows\\notepad.exe";
    const char winver[] = "C:\\windows\\system32\\winver.exe";
    const std::string games = root + "\\Games";
    const std::string tools = root + "\\Tools";
    const std::string arcade = games + "\\Arcade";
    const std::string documents = root + "\\Documents";
    const std::string japaneseGames = root + "\\\x83\x51\x81\x5B\x83\x80";      // ゲーム
    const std::string japaneseTools = root + "\\\x83\x63\x81\x5B\x83\x8B";      // ツール
    const std::string software = japaneseTools + "\\\x83\x5C\x83\x74\x83\x67";  // ソフト
    const std::string features = root + "\\\x8B\x40\x94\x5C";                   // 機能
    const std::string spreadsheet = documents + "\\\x95\x5C\x8C\x76\x8E\x5A";  // 表計算

    MakeFolder(root);
    for (const std::string& folder : {games, arcade, games + "\\Old", tools, documents, japaneseGames,
                                      japaneseTools, software, features, spreadsheet, root + "\\Empty",
                                      root + "\\Notes", root + "\\Tools.lnk"})
        MakeFolder(folder);

    MakeFile(root + "\\b.txt", "b\r\n");
    MakeFile(root + "\\A.txt", "A\r\n");
    MakeFile(root + "\\readme.TXT", "Fernwick demo menu.\r\n");
    MakeFile(documents + "\\\x83\x81\x83\x82.txt", "\x8D\xA1\x93\xFA\x82\xCC\x97\x5C\x92\xE8\r\n");  // メモ.txt
    MakeFile(documents + "\\Tom & Jerry.txt", "Ampersands in names.\r\n");
    MakeFile(documents + "\\secret.txt", "Hidden.\r\n");
    MakeFile(features + "\\\x90\x7D\x95\x5C.txt", "1,2,3\r\n");  // 図表.txt
    MakeFile(spreadsheet + "\\budget.txt", "rent,100\r\n");
    MakeFile(arcade + "\\scores.txt", "AAA 1000\r\n");
    MakeFile(games + "\\Old\\save.txt", "level 1\r\n");
    MakeFile(root + "\\Notes\\todo.txt", "Nothing.\r\n");
    Hide(documents + "\\secret.txt");
    Hide(games + "\\Old");

    const std::string readme = "\"" + root + "\\readme.TXT\"";
    MakeShortcut(root + "\\Notepad.lnk", {notepad, "", "C:\\windows\\temp", SW_SHOWNORMAL, "Text editor"});
    MakeShortcut(root + "\\\x83\x81\x83\x82\x92\xA0.lnk",  // メモ帳.lnk
                 {notepad, "", root, SW_SHOWMAXIMIZED, "\x83\x81\x83\x82\x92\xA0"});
    MakeShortcut(root + "\\Readme.LNK", {notepad, readme, root, SW_SHOWNORMAL, "Read me"});
    MakeShortcut(root + "\\x.url.lnk", {winver, "", "", SW_SHOWMINNOACTIVE, "Not an internet shortcut"});
    MakeShortcut(root + "\\Notes.lnk", {notepad, "", root + "\\Notes", SW_SHOWNORMAL, "Notes"});
    MakeShortcut(tools + "\\Registry Editor.lnk", {"C:\\windows\\regedit.exe", "", "", SW_SHOWNORMAL, "Registry"});
    MakeShortcut(arcade + "\\Winver.lnk", {winver, "", "C:\\windows", SW_SHOWNORMAL, "About Windows"});
    MakeShortcut(software + "\\\x83\x5C\x83\x74\x83\x67.lnk", {notepad, "", software, SW_SHOWNORMAL, ""});  // ソフト.lnk
    MakeInternetShortcut(root + "\\Site.url", "https://example.com/");
    MakeInternetShortcut(japaneseGames + "\\\x83\x54\x83\x43\x83\x67.url", "https://example.com/");  // サイト.url
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_demo DIR (makes DIR\\Root)\n");
        return 2;
    }
    try {
        const ComApartment com;
        MakeDemo(WithoutTrailingSeparator(argv[1]) + "\\Root");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_demo: %s\n", e.what());
        return 1;
    }
    return 0;
}
