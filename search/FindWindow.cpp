#include "search/FindWindow.h"
#include <algorithm>
#include "framework/Dpi.h"

namespace {
// At 96 DPI.
constexpr int kWidth = 560;
constexpr int kHeight = 360;
constexpr int kOffset = 8; // from the pointer, so it does not sit on the first row
} // namespace

void CFindWindow::ShowNear(POINT point)
{
    if (m_hWnd == nullptr) {
        const RECT empty{0, 0, 0, 0};
        if (!CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, nullptr, "Fernwick", WS_POPUP | WS_BORDER | WS_CLIPCHILDREN,
                      empty, nullptr, nullptr) ||
            !m_panel.Create(m_hWnd, 1))
            return;
        m_panel.onCancel = [this] { Close(); };
        m_panel.onOpened = [this] { Close(); };
        m_panel.onReveal = [this](const std::wstring& path) {
            Close();
            if (onReveal)
                onReveal(path);
        };
        ::ShowWindow(m_panel.m_hWnd, SW_SHOW);
    }
    const HMONITOR monitor = ::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ::GetMonitorInfoW(monitor, &info);
    const RECT& work = info.rcWork;
    const UINT dpi = AfxGetMonitorDpi(monitor);
    const int cx = std::min(AfxScale(kWidth, dpi), static_cast<int>(work.right - work.left));
    const int cy = std::min(AfxScale(kHeight, dpi), static_cast<int>(work.bottom - work.top));
    const int x = std::clamp(static_cast<int>(point.x) + AfxScale(kOffset, dpi), static_cast<int>(work.left),
                             static_cast<int>(work.right) - cx);
    const int y = std::clamp(static_cast<int>(point.y) + AfxScale(kOffset, dpi), static_cast<int>(work.top),
                             static_cast<int>(work.bottom) - cy);
    // Placed and laid out before it shows, so that it is drawn once, by its first paint.
    SetWindowPos(HWND_TOPMOST, x, y, cx, cy, SWP_NOACTIVATE);
    m_panel.SetLook(reinterpret_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)), dpi);
    SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    ::SetForegroundWindow(m_hWnd);
    m_panel.Begin();
}

void CFindWindow::Close()
{
    if (m_hWnd != nullptr)
        ShowWindow(SW_HIDE);
}

LRESULT CFindWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ACTIVATE:
        // A click elsewhere: another window took the foreground.
        if (LOWORD(wParam) == WA_INACTIVE)
            Close();
        else
            ::SetFocus(m_panel.Box());
        return 0;
    case WM_SIZE:
        if (m_panel.m_hWnd != nullptr)
            ::MoveWindow(m_panel.m_hWnd, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_CLOSE:
        Close();
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
