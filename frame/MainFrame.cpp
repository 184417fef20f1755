#include "frame/MainFrame.h"
#include <algorithm>
#include <climits>
#include "framework/WinApp.h"
#include "framework/Dpi.h"
#include "framework/View.h"

int g_nRestoreShowCmd = SW_SHOWNORMAL;

namespace {
constexpr RECT kDefaultRect{100, 100, 500, 400}; // at 96 DPI

// Show commands that leave the window minimized: started that way, it stays in the tray.
bool IsMinimizing(UINT showCmd)
{
    return showCmd == SW_SHOWMINIMIZED || showCmd == SW_MINIMIZE || showCmd == SW_SHOWMINNOACTIVE ||
           showCmd == SW_FORCEMINIMIZE;
}
} // namespace

RECT DefaultNormalRect()
{
    const UINT dpi = AfxGetMonitorDpi(::MonitorFromRect(&kDefaultRect, MONITOR_DEFAULTTOPRIMARY));
    return RECT{AfxScale(kDefaultRect.left, dpi), AfxScale(kDefaultRect.top, dpi), AfxScale(kDefaultRect.right, dpi),
                AfxScale(kDefaultRect.bottom, dpi)};
}

RECT VisibleNormalRect(const RECT& saved)
{
    // Window coordinates are 16-bit; the system would clamp larger ones somewhere off screen.
    const auto fits = [](LONG v) { return v >= SHRT_MIN && v <= SHRT_MAX; };
    if (!fits(saved.left) || !fits(saved.top) || !fits(saved.right) || !fits(saved.bottom) ||
        saved.right <= saved.left || saved.bottom <= saved.top)
        return DefaultNormalRect();
    if (::MonitorFromRect(&saved, MONITOR_DEFAULTTONULL) != nullptr)
        return saved;
    // Saved on a monitor that is gone: keep the size as far as it fits, on the nearest one.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoA(::MonitorFromRect(&saved, MONITOR_DEFAULTTONEAREST), &monitor))
        return DefaultNormalRect();
    const RECT& work = monitor.rcWork;
    const auto width = static_cast<LONG>(
        std::min<LONGLONG>(static_cast<LONGLONG>(saved.right) - saved.left, work.right - work.left));
    const auto height = static_cast<LONG>(
        std::min<LONGLONG>(static_cast<LONGLONG>(saved.bottom) - saved.top, work.bottom - work.top));
    const LONG left = std::clamp(saved.left, work.left, work.right - width);
    const LONG top = std::clamp(saved.top, work.top, work.bottom - height);
    return RECT{left, top, left + width, top + height};
}

void ForceForegroundWindow(HWND hWnd)
{
    const DWORD foregroundThread = ::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr);
    const DWORD ownThread = ::GetWindowThreadProcessId(hWnd, nullptr);
    ::AttachThreadInput(ownThread, foregroundThread, TRUE);
    ::SetForegroundWindow(hWnd);
    ::AttachThreadInput(ownThread, foregroundThread, FALSE);
}

CMainFrame::CMainFrame(HandedSettings& settings)
    : m_nTaskbarCreated(::RegisterWindowMessageA(kTaskbarCreatedMessage)), m_settings(settings)
{
    // Started from a shortcut that runs minimized: stay hidden in the notification area.
    CWinApp* app = AfxGetApp();
    m_nInitialShowCmd = app != nullptr && app->m_nCmdShow == SW_SHOWMINNOACTIVE ? SW_HIDE : SW_SHOW;
}

void CMainFrame::ActivateFrame(int nCmdShow)
{
    if (!m_bFirstActivation) {
        CFrameWnd::ActivateFrame(nCmdShow);
        return;
    }
    m_bFirstActivation = FALSE;

    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (const std::optional<WINDOWPLACEMENT>& saved = m_settings.read.placement) {
        wp = *saved;
        wp.rcNormalPosition = VisibleNormalRect(wp.rcNormalPosition);
        if (wp.showCmd > SW_MAX)
            wp.showCmd = SW_SHOWNORMAL;
    } else {
        wp.rcNormalPosition = DefaultNormalRect();
        wp.flags = 0;
        wp.showCmd = static_cast<UINT>(nCmdShow);
    }
    if (nCmdShow == SW_SHOWMAXIMIZED || nCmdShow == SW_SHOWMINNOACTIVE)
        wp.showCmd = static_cast<UINT>(nCmdShow);
    else if (IsMinimizing(wp.showCmd))
        m_nInitialShowCmd = SW_HIDE; // it was in the tray when it last closed
    wp.ptMinPosition = POINT{0, 0};
    wp.ptMaxPosition = POINT{-::GetSystemMetrics(SM_CXBORDER), -::GetSystemMetrics(SM_CYBORDER)};

    // A window that starts in the tray is never shown, not even minimized for a moment.
    const bool hidden = IsMinimizing(wp.showCmd);
    if (hidden)
        wp.showCmd = SW_HIDE;
    // The saved rectangle is in physical pixels: landing on a monitor of another scale, the
    // window takes that scale but keeps the size it was closed with.
    m_bApplyingPlacement = true;
    SetWindowPlacement(&wp);
    m_bApplyingPlacement = false;
    if (hidden && (wp.flags & WPF_RESTORETOMAXIMIZED))
        g_nRestoreShowCmd = SW_SHOWMAXIMIZED; // after the placement's own WM_SIZE
    CFrameWnd::ActivateFrame(static_cast<int>(wp.showCmd));
}

void CMainFrame::SavePlacement() const
{
    WINDOWPLACEMENT wp{};
    if (!GetWindowPlacement(&wp))
        return;
    // Hidden in the tray is minimized, even for a window that started there and was never shown.
    if (!IsWindowVisible()) {
        wp.showCmd = SW_SHOWMINIMIZED;
        if (g_nRestoreShowCmd == SW_SHOWMAXIMIZED)
            wp.flags |= WPF_RESTORETOMAXIMIZED;
    }
    m_settings.atExit.placement = wp;
}

void CMainFrame::OnShowInstance(WPARAM request)
{
    // A start with a switch wants the view's find window or tray menu, and this window as it is.
    if (request != 0) {
        if (CView* view = GetActiveView())
            view->SendMessage(WM_SHOWINSTANCE, request);
        return;
    }
    ShowWindow(g_nRestoreShowCmd);
    ::SetForegroundWindow(m_hWnd);
    ForceForegroundWindow(m_hWnd);
}

void CMainFrame::OnSize(UINT nType)
{
    if (nType == SIZE_MINIMIZED)
        ShowWindow(SW_HIDE); // minimized means hidden in the tray
    else
        g_nRestoreShowCmd = nType == SIZE_MAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
}

void CMainFrame::OnDpiChanged(UINT nDpi, const RECT& suggested)
{
    if (!m_bApplyingPlacement)
        SetWindowPos(nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (CView* view = GetActiveView())
        view->OnDpiChanged(nDpi);
}

void CMainFrame::OnClose()
{
    SavePlacement();
    CFrameWnd::OnClose();
}

BOOL CMainFrame::OnQueryEndSession()
{
    if (!CFrameWnd::OnQueryEndSession())
        return FALSE;
    SavePlacement(); // WM_CLOSE never comes when Windows ends the session
    return TRUE;
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == m_nTaskbarCreated && m_nTaskbarCreated != 0) {
        // The shell tells top-level windows only; the icon belongs to the view.
        SendMessageToDescendants(message, wParam, lParam);
        return 0;
    }
    switch (message) {
    case WM_SHOWINSTANCE:
        OnShowInstance(wParam);
        return 0;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam));
        break;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
}
