#include "shell/ExplorerMenu.h"
#include <shellapi.h>
#include <utility>
#include "framework/WinApp.h"
#include "shell/ShellItem.h"
#include "shell/ShellVerb.h"

namespace {
constexpr wchar_t kMenuOwnerClass[] = L"FernwickShellMenuOwner";

// The hidden window that owns the menu while it is open: it hears what the shell's items
// need (their submenus opening, their drawing), which no other window of ours forwards.
class CMenuOwnerWindow {
public:
    CMenuOwnerWindow(HWND owner, void* menu, WNDPROC proc)
    {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kMenuOwnerClass;
        ::RegisterClassExW(&wc); // fails harmlessly once registered
        m_hWnd = ::CreateWindowExW(0, kMenuOwnerClass, L"", WS_POPUP, 0, 0, 0, 0, owner, nullptr, wc.hInstance, menu);
    }
    ~CMenuOwnerWindow()
    {
        if (m_hWnd != nullptr)
            ::DestroyWindow(m_hWnd);
    }
    CMenuOwnerWindow(const CMenuOwnerWindow&) = delete;
    CMenuOwnerWindow& operator=(const CMenuOwnerWindow&) = delete;

    HWND m_hWnd = nullptr;
};

bool KeyDown(int key)
{
    return ::GetKeyState(key) < 0;
}
} // namespace

CExplorerMenu::CExplorerMenu(const std::wstring& path, HWND owner) : m_path(path), m_owner(owner)
{
    const CShellItem item(path);
    if (FAILED(item.GetUIObject(owner, IID_IContextMenu, m_menu.out())) || m_menu.get() == nullptr)
        return;
    m_menu->QueryInterface(IID_IContextMenu3, m_menu3.out());
    m_menu->QueryInterface(IID_IContextMenu2, m_menu2.out());
}

UINT CExplorerMenu::Track(HMENU popup, POINT pt)
{
    const UINT chosen = Choose(popup, pt);
    RunChosen();
    return chosen < kFirstShellId || chosen > kLastShellId ? chosen : 0;
}

UINT CExplorerMenu::Choose(HMENU popup, POINT pt, UINT flags)
{
    if (m_menu.get() != nullptr) {
        const int count = ::GetMenuItemCount(popup);
        if (count > 0)
            ::AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
        // Shift held shows the extended verbs, as in the Explorer.
        m_query = CMF_NORMAL | (KeyDown(VK_SHIFT) ? CMF_EXTENDEDVERBS : 0);
        const HRESULT hr =
            m_menu->QueryContextMenu(popup, ::GetMenuItemCount(popup), kFirstShellId, kLastShellId, m_query);
        if ((FAILED(hr) || HRESULT_CODE(hr) == 0) && count > 0)
            ::RemoveMenu(popup, static_cast<UINT>(count), MF_BYPOSITION);
    }
    if (::GetMenuItemCount(popup) <= 0)
        return 0;
    const CMenuOwnerWindow window(m_owner, this, MenuOwnerProc);
    const UINT chosen = AfxTrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_RETURNCMD | flags, pt,
                                          window.m_hWnd != nullptr ? window.m_hWnd : m_owner);
    if (chosen >= kFirstShellId && chosen <= kLastShellId && m_menu.get() != nullptr) {
        m_chosen = chosen;
        m_chosenAt = pt;
    }
    return chosen;
}

void CExplorerMenu::RunChosen()
{
    if (m_chosen == 0)
        return;
    ShellVerb verb;
    verb.path = m_path;
    verb.offset = std::exchange(m_chosen, 0) - kFirstShellId;
    // By its name where it has one: the thread's own menu is asked again, and a name cannot
    // land on another item should the shell number that menu otherwise.
    wchar_t name[64] = L"";
    if (SUCCEEDED(m_menu->GetCommandString(verb.offset, GCS_VERBW, nullptr, reinterpret_cast<char*>(name), 64)))
        verb.name = name;
    verb.query = m_query;
    verb.mask = (KeyDown(VK_CONTROL) ? CMIC_MASK_CONTROL_DOWN : 0) | (KeyDown(VK_SHIFT) ? CMIC_MASK_SHIFT_DOWN : 0);
    verb.owner = m_owner;
    verb.at = m_chosenAt;
    RunShellVerb(std::move(verb));
}

bool CExplorerMenu::ForwardMenuMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (m_menu3.get() != nullptr)
        return SUCCEEDED(m_menu3->HandleMenuMsg2(message, wParam, lParam, result));
    if (m_menu2.get() != nullptr && message != WM_MENUCHAR) {
        *result = message == WM_INITMENUPOPUP ? 0 : TRUE;
        return SUCCEEDED(m_menu2->HandleMenuMsg(message, wParam, lParam));
    }
    return false;
}

LRESULT CALLBACK CExplorerMenu::MenuOwnerProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    switch (message) {
    case WM_INITMENUPOPUP:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_MENUCHAR:
        if (auto* menu = reinterpret_cast<CExplorerMenu*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA))) {
            LRESULT result = 0;
            if (menu->ForwardMenuMessage(message, wParam, lParam, &result))
                return result;
        }
        break;
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}
