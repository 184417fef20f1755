#include "framework/MenuRightClick.h"
#include <iterator>
#include <utility>

namespace {
// A hook procedure is given no object: the listening one of this (the menus') thread.
CMenuRightClick* g_listening = nullptr;
constexpr wchar_t kMenuWindowClass[] = L"#32768";

// The open menu whose window is at the point, if it is one of this thread's.
HMENU MenuAt(POINT pt)
{
    HWND window = ::WindowFromPoint(pt);
    wchar_t name[16] = L"";
    if (window == nullptr || ::GetWindowThreadProcessId(window, nullptr) != ::GetCurrentThreadId() ||
        ::GetClassNameW(window, name, static_cast<int>(std::size(name))) == 0 || ::lstrcmpW(name, kMenuWindowClass) != 0)
        return nullptr;
    return reinterpret_cast<HMENU>(::SendMessageW(window, MN_GETHMENU, 0, 0));
}
} // namespace

CMenuRightClick::CMenuRightClick(Handler handler)
    : m_handler(std::move(handler)),
      m_hook(::SetWindowsHookExW(WH_MSGFILTER, FilterProc, nullptr, ::GetCurrentThreadId())),
      m_outer(std::exchange(g_listening, this))
{
}

CMenuRightClick::~CMenuRightClick()
{
    if (m_hook != nullptr)
        ::UnhookWindowsHookEx(m_hook);
    g_listening = m_outer;
}

LRESULT CALLBACK CMenuRightClick::FilterProc(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_MENU && msg->message == WM_RBUTTONUP && g_listening != nullptr && !g_listening->m_busy &&
        g_listening->OnRightButtonUp(*msg))
        return TRUE;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

bool CMenuRightClick::OnRightButtonUp(const MSG& msg)
{
    const POINT pt = msg.pt;
    HMENU menu = MenuAt(pt);
    const int position = menu != nullptr ? ::MenuItemFromPoint(nullptr, menu, pt) : -1;
    if (position < 0)
        return false;
    // The menu loop looks at a message before it takes it from the queue: a menu opened now
    // would find this button's release there first.
    MSG released{};
    ::PeekMessageW(&released, msg.hwnd, WM_RBUTTONUP, WM_RBUTTONUP, PM_REMOVE | PM_NOYIELD);
    m_busy = true;
    const bool taken = m_handler(menu, static_cast<UINT>(position), pt);
    m_busy = false;
    return taken;
}
