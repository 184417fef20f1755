// A verb of the shell's menu for one file or folder, run on a thread of its own: the shell and
// its extensions may take as long as they like (an archiver packing, a scanner scanning), and
// the program's windows keep answering meanwhile. The thread asks the shell for the item's
// menu again, runs the verb by its name (by its place where it has none), and lives on while
// the verb left it something to keep: a window of the shell's, or what it put on the clipboard.
#pragma once
#include <windows.h>
#include <string>

struct ShellVerb {
    std::wstring path;  // the file or folder by its real name
    std::wstring name;  // the verb's own name ("copy", "delete"); empty: by offset
    UINT offset = 0;    // its place in the shell's items
    UINT query = 0;     // the CMF_ flags the menu was asked with
    DWORD mask = 0;     // CMIC_MASK_ flags beyond the Unicode and point ones
    HWND owner = nullptr; // the window the verb's dialogs belong to
    POINT at{};
};

// Starts the verb's thread; where none can start, the verb runs on this one.
void RunShellVerb(ShellVerb verb);
// The program ends: each verb's thread puts what it still offers on the clipboard for good
// and ends; waits for them as long as timeoutMs. A verb still running is left to the end.
void EndShellVerbs(DWORD timeoutMs);
