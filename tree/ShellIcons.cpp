#include "tree/ShellIcons.h"
#include <windows.h>
#include <shellapi.h>
#include <commoncontrols.h>
#include <cstdlib>
#include "framework/ComPtr.h"
#include "framework/Dpi.h"
#include "framework/Handles.h"
#include "framework/Registry.h"
#include "mbcs/Mbcs.h"

namespace {
// Queries by path parse the path and look at the file: under Wine 14 ms and more. Queries
// by type look at nothing but the name: 16 us.
bool QueryIcon(const std::string& name, DWORD attributes, UINT flags, int& index)
{
    SHFILEINFOA info{};
    if (::SHGetFileInfoA(name.c_str(), attributes, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | flags) ==
        0)
        return false;
    index = info.iIcon;
    return true;
}

// A query by the path itself; a path code page 932 cannot spell goes to the wide call.
bool QueryIconByPath(const ShellPath& path, UINT flags, int& index)
{
    if (!path.IsWide())
        return QueryIcon(path.ansi, 0, flags, index);
    SHFILEINFOW info{};
    if (::SHGetFileInfoW(path.wide.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | flags) == 0)
        return false;
    index = info.iIcon;
    return true;
}

// The default value of a key under HKEY_CLASSES_ROOT, or empty.
std::string ClassValue(const std::string& subKey)
{
    std::string value;
    AfxRegQueryDefaultText(HKEY_CLASSES_ROOT, subKey.c_str(), value);
    return value;
}

int IconWidth(HIMAGELIST list)
{
    int cx = 0;
    int cy = 0;
    return list != nullptr && ::ImageList_GetIconSize(list, &cx, &cy) ? cx : 0;
}

bool ClassKeyExists(const std::string& subKey)
{
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, subKey.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return false;
    UniqueRegKey key(opened);
    return true;
}
} // namespace

bool CShellIcons::Lookup(const ShellPath& path, bool isFolder, Images& images)
{
    if (!isFolder) {
        std::string type = SplitPath(path.ansi).ext;
        MakeUpper(type);
        // A type the code page cannot spell is asked for by path.
        if (type.find('?') == std::string::npos && !VariesPerFile(type)) {
            auto it = m_byType.find(type);
            if (it == m_byType.end()) {
                int index = 0;
                if (!QueryIcon("file" + type, FILE_ATTRIBUTE_NORMAL, SHGFI_USEFILEATTRIBUTES, index))
                    return false;
                it = m_byType.emplace(type, index).first;
            }
            images = {it->second, it->second};
            return true;
        }
    }
    // Only a read-only or system folder can carry an icon of its own (desktop.ini): every
    // other folder looks like the first of them the shell was asked about.
    const DWORD attributes = !isFolder        ? INVALID_FILE_ATTRIBUTES
                             : path.IsWide() ? ::GetFileAttributesW(path.wide.c_str())
                                             : ::GetFileAttributesA(path.ansi.c_str());
    const bool plainFolder = attributes != INVALID_FILE_ATTRIBUTES &&
                             (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM)) == 0;
    if (plainFolder && m_plainFolder) {
        images = *m_plainFolder;
        return true;
    }
    // The shell is asked with a trailing backslash, files too. A plain folder looks like
    // any folder; only its open icon, which this Wine does not give by type, needs its path.
    const ShellPath query = Append(path, "\\");
    const bool byType = plainFolder && QueryIcon("folder", FILE_ATTRIBUTE_DIRECTORY, SHGFI_USEFILEATTRIBUTES, images.normal);
    if (!byType && !QueryIconByPath(query, 0, images.normal))
        return false;
    images.open = images.normal;
    if (isFolder && !QueryIconByPath(query, SHGFI_OPENICON, images.open))
        return false;
    if (plainFolder)
        m_plainFolder = images;
    return true;
}

CShellIcons::Images CShellIcons::Generic(bool isFolder)
{
    const DWORD attributes = isFolder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    Images images;
    QueryIcon("file", attributes, SHGFI_USEFILEATTRIBUTES, images.normal);
    images.open = images.normal;
    if (isFolder)
        QueryIcon("file", attributes, SHGFI_USEFILEATTRIBUTES | SHGFI_OPENICON, images.open);
    return images;
}

HIMAGELIST CShellIcons::ImageListForDpi(UINT nDpi)
{
    // The small list is the one of the system's DPI; the others are as large and larger.
    SHFILEINFOA info{};
    auto nearest = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    const int wanted = AfxGetSystemMetricsForDpi(SM_CXSMICON, nDpi);
    int distance = std::abs(IconWidth(nearest) - wanted);
    for (int kind : {SHIL_LARGE, SHIL_EXTRALARGE}) {
        if (nearest == nullptr || distance == 0)
            break;
        ComPtr<IImageList> list;
        if (FAILED(::SHGetImageList(kind, __uuidof(IImageList), list.out())))
            continue;
        // The lists live as long as the process; this reference only asked for one.
        const auto handle = reinterpret_cast<HIMAGELIST>(list.get());
        if (std::abs(IconWidth(handle) - wanted) < distance) {
            nearest = handle;
            distance = std::abs(IconWidth(handle) - wanted);
        }
    }
    return nearest;
}

bool CShellIcons::VariesPerFile(const std::string& upperExtension)
{
    if (upperExtension.empty())
        return false;
    auto known = m_variesPerFile.find(upperExtension);
    if (known != m_variesPerFile.end())
        return known->second;
    bool varies = false;
    for (const char* perFile : {".EXE", ".LNK", ".ICO", ".URL", ".CUR", ".ANI", ".PIF", ".SCF"})
        varies = varies || upperExtension == perFile;
    if (!varies) {
        // The registry tells the rest: an icon handler, or a default icon taken from the file ("%1").
        const std::string type = ClassValue(upperExtension);
        varies = ClassKeyExists(upperExtension + "\\shellex\\IconHandler") ||
                 ClassKeyExists("SystemFileAssociations\\" + upperExtension + "\\shellex\\IconHandler") ||
                 (!type.empty() && (ClassKeyExists(type + "\\shellex\\IconHandler") ||
                                    ClassValue(type + "\\DefaultIcon").find("%1") != std::string::npos));
    }
    m_variesPerFile.emplace(upperExtension, varies);
    return varies;
}
