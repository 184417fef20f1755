// One file's or folder's shell menu, asked for and run on a thread of its own: the shell and
// its extensions may take as long as they like to fill the menu, to draw or fill its
// submenus, or to run a verb (an archiver packing, a scanner scanning), and the program's
// windows keep answering meanwhile. An extension that faults ends that thread, not the
// program. The thread lives on while a verb left it something to keep: a window of the
// shell's, or what it put on the clipboard.
#pragma once
#include <windows.h>
#include <memory>
#include <string>
#include "framework/Handles.h"

class CShellMenuThread {
public:
    // Starts asking the shell for path's menu, its items numbered from firstId to lastId,
    // with the CMF_ flags query. owner: the window the shell's dialogs belong to.
    CShellMenuThread(const std::wstring& path, HWND owner, UINT query, UINT firstId, UINT lastId);
    // A menu closed without a verb lets its thread go.
    ~CShellMenuThread();
    CShellMenuThread(const CShellMenuThread&) = delete;
    CShellMenuThread& operator=(const CShellMenuThread&) = delete;

    // Waits for the shell's items as long as timeoutMs, answering this thread's messages
    // meanwhile but leaving its input queued for the menu, then moves them to the end of
    // popup, after a separator where popup has items of its own. None come when the item is
    // gone or the shell slow or faulting. inMenuLoop: called inside another menu's loop.
    void MoveItemsTo(HMENU popup, DWORD timeoutMs, bool inMenuLoop);
    // While the menu shows: a message the shell's items need (a submenu opening, an item
    // drawn), answered on their own thread. False when the shell did not take it.
    bool ForwardMenuMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // The shell's item at offset chosen: its verb runs on the thread.
    void Run(UINT offset, DWORD mask, POINT at);

    // The program ends: each thread puts what it still offers on the clipboard for good and
    // ends; waits for them as long as timeoutMs. A verb still running is left to the end.
    static void EndAll(DWORD timeoutMs);

    struct Job;

private:
    void Decide();

    std::shared_ptr<Job> m_job;
    UniqueKernelHandle m_thread;
    bool m_ready = false;   // the thread's items came, and with them its window
    bool m_decided = false; // the thread was told to run a verb or to end
};
