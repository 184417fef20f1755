// CMenu: a menu handle and the calls of the same name. It owns nothing (see UniqueMenu).
#pragma once
#include "framework/Afx.h"

class CMenu {
public:
    HMENU m_hMenu = nullptr;

    CMenu() = default;
    explicit CMenu(HMENU hMenu) : m_hMenu(hMenu) {}

    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
};
