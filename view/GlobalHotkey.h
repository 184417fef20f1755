// A system-wide hotkey that posts WM_HOTKEY to one window, held from Register until Unregister
// or destruction.
#pragma once
#include <windows.h>
#include "frame/HotkeyText.h"

class CGlobalHotkey {
public:
    CGlobalHotkey() = default;
    ~CGlobalHotkey() { Unregister(); }
    CGlobalHotkey(const CGlobalHotkey&) = delete;
    CGlobalHotkey& operator=(const CGlobalHotkey&) = delete;

    // False when the combination is another program's (or this one's already).
    bool Register(HWND hWnd, const HotkeyText& hotkey);
    void Unregister();

private:
    HWND m_hWnd = nullptr; // while registered
};
