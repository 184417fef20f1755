#include "framework/Wnd.h"
#include <utility>
#include "framework/WinApp.h"

std::unordered_map<HWND, CWnd*> CWnd::s_permanent;
std::unordered_map<HWND, std::unique_ptr<CWnd>> CWnd::s_temporary;

namespace {
const char kWndClass[] = "AfxWnd";
}

CWnd::~CWnd()
{
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this)
        ::DestroyWindow(m_hWnd);
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    if (CWnd* permanent = FromHandlePermanent(hWnd))
        return permanent;
    auto& temporary = s_temporary[hWnd];
    if (!temporary) {
        temporary = std::make_unique<CWnd>();
        temporary->m_hWnd = hWnd;
    }
    return temporary.get();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    auto it = s_permanent.find(hWnd);
    return it == s_permanent.end() ? nullptr : it->second;
}

void CWnd::DeleteTempMap()
{
    // A temporary wrapper never owns its window.
    for (auto& entry : s_temporary)
        entry.second->m_hWnd = nullptr;
    s_temporary.clear();
}

void CWnd::RegisterWindowClass(const char* name, HICON hIcon, int backgroundColor)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (::GetClassInfoExA(AfxGetInstanceHandle(), name, &wc))
        return;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = AfxWndProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hIcon = hIcon;
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(backgroundColor + 1));
    wc.lpszClassName = name;
    ::RegisterClassExA(&wc);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.lpszClass == nullptr) {
        RegisterWindowClass(kWndClass, nullptr, COLOR_WINDOW);
        cs.lpszClass = kWndClass;
    }
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, const char* className, const char* windowName, DWORD dwStyle,
                    const RECT& rect, HWND hWndParent, HMENU hMenuOrId, void* lpParam)
{
    CREATESTRUCTA cs{};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.hwndParent = hWndParent;
    cs.hMenu = hMenuOrId;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }

    // A window of the framework's classes binds itself at WM_NCCREATE from the creation data;
    // from then on a failed creation has already run WM_NCDESTROY and PostNcDestroy.
    CreationData data{this, cs.lpCreateParams, false};
    HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style),
                                  cs.x, cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, &data);
    if (hWnd == nullptr) {
        if (!data.bound)
            PostNcDestroy();
        return FALSE;
    }
    // A window of another class (a common control) is subclassed once it exists.
    if (!data.bound)
        SubclassWindow(hWnd);
    return TRUE;
}

BOOL CWnd::Create(const char* className, const char* windowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    return CreateEx(0, className, windowName, dwStyle | WS_CHILD, rect, pParentWnd ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), pContext);
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd != nullptr && ::DestroyWindow(m_hWnd);
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (FromHandlePermanent(hWnd) != nullptr)
        return FromHandlePermanent(hWnd) == this;
    Attach(hWnd);
    PreSubclassWindow();
    // The window procedure itself, not SetWindowSubclass: that one looks its data up in a
    // window property at every message, which this Wine asks its server for, each time.
    // A window keeps the character set its messages come in.
    m_bSuperUnicode = ::IsWindowUnicode(hWnd) != FALSE;
    const auto proc = m_bSuperUnicode ? reinterpret_cast<LONG_PTR>(SubclassProcW) : reinterpret_cast<LONG_PTR>(AfxWndProc);
    m_pfnSuper = reinterpret_cast<WNDPROC>(m_bSuperUnicode ? ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, proc)
                                                            : ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, proc));
    if (m_pfnSuper == nullptr) {
        s_permanent.erase(hWnd);
        m_hWnd = nullptr;
        return FALSE;
    }
    return TRUE;
}

void* CWnd::CreationParam(LPARAM lParam)
{
    return static_cast<CreationData*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams)->param;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
        CWnd* wnd = FromHandlePermanent(hWnd);
        if (wnd != nullptr && wnd->PreTranslateMessage(pMsg))
            return TRUE;
        // Above a top-level window GetParent names its owner, a window of its own.
        if ((::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD) == 0)
            break;
    }
    return FALSE;
}

HWND CWnd::GetSafeOwner()
{
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->m_pMainWnd != nullptr ? ::GetLastActivePopup(app->m_pMainWnd->m_hWnd) : nullptr;
}

void CWnd::Attach(HWND hWnd)
{
    m_hWnd = hWnd;
    s_permanent[hWnd] = this;
    s_temporary.erase(hWnd);
}

