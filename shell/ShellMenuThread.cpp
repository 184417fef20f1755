#include "shell/ShellMenuThread.h"
#include <shlobj.h>
#include <atomic>
#include "framework/ComPtr.h"
#include "framework/ComScope.h"
#include "framework/ShellCalls.h"
#include "shell/HiddenWindow.h"
#include "shell/ShellItem.h"

struct CShellMenuThread::Job {
    std::wstring path;
    HWND owner = nullptr;
    UINT query = 0;
    UINT firstId = 0;
    UINT lastId = 0;
    UniqueKernelHandle ready{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    UniqueKernelHandle decided{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    // Set by the thread before ready, then the program's to use.
    HMENU items = nullptr;  // the shell's items, null for none
    HWND window = nullptr;  // answers the forwarded menu messages
    // Set by the program before decided.
    bool run = false;
    UINT offset = 0;
    DWORD mask = 0;
    POINT at{};
};

namespace {
constexpr wchar_t kItemsWindowClass[] = L"FernwickShellMenuItems";
constexpr UINT kForwardMessage = WM_APP + 1;
// A submenu the shell fills, or an item it draws, that takes longer is shown without it.
constexpr DWORD kForwardMs = 2000;

struct Forwarded {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result = 0;
    bool handled = false;
};

// Set while the program ends: every thread lets go of what it still offers.
HANDLE EndEvent()
{
    static const UniqueKernelHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    return event.get();
}
std::atomic<int> g_running{0};

// An extension that faults, or lets its exception escape, on a menu's thread ends that
// thread only: what it held is lost, and the program goes on as if the shell had no menu.
DWORD GuardSlot()
{
    static const DWORD slot = ::TlsAlloc();
    return slot;
}
LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = nullptr;

LONG WINAPI EndFaultingMenuThread(EXCEPTION_POINTERS* exception)
{
    if (::TlsGetValue(GuardSlot()) != nullptr) {
        --g_running;
        ::ExitThread(exception->ExceptionRecord->ExceptionCode);
    }
    return g_previousFilter != nullptr ? g_previousFilter(exception) : EXCEPTION_CONTINUE_SEARCH;
}

void GuardMenuThreads()
{
    static const bool installed = [] {
        g_previousFilter = ::SetUnhandledExceptionFilter(EndFaultingMenuThread);
        return true;
    }();
    (void)installed;
}

// The shell's menu objects, the newest interface each.
struct ShellMenu {
    ComPtr<IContextMenu> menu;
    ComPtr<IContextMenu2> menu2;
    ComPtr<IContextMenu3> menu3;

    bool Handle(Forwarded& f) const
    {
        if (menu3.get() != nullptr)
            return SUCCEEDED(menu3->HandleMenuMsg2(f.message, f.wParam, f.lParam, &f.result));
        if (menu2.get() == nullptr || f.message == WM_MENUCHAR)
            return false;
        f.result = f.message == WM_INITMENUPOPUP ? 0 : TRUE;
        return SUCCEEDED(menu2->HandleMenuMsg(f.message, f.wParam, f.lParam));
    }
};

LRESULT CALLBACK ItemsWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kForwardMessage) {
        auto& forwarded = *reinterpret_cast<Forwarded*>(lParam);
        forwarded.handled = reinterpret_cast<const ShellMenu*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA))->Handle(forwarded);
        return 0;
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

void DispatchAll()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Renaming happens in the Explorer's own view, which the menu is not asked from (no
// CMF_CANRENAME), so Windows leaves the item out; this Wine offers it anyway, and it then
// does nothing at all.
void RemoveRename(const ShellMenu& shell, HMENU items, UINT firstId)
{
    for (int i = ::GetMenuItemCount(items) - 1; i >= 0; --i) {
        const UINT id = ::GetMenuItemID(items, i);
        wchar_t verb[16] = L"";
        if (id != static_cast<UINT>(-1) && id >= firstId &&
            SUCCEEDED(shell.menu->GetCommandString(id - firstId, GCS_VERBW, nullptr, reinterpret_cast<char*>(verb),
                                                   16)) &&
            ::lstrcmpiW(verb, L"rename") == 0)
            ::DeleteMenu(items, static_cast<UINT>(i), MF_BYPOSITION);
    }
}

void Invoke(const ShellMenu& shell, const CShellMenuThread::Job& job)
{
    CMINVOKECOMMANDINFOEX info{};
    info.cbSize = sizeof info;
    info.fMask = CMIC_MASK_UNICODE | CMIC_MASK_PTINVOKE | job.mask;
    info.hwnd = job.owner;
    info.lpVerb = MAKEINTRESOURCEA(job.offset);
    info.lpVerbW = MAKEINTRESOURCEW(job.offset);
    info.nShow = SW_SHOWNORMAL;
    info.ptInvoke = job.at;
    // A verb that fails says so in the shell's own words, or not at all: as in the Explorer.
    g_shellCalls.InvokeCommand(shell.menu.get(), reinterpret_cast<CMINVOKECOMMANDINFO*>(&info));
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

void Serve(CShellMenuThread::Job& job)
{
    const CComScope ole{CComScope::Kind::Ole}; // the clipboard and the shell's dialogs need it
    ShellMenu shell;
    const UniqueMenu items(::CreatePopupMenu());
    const CShellItem item(job.path);
    if (items && SUCCEEDED(item.GetUIObject(job.owner, IID_IContextMenu, shell.menu.out())) &&
        shell.menu.get() != nullptr) {
        shell.menu->QueryInterface(IID_IContextMenu3, shell.menu3.out());
        shell.menu->QueryInterface(IID_IContextMenu2, shell.menu2.out());
        const HRESULT hr =
            g_shellCalls.QueryContextMenu(shell.menu.get(), items.get(), 0, job.firstId, job.lastId, job.query);
        if (SUCCEEDED(hr))
            RemoveRename(shell, items.get(), job.firstId);
        if (SUCCEEDED(hr) && ::GetMenuItemCount(items.get()) > 0)
            job.items = items.get();
    }
    const CHiddenWindow window(kItemsWindowClass, ItemsWindowProc, 0, HWND_MESSAGE, &shell);
    job.window = window.m_hWnd;
    ::SetEvent(job.ready.get());

    // Until the menu closes, the program sends this thread its items' messages.
    const HANDLE told[] = {job.decided.get(), EndEvent()};
    while (::MsgWaitForMultipleObjects(2, told, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 2)
        DispatchAll();
    if (!job.run || job.items == nullptr || ::WaitForSingleObject(EndEvent(), 0) == WAIT_OBJECT_0)
        return;
    Invoke(shell, job);
    // Looked at again each second: a replaced clipboard tells this thread by a sent message.
    constexpr DWORD kLookAgainMs = 1000;
    const HANDLE end = EndEvent();
    while (HoldsSomething() && ::MsgWaitForMultipleObjects(1, &end, FALSE, kLookAgainMs, QS_ALLINPUT) != WAIT_OBJECT_0)
        DispatchAll();
    // What is still on the clipboard outlives the thread, rendered now.
    ::OleFlushClipboard();
}

DWORD WINAPI MenuThread(void* parameter)
{
    const auto job = std::move(*static_cast<std::shared_ptr<CShellMenuThread::Job>*>(parameter));
    delete static_cast<std::shared_ptr<CShellMenuThread::Job>*>(parameter);
    ::TlsSetValue(GuardSlot(), job.get());
    Serve(*job);
    ::TlsSetValue(GuardSlot(), nullptr);
    --g_running;
    return 0;
}

// The shell's items, their submenus and drawing data with them, go over to popup.
void MoveItems(HMENU from, HMENU to)
{
    for (int i = 0; i < ::GetMenuItemCount(from); ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING | MIIM_DATA | MIIM_BITMAP |
                     MIIM_CHECKMARKS;
        if (!::GetMenuItemInfoW(from, static_cast<UINT>(i), TRUE, &info))
            continue;
        std::wstring text(++info.cch, L'\0'); // with room for the end
        info.dwTypeData = text.data();
        if (::GetMenuItemInfoW(from, static_cast<UINT>(i), TRUE, &info))
            ::InsertMenuItemW(to, static_cast<UINT>(::GetMenuItemCount(to)), TRUE, &info);
    }
    // Taken out, not destroyed: the submenus are popup's now.
    while (::GetMenuItemCount(from) > 0 && ::RemoveMenu(from, 0, MF_BYPOSITION)) {
    }
}
} // namespace

CShellMenuThread::CShellMenuThread(const std::wstring& path, HWND owner, UINT query, UINT firstId, UINT lastId)
    : m_job(std::make_shared<Job>())
{
    m_job->path = path;
    m_job->owner = owner;
    m_job->query = query;
    m_job->firstId = firstId;
    m_job->lastId = lastId;
    if (!m_job->ready || !m_job->decided)
        return;
    GuardMenuThreads();
    auto* handed = new std::shared_ptr<Job>(m_job);
    ++g_running;
    m_thread.reset(::CreateThread(nullptr, 0, MenuThread, handed, 0, nullptr));
    if (!m_thread) {
        --g_running;
        delete handed;
    }
}

CShellMenuThread::~CShellMenuThread()
{
    Decide();
}

void CShellMenuThread::Decide()
{
    if (std::exchange(m_decided, true) || !m_thread)
        return;
    ::SetEvent(m_job->decided.get());
}

void CShellMenuThread::MoveItemsTo(HMENU popup, DWORD timeoutMs, bool inMenuLoop)
{
    if (!m_thread)
        return;
    // Like a menu's own loop: the window paints and hears its timers and other threads, the
    // folders' watches report, and a click waits for the menu it was meant for. Inside
    // another menu's loop, what is posted stays for that loop.
    const DWORD answered =
        QS_SENDMESSAGE | (inMenuLoop ? 0 : QS_POSTMESSAGE | QS_TIMER | QS_PAINT | QS_HOTKEY);
    const HANDLE waited[] = {m_job->ready.get(), m_thread.get()};
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;) {
        const ULONGLONG now = ::GetTickCount64();
        const DWORD left = now < end ? static_cast<DWORD>(end - now) : 0;
        const DWORD woken = ::MsgWaitForMultipleObjectsEx(2, waited, left, answered, MWMO_ALERTABLE);
        if (woken == WAIT_OBJECT_0)
            break;
        if (woken == WAIT_IO_COMPLETION)
            continue;
        if (woken != WAIT_OBJECT_0 + 2)
            return; // gone or late: the menu shows without it
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | (answered << 16))) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            ::DispatchMessageW(&msg);
        }
    }
    m_ready = true;
    if (m_job->items == nullptr)
        return;
    if (::GetMenuItemCount(popup) > 0)
        ::AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    MoveItems(m_job->items, popup);
}

bool CShellMenuThread::ForwardMenuMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (!m_ready || m_decided || m_job->window == nullptr)
        return false;
    Forwarded forwarded{message, wParam, lParam};
    DWORD_PTR ignored = 0;
    if (!::SendMessageTimeoutW(m_job->window, kForwardMessage, 0, reinterpret_cast<LPARAM>(&forwarded), SMTO_NORMAL,
                               kForwardMs, &ignored))
        return false;
    *result = forwarded.result;
    return forwarded.handled;
}

void CShellMenuThread::Run(UINT offset, DWORD mask, POINT at)
{
    if (m_decided || !m_ready)
        return;
    m_job->run = true;
    m_job->offset = offset;
    m_job->mask = mask;
    m_job->at = at;
    Decide();
}

void CShellMenuThread::EndAll(DWORD timeoutMs)
{
    ::SetEvent(EndEvent());
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (g_running > 0 && ::GetTickCount64() < end)
        ::Sleep(10);
    ::ResetEvent(EndEvent());
}
