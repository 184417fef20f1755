// Opening files through the shell, shortcuts with their own start folder and show command.
#pragma once
#include <windows.h>
#include <string>

// How a launched program starts: where, and in which window state.
struct StartInfo {
    std::string workingDirectory; // empty: the shell decides
    int showCmd = SW_SHOW;
};

// Fills what the shortcut file says; a shortcut that cannot be read leaves what an
// unloaded link reports, and a link object that cannot be created leaves info as it was.
void GetShortcutStartInfo(const std::string& path, StartInfo& info);
// Starts a command line as a process of its own; true when it was created.
bool RunCommandLine(const std::string& commandLine);
// The file's default action: a shortcut starts as it says, anything else in the launcher's
// current directory.
void OpenWithShell(HWND owner, const std::string& path, bool isShortcut);
// The command line that hands a shortcut (path without ".lnk") to Brisquet.exe, by its
// full path when it stands beside the program.
std::string LinkTargetCommandLine(const std::string& stem);
