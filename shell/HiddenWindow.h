// A window nobody sees, of a class of its own, that hears what the shell's menus send: the
// menu's owner on the window's thread, the shell's items on theirs. Gone with the object.
#pragma once
#include <windows.h>

class CHiddenWindow {
public:
    // parent: the owner, or HWND_MESSAGE; param: kept as the window's GWLP_USERDATA.
    CHiddenWindow(const wchar_t* className, WNDPROC proc, DWORD style, HWND parent, void* param)
    {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = className;
        ::RegisterClassExW(&wc); // fails harmlessly once registered
        m_hWnd = ::CreateWindowExW(0, className, L"", style, 0, 0, 0, 0, parent, nullptr, wc.hInstance, nullptr);
        if (m_hWnd != nullptr)
            ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(param));
    }
    ~CHiddenWindow()
    {
        if (m_hWnd != nullptr)
            ::DestroyWindow(m_hWnd);
    }
    CHiddenWindow(const CHiddenWindow&) = delete;
    CHiddenWindow& operator=(const CHiddenWindow&) = delete;

    HWND m_hWnd = nullptr;
};
