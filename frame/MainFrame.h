// CMainFrame: the single top-level window. It restores and saves its placement and hides
// itself in the notification area when minimized.
#pragma once
#include "frame/HandedSettings.h"
#include "framework/FrameWnd.h"

// Posted by a second instance to the running one's main window; wParam is what its switch
// asks (StartRequest), 0 to show the window.
constexpr UINT WM_SHOWINSTANCE = WM_APP + 2;

// Registered by the shell and sent to top-level windows when the notification area is new.
constexpr char kTaskbarCreatedMessage[] = "TaskbarCreated";

// How the frame comes back from the tray: SW_SHOWMAXIMIZED if it was last sized
// maximized, else SW_SHOWNORMAL.
extern int g_nRestoreShowCmd;

class CMainFrame : public CFrameWnd {
public:
    // Restores the placement read at start and leaves its own for the save at exit.
    explicit CMainFrame(HandedSettings& settings);

    // The first call restores the saved placement.
    void ActivateFrame(int nCmdShow = -1) override;

    int m_nInitialShowCmd;        // the show command of the frame's first ShowWindow
    BOOL m_bFirstActivation = TRUE; // the saved placement is not applied yet
    const UINT m_nTaskbarCreated;   // passed on to the view, which owns the tray icon

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnClose() override;
    BOOL OnQueryEndSession() override;

private:
    void OnShowInstance(WPARAM request);
    void OnSize(UINT nType);
    void OnDpiChanged(UINT nDpi, const RECT& suggested);
    void SavePlacement() const;

    HandedSettings& m_settings;
    bool m_bApplyingPlacement = false; // the placement's own rectangle is the one wanted
};

// Brings a window to the front even when another thread owns the foreground.
void ForceForegroundWindow(HWND hWnd);
// A normal rectangle the user can see: moved onto the nearest monitor when it lies on none.
RECT VisibleNormalRect(const RECT& saved);
// Where a first start puts the window: 100, 100 - 500, 400 at 96 DPI, scaled to its monitor's.
RECT DefaultNormalRect();
