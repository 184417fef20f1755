// A change of scale as Windows brings it: WM_DPICHANGED with the rectangle the window should
// take. Wine gives every monitor the system's DPI and never changes it.
#pragma once
#include <windows.h>

inline void ChangeScale(HWND hWnd, UINT dpi, RECT suggested)
{
    ::SendMessageA(hWnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

inline LONG FontHeight(HWND hWnd)
{
    LOGFONTA font{};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(hWnd, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight;
}

inline RECT WindowRect(HWND hWnd)
{
    RECT rect{};
    ::GetWindowRect(hWnd, &rect);
    return rect;
}

inline bool SameRect(RECT a, RECT b)
{
    return ::EqualRect(&a, &b) != FALSE;
}
