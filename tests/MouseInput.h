// The real mouse, moved and pressed as a user does, from a thread other than the one whose
// windows (or menu loop, or drag loop) take the input.
#pragma once
#include <windows.h>

// One mouse event; with MOUSEEVENTF_ABSOLUTE, at that screen point. A move is sent again
// until the pointer is there: this Wine now and then drops one while the foreground changes.
inline void MouseInput(DWORD flags, POINT at = {})
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        input.mi.dx = (at.x * 65535 + (::GetSystemMetrics(SM_CXSCREEN) - 1) / 2) / (::GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = (at.y * 65535 + (::GetSystemMetrics(SM_CYSCREEN) - 1) / 2) / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    for (int tries = 0; tries < 10; ++tries) {
        ::SendInput(1, &input, sizeof input);
        POINT cursor{};
        if (!(flags & MOUSEEVENTF_ABSOLUTE) || (::GetCursorPos(&cursor) && cursor.x == at.x && cursor.y == at.y))
            return;
        ::Sleep(200);
    }
}

// To the point, then a click of one button at a user's pace.
inline void ClickAt(POINT at, DWORD down, DWORD up)
{
    for (DWORD flags : {DWORD(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE), down, up}) {
        MouseInput(flags, at);
        ::Sleep(150);
    }
}

inline POINT Center(const RECT& rect)
{
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}
