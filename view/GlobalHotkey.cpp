#include "view/GlobalHotkey.h"

namespace {
// The only hotkey of the program; the system's ids for applications run to 0xBFFF.
constexpr int kHotkeyId = 1;
static_assert(kHotkeyAlt == MOD_ALT && kHotkeyCtrl == MOD_CONTROL && kHotkeyShift == MOD_SHIFT &&
              kHotkeyWin == MOD_WIN);
} // namespace

bool CGlobalHotkey::Register(HWND hWnd, const HotkeyText& hotkey)
{
    Unregister();
    // A key held down would otherwise open the find window again at every repeat.
    if (!::RegisterHotKey(hWnd, kHotkeyId, hotkey.modifiers | MOD_NOREPEAT, hotkey.key))
        return false;
    m_hWnd = hWnd;
    return true;
}

void CGlobalHotkey::Unregister()
{
    if (m_hWnd != nullptr)
        ::UnregisterHotKey(m_hWnd, kHotkeyId);
    m_hWnd = nullptr;
}
