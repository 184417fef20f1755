// The shell's small icons for files and folders, as indexes in the system image list,
// asked for as late and as cheaply as the same answer allows.
#pragma once
#include <optional>
#include <string>
#include <unordered_map>
#include <windows.h>
#include <commctrl.h>
#include "tree/ShellPath.h"

class CShellIcons {
public:
    struct Images {
        int normal = 0;
        int open = 0; // the icon of the selected item: differs for folders only
    };

    // The entry's icons; false when the shell gives none for it.
    bool Lookup(const ShellPath& path, bool isFolder, Images& images);
    // The shell's generic icons for any file or folder.
    Images Generic(bool isFolder);
    // The system image list whose icons come nearest the small icon of a scale; an index
    // means the same icon in every one of them.
    static HIMAGELIST ImageListForDpi(UINT nDpi);

private:
    // Whether the shell draws each file of this type its own icon (programs, icons,
    // shortcuts, types with an icon handler or a per-file default icon).
    bool VariesPerFile(const std::string& upperExtension);

    std::unordered_map<std::string, int> m_byType; // upper-case extension -> icon
    std::unordered_map<std::string, bool> m_variesPerFile;
    std::optional<Images> m_plainFolder; // the icons of a folder without an icon of its own
};