std::string CWnd::GetWindowText() const
{
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(m_hWnd)) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(m_hWnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

void CWnd::SetWindowText(const char* text) const
{
    if (GetWindowText() != text)
        ::SetWindowTextA(m_hWnd, text);
}

namespace {
BOOL ModifyWindowLong(HWND hWnd, int index, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    auto style = static_cast<DWORD>(::GetWindowLongPtrA(hWnd, index));
    DWORD newStyle = (style & ~dwRemove) | dwAdd;
    if (style == newStyle)
        return FALSE;
    ::SetWindowLongPtrA(hWnd, index, static_cast<LONG_PTR>(newStyle));
    if (nFlags != 0)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}
} // namespace

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) const
{
    return ModifyWindowLong(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) const
{
    return ModifyWindowLong(m_hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* wp) const
{
    wp->length = sizeof(WINDOWPLACEMENT);
    return ::GetWindowPlacement(m_hWnd, wp);
}

BOOL CWnd::SetWindowPlacement(WINDOWPLACEMENT* wp) const
{
    wp->length = sizeof(WINDOWPLACEMENT);
    return ::SetWindowPlacement(m_hWnd, wp);
}

void CWnd::SendMessageToDescendants(UINT msg, WPARAM wParam, LPARAM lParam) const
{
    struct Message {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
    } message{msg, wParam, lParam};
    // EnumChildWindows visits children, grandchildren and so on.
    ::EnumChildWindows(
        m_hWnd,
        [](HWND hWnd, LPARAM data) -> BOOL {
            auto* m = reinterpret_cast<Message*>(data);
            ::SendMessageA(hWnd, m->msg, m->wParam, m->lParam);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&message));
}

LRESULT CWnd::Default()
{
    if (m_pfnSuper != nullptr)
        return m_bSuperUnicode ? ::CallWindowProcW(m_pfnSuper, m_hWnd, m_current.message, m_current.wParam, m_current.lParam)
                               : ::CallWindowProcA(m_pfnSuper, m_hWnd, m_current.message, m_current.wParam, m_current.lParam);
    return ::DefWindowProcA(m_hWnd, m_current.message, m_current.wParam, m_current.lParam);
}

BOOL CWnd::ReflectToChild(HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (hWndChild == m_hWnd)
        return FALSE;
    CWnd* child = FromHandlePermanent(hWndChild);
    return child != nullptr && child->OnReflect(message, wParam, lParam, pResult);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    switch (message) {
    case WM_COMMAND:
        if (lParam != 0 && ReflectToChild(reinterpret_cast<HWND>(lParam), message, wParam, lParam, &result))
            return 0;
        if (OnCommand(wParam, lParam))
            return 0;
        break;
    case WM_NOTIFY:
        if (ReflectToChild(reinterpret_cast<NMHDR*>(lParam)->hwndFrom, message, wParam, lParam, &result))
            return result;
        if (OnNotify(wParam, lParam, &result))
            return result;
        break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        if (ReflectToChild(reinterpret_cast<HWND>(lParam), message, wParam, lParam, &result))
            return result;
        break;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_NCDESTROY:
        if (CWinApp* app = AfxGetApp(); app != nullptr && app->m_pMainWnd == this) {
            app->m_pMainWnd = nullptr;
            ::PostQuitMessage(0);
        }
        break;
    }
    return Default();
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    int nCode = HIWORD(wParam);
    if (lParam == 0) {
        // A menu item or accelerator: its update handler may have disabled it meanwhile.
        if (nID == 0)
            return FALSE;
        CCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state, nullptr);
        if (!state.m_bEnabled)
            return TRUE;
        nCode = CN_COMMAND;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM, LRESULT*)
{
    return FALSE;
}

void CWnd::OnInitMenuPopup(HMENU, UINT, BOOL)
{
}

BOOL CWnd::OnReflect(UINT, WPARAM, LPARAM, LRESULT*)
{
    return FALSE;
}

LRESULT CALLBACK CWnd::AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* data = static_cast<CreationData*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        data->bound = true;
        data->wnd->Attach(hWnd);
    }
    CWnd* wnd = FromHandlePermanent(hWnd);
    // Messages before WM_NCCREATE (WM_GETMINMAXINFO) find no object yet.
    return wnd != nullptr ? Dispatch(wnd, hWnd, message, wParam, lParam) : ::DefWindowProcA(hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CWnd::SubclassProcW(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = FromHandlePermanent(hWnd);
    return wnd != nullptr ? Dispatch(wnd, hWnd, message, wParam, lParam) : ::DefWindowProcW(hWnd, message, wParam, lParam);
}

LRESULT CWnd::Dispatch(CWnd* wnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CurrentMessage outer = wnd->m_current;
    wnd->m_current = {message, wParam, lParam};
    // The system's menu loops (menu bar, system menu, pop-up menus) hold back what would
    // change the windows under the menu, as the program's own modal loops do.
    if (message == WM_ENTERMENULOOP)
        wnd->m_menuLoop.emplace();
    else if (message == WM_EXITMENULOOP)
        wnd->m_menuLoop.reset();
    const LRESULT result = AfxCallGuarded([&] { return wnd->WindowProc(message, wParam, lParam); });
    if (message == WM_NCDESTROY) {
        if (wnd->m_pfnSuper != nullptr) {
            if (wnd->m_bSuperUnicode)
                ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(wnd->m_pfnSuper));
            else
                ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(wnd->m_pfnSuper));
        }
        wnd->m_pfnSuper = nullptr;
        wnd->m_menuLoop.reset(); // a window destroyed under its menu gets no WM_EXITMENULOOP
        s_permanent.erase(hWnd);
        wnd->m_hWnd = nullptr;
        wnd->PostNcDestroy();
    } else if (FromHandlePermanent(hWnd) == wnd) {
        // Only while still bound: a handler may have destroyed and deleted the object.
        wnd->m_current = outer;
    }
    return result;
}
