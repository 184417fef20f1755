#include "shell/ShellVerb.h"
#include <shlobj.h>
#include <atomic>
#include <memory>
#include "framework/ComPtr.h"
#include "framework/ComScope.h"
#include "framework/Handles.h"
#include "framework/ShellCalls.h"
#include "shell/ExplorerMenu.h"
#include "shell/ShellItem.h"

namespace {
// Set while the program ends: every verb's thread lets go of what it still offers.
HANDLE EndEvent()
{
    static const UniqueKernelHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    return event.get();
}
std::atomic<int> g_running{0};

void Invoke(const ShellVerb& verb)
{
    const CShellItem item(verb.path);
    ComPtr<IContextMenu> menu;
    if (FAILED(item.GetUIObject(verb.owner, IID_IContextMenu, menu.out())) || menu.get() == nullptr)
        return; // gone since its menu was shown: nothing to run
    // The shell numbers its verbs only for a menu it has filled.
    const UniqueMenu scratch(::CreatePopupMenu());
    if (FAILED(menu->QueryContextMenu(scratch.get(), 0, CExplorerMenu::kFirstShellId, CExplorerMenu::kLastShellId,
                                      verb.query)))
        return;
    const std::string ansiName(verb.name.begin(), verb.name.end()); // verbs are ASCII
    CMINVOKECOMMANDINFOEX info{};
    info.cbSize = sizeof info;
    info.fMask = CMIC_MASK_UNICODE | CMIC_MASK_PTINVOKE | verb.mask;
    info.hwnd = verb.owner;
    info.lpVerb = verb.name.empty() ? MAKEINTRESOURCEA(verb.offset) : ansiName.c_str();
    info.lpVerbW = verb.name.empty() ? MAKEINTRESOURCEW(verb.offset) : verb.name.c_str();
    info.nShow = SW_SHOWNORMAL;
    info.ptInvoke = verb.at;
    // A verb that fails says so in the shell's own words, or not at all: as in the Explorer.
    g_shellCalls.InvokeCommand(menu.get(), reinterpret_cast<CMINVOKECOMMANDINFO*>(&info));
}

// What the verb left to this thread: a window of the shell's (a property sheet), or what it
// put on the clipboard, which this thread's OLE offers until another copy replaces it.
bool HoldsSomething()
{
    bool found = false;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            *reinterpret_cast<bool*>(lParam) = ::IsWindowVisible(hWnd) != FALSE;
            return !*reinterpret_cast<bool*>(lParam);
        },
        reinterpret_cast<LPARAM>(&found));
    const HWND clipboard = ::GetClipboardOwner();
    return found || (clipboard != nullptr && ::GetWindowThreadProcessId(clipboard, nullptr) == ::GetCurrentThreadId());
}

DWORD WINAPI VerbThread(void* parameter)
{
    const std::unique_ptr<ShellVerb> verb(static_cast<ShellVerb*>(parameter));
    {
        const CComScope ole{CComScope::Kind::Ole}; // the clipboard and the shell's dialogs need it
        Invoke(*verb);
        // Looked at again each second: a replaced clipboard tells this thread by a sent message.
        constexpr DWORD kLookAgainMs = 1000;
        const HANDLE end = EndEvent();
        while (HoldsSomething() &&
               ::MsgWaitForMultipleObjects(1, &end, FALSE, kLookAgainMs, QS_ALLINPUT) != WAIT_OBJECT_0) {
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        // What is still on the clipboard outlives the thread, rendered now.
        ::OleFlushClipboard();
    }
    --g_running;
    return 0;
}
} // namespace

void RunShellVerb(ShellVerb verb)
{
    auto* job = new ShellVerb(std::move(verb));
    ++g_running;
    if (const UniqueKernelHandle thread(::CreateThread(nullptr, 0, VerbThread, job, 0, nullptr)); thread)
        return;
    const std::unique_ptr<ShellVerb> here(job);
    Invoke(*here);
    --g_running;
}

void EndShellVerbs(DWORD timeoutMs)
{
    ::SetEvent(EndEvent());
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (g_running > 0 && ::GetTickCount64() < end)
        ::Sleep(10);
    ::ResetEvent(EndEvent());
}
