#include "tree/ShellPath.h"
#include <windows.h>
#include "tree/PathHelpers.h"

namespace {
constexpr UINT kCodePage = 932;
}

bool ToCodePage(const std::wstring& wide, std::string& ansi)
{
    const int length = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int size = ::WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), length, nullptr, 0, nullptr,
                                           &usedDefault);
    ansi.assign(static_cast<size_t>(size > 0 ? size : 0), '\0');
    ::WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), length, ansi.data(), size, nullptr,
                          &usedDefault);
    return !usedDefault && (size > 0 || wide.empty());
}

std::wstring FromCodePage(const std::string& ansi)
{
    const int length = static_cast<int>(ansi.size());
    const int size = ::MultiByteToWideChar(kCodePage, 0, ansi.data(), length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    ::MultiByteToWideChar(kCodePage, 0, ansi.data(), length, wide.data(), size);
    return wide;
}

std::wstring ShellPath::Wide() const
{
    return IsWide() ? wide : FromCodePage(ansi);
}

ShellPath PathFromAnsi(const std::string& ansi)
{
    return {ansi, {}};
}

ShellPath PathFromWide(const std::wstring& wide)
{
    ShellPath path;
    if (!ToCodePage(wide, path.ansi))
        path.wide = wide;
    return path;
}

ShellPath JoinPath(const ShellPath& folder, const std::string& name, const std::wstring& wideName)
{
    const std::string separator = EndsWithBackslash(folder.ansi.c_str()) ? "" : "\\";
    if (!folder.IsWide() && wideName.empty())
        return {folder.ansi + separator + name, {}};
    return {folder.ansi + separator + name, folder.Wide() + FromCodePage(separator) + (wideName.empty() ? FromCodePage(name) : wideName)};
}

ShellPath Append(const ShellPath& path, const std::string& more)
{
    return {path.ansi + more, path.IsWide() ? path.wide + FromCodePage(more) : std::wstring()};
}
