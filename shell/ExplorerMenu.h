// The Explorer's own menu for one file or folder (open, cut, copy, delete, properties, send
// to...), shown below the program's own items. The shell fills it and runs the verb chosen on
// a thread of its own (shell/ShellMenuThread.h); a program's item chosen is handed back.
#pragma once
#include <windows.h>
#include <memory>
#include <string>
#include "shell/ShellMenuThread.h"

class CExplorerMenu {
public:
    // The shell's items take ids from this range, where the program has none of its own.
    static constexpr UINT kFirstShellId = 0x1000;
    static constexpr UINT kLastShellId = 0x6FFF;

    // The shell's items that take longer to come than this are left out of the menu.
    static constexpr DWORD kShellItemsWaitMs = 3000;

    // path: the file or folder by its real name. owner: the window the shell's dialogs
    // (properties, delete confirmation) belong to.
    CExplorerMenu(const std::wstring& path, HWND owner);
    ~CExplorerMenu() = default;
    CExplorerMenu(const CExplorerMenu&) = delete;
    CExplorerMenu& operator=(const CExplorerMenu&) = delete;

    // Appends a separator and the shell's items to popup, which holds the program's own,
    // shows it at pt (screen coordinates) and runs a shell verb chosen. Returns the id of a
    // program's item chosen, else 0. Without the shell's menu (a file gone, an extension
    // slow or faulting), only the program's items show, and with none nothing shows.
    UINT Track(HMENU popup, POINT pt);
    // The same menu, with more TrackPopupMenu flags (TPM_RECURSE inside another menu); a
    // shell verb chosen waits for RunChosen, so that it runs once the other menu is gone.
    // The id chosen, of the program's or the shell's; 0 for none.
    UINT Choose(HMENU popup, POINT pt, UINT flags = 0);
    // Starts the shell verb chosen on the menu's own thread and returns.
    void RunChosen();

private:
    static LRESULT CALLBACK MenuOwnerProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    std::wstring m_path;
    HWND m_owner;
    std::unique_ptr<CShellMenuThread> m_shell;
    UINT m_chosen = 0; // a shell verb's id not yet run
    POINT m_chosenAt{};
};
