#include "shell/ExplorerMenu.h"
#include <shlobj.h>
#include <utility>
#include "framework/WinApp.h"
#include "shell/HiddenWindow.h"

namespace {
constexpr wchar_t kMenuOwnerClass[] = L"FernwickShellMenuOwner";

bool KeyDown(int key)
{
    return ::GetKeyState(key) < 0;
}
} // namespace

CExplorerMenu::CExplorerMenu(const std::wstring& path, HWND owner) : m_path(path), m_owner(owner) {}

UINT CExplorerMenu::Track(HMENU popup, POINT pt)
{
    const UINT chosen = Choose(popup, pt);
    RunChosen();
    return chosen < kFirstShellId || chosen > kLastShellId ? chosen : 0;
}

UINT CExplorerMenu::Choose(HMENU popup, POINT pt, UINT flags)
{
    // Shift held shows the extended verbs, as in the Explorer.
    const UINT query = CMF_NORMAL | (KeyDown(VK_SHIFT) ? CMF_EXTENDEDVERBS : 0);
    m_shell = std::make_unique<CShellMenuThread>(m_path, m_owner, query, kFirstShellId, kLastShellId);
    m_shell->MoveItemsTo(popup, kShellItemsWaitMs, (flags & TPM_RECURSE) != 0);
    if (::GetMenuItemCount(popup) <= 0)
        return 0;
    // The menu's own owner hears what the shell's items need (their submenus opening, their
    // drawing), which no other window of ours forwards.
    const CHiddenWindow window(kMenuOwnerClass, MenuOwnerProc, WS_POPUP, m_owner, this);
    const UINT chosen = AfxTrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_RETURNCMD | flags, pt,
                                          window.m_hWnd != nullptr ? window.m_hWnd : m_owner);
    if (chosen >= kFirstShellId && chosen <= kLastShellId) {
        m_chosen = chosen;
        m_chosenAt = pt;
    } else {
        m_shell.reset();
    }
    return chosen;
}

void CExplorerMenu::RunChosen()
{
    if (m_chosen == 0)
        return;
    const DWORD mask =
        (KeyDown(VK_CONTROL) ? CMIC_MASK_CONTROL_DOWN : 0) | (KeyDown(VK_SHIFT) ? CMIC_MASK_SHIFT_DOWN : 0);
    m_shell->Run(std::exchange(m_chosen, 0) - kFirstShellId, mask, m_chosenAt);
    m_shell.reset(); // the verb's thread goes on by itself
}

LRESULT CALLBACK CExplorerMenu::MenuOwnerProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    // The submenus the shell fills as they open ("Send to", "Open with") and the items it draws.
    case WM_INITMENUPOPUP:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_MENUCHAR:
        if (auto* menu = reinterpret_cast<CExplorerMenu*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
            menu != nullptr && menu->m_shell) {
            LRESULT result = 0;
            if (menu->m_shell->ForwardMenuMessage(message, wParam, lParam, &result))
                return result;
        }
        break;
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}
