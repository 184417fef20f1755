#include "IconCases.h"
#include <windows.h>
#include "ChildProcess.h"
#include "framework/Path.h"

bool MakeIconCases(const TempFolder& folder, const std::string& dir)
{
    if (!MakeDemo(folder.Path() + "\\" + dir))
        return false;
    const std::string root = dir + "\\Root\\";
    for (const char* name : {"a.txt", "b.TXT", "c.ico", "d.exe", "e.dll", "f.bat", "g.html", "noext", "h.\x83\x5C",
                             "i.url", "j.lnk", "k.cur", "l.ani", "Folder\\Sub\\x"})
        folder.MakeFile(root + "Mixed\\" + name, "MZ");
    // Folders that may carry an icon of their own.
    for (DWORD attribute : {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_SYSTEM}) {
        const std::string own = folder.MakeFolder(root + "Own" + std::to_string(attribute));
        folder.MakeFile(root + "Own" + std::to_string(attribute) + "\\desktop.ini",
                        "[.ShellClassInfo]\r\nIconResource=C:\\windows\\system32\\shell32.dll,3\r\n");
        ::SetFileAttributesA(own.c_str(), attribute);
    }
    // A program with an icon of its own: its icon is its own, not its type's.
    return ::CopyFileA(AfxGetModuleFileName().c_str(), (folder.Path() + "\\" + root + "Mixed\\own.exe").c_str(), FALSE);
}
