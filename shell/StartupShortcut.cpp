#include "shell/StartupShortcut.h"
#include <objbase.h>
#include <shlobj.h>
#include <utility>
#include "framework/ComPtr.h"

namespace {
constexpr wchar_t kLinkName[] = L"Fernwick.lnk";

bool SamePath(const std::wstring& a, const std::wstring& b)
{
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

HRESULT LastError()
{
    return HRESULT_FROM_WIN32(::GetLastError());
}
} // namespace

std::wstring QuotedArgument(const std::wstring& path)
{
    size_t backslashes = 0;
    while (backslashes < path.size() && path[path.size() - 1 - backslashes] == L'\\')
        ++backslashes;
    return L'"' + path + std::wstring(backslashes, L'\\') + L'"';
}

CStartupShortcut::CStartupShortcut(std::wstring folder, std::wstring program)
    : m_folder(std::move(folder)), m_program(std::move(program))
{
}

CStartupShortcut CStartupShortcut::ForThisProgram()
{
    std::wstring folder;
    PWSTR known = nullptr;
    // Made when it is missing, as the shell makes it; a folder that cannot be made stays empty.
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Startup, KF_FLAG_CREATE, nullptr, &known)))
        folder = known;
    ::CoTaskMemFree(known);
    wchar_t program[MAX_PATH] = L"";
    const DWORD length = ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    return CStartupShortcut(std::move(folder), length < MAX_PATH ? program : L"");
}

std::wstring CStartupShortcut::LinkPath() const
{
    if (m_folder.empty())
        return {};
    return m_folder + (m_folder.back() == L'\\' ? L"" : L"\\") + kLinkName;
}

CStartupShortcut::State CStartupShortcut::Read(std::wstring* target) const
{
    const std::wstring path = LinkPath();
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return State::None;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return State::Unreadable;
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.out())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.out())) || FAILED(file->Load(path.c_str(), STGM_READ)))
        return State::Unreadable;
    wchar_t program[MAX_PATH] = L"";
    // The path as written: resolving it could search the disk for a moved target.
    if (FAILED(link->GetPath(program, MAX_PATH, nullptr, SLGP_RAWPATH)) || program[0] == L'\0')
        return State::Unreadable;
    if (!m_program.empty() && SamePath(program, m_program))
        return State::Ours;
    if (target != nullptr)
        *target = program;
    return State::Other;
}

HRESULT CStartupShortcut::Create(const std::wstring& root, const std::wstring& startFolder) const
{
    const std::wstring path = LinkPath();
    if (path.empty() || m_program.empty())
        return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    if (root.empty())
        return HRESULT_FROM_WIN32(ERROR_BAD_PATHNAME);
    if (::GetFileAttributesW(m_folder.c_str()) == INVALID_FILE_ATTRIBUTES)
        return LastError();
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    HRESULT hr = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.out());
    if (SUCCEEDED(hr))
        hr = link->SetPath(m_program.c_str());
    // "C:\Root" rather than "C:\Root\", which reads back the same but looks odd.
    std::wstring argument = root;
    if (argument.size() > 3 && argument.back() == L'\\')
        argument.pop_back();
    if (SUCCEEDED(hr))
        hr = link->SetArguments(QuotedArgument(argument).c_str());
    if (SUCCEEDED(hr))
        hr = link->SetWorkingDirectory(startFolder.c_str());
    // The program then starts hidden in the notification area, no window flashing.
    if (SUCCEEDED(hr))
        hr = link->SetShowCmd(SW_SHOWMINNOACTIVE);
    if (SUCCEEDED(hr))
        hr = link->QueryInterface(IID_IPersistFile, file.out());
    if (FAILED(hr))
        return hr;
    // A read-only file of that name is the user's to keep: the save then fails.
    return file->Save(path.c_str(), TRUE);
}

HRESULT CStartupShortcut::Remove() const
{
    const std::wstring path = LinkPath();
    if (path.empty() || ::DeleteFileW(path.c_str()))
        return S_OK;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(error);
}
