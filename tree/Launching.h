// Opening files through the shell, shortcuts with their own start folder and show command.
#pragma once
#include <windows.h>
#include <string>
#include "tree/ShellPath.h"

// How a launched program starts: where, and in which window state.
struct StartInfo {
    std::string workingDirectory; // empty: the shell decides
    int showCmd = SW_SHOW;
};

// Fills what the shortcut file says; a shortcut that cannot be read leaves what an
// unloaded link reports, and a link object that cannot be created leaves info as it was.
void GetShortcutStartInfo(const std::string& path, StartInfo& info);
// Starts a command line as a process of its own; true when it was created. A command line
// with a name code page 932 cannot spell goes to the wide call.
bool RunCommandLine(const ShellPath& commandLine);
// The file's default action: a shortcut starts as it says, anything else in the launcher's
// current directory. A path code page 932 cannot spell goes to the wide calls, the shortcut
// read through the wide shell-link interface.
void OpenWithShell(HWND owner, const ShellPath& path, bool isShortcut);
// Opens a folder in the shell's own window for it.
void OpenFolder(const ShellPath& folder);
