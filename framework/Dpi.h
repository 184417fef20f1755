// The scale windows are drawn at. The calls Windows added after Windows 7 are looked up at
// run time; without them every window has the system's DPI, as on Windows 7.
#pragma once
#include <windows.h>
#include "framework/Handles.h"

// The DPI that layouts in this program are written for.
constexpr UINT kDesignDpi = USER_DEFAULT_SCREEN_DPI;

UINT AfxGetSystemDpi();
UINT AfxGetWindowDpi(HWND hWnd);
// The effective DPI of a monitor, the one its windows are drawn at.
UINT AfxGetMonitorDpi(HMONITOR hMonitor);
int AfxGetSystemMetricsForDpi(int nIndex, UINT nDpi);
// A value made for one DPI, at another.
inline int AfxScale(int value, UINT nToDpi, UINT nFromDpi = kDesignDpi)
{
    return ::MulDiv(value, static_cast<int>(nToDpi), static_cast<int>(nFromDpi));
}
// A copy of the font whose height is scaled from one DPI to another.
UniqueFont AfxCreateScaledFont(HFONT hFont, UINT nFromDpi, UINT nToDpi);
// An icon resource of the program at a size: one the icon file lacks is made from a larger
// image rather than stretched from a smaller one, where the common controls can.
UniqueIcon AfxLoadIcon(UINT nIDResource, int size);
// Leaves a dialog's DPI changes to the program: the dialog manager of Windows 10 would lay
// out, resize and re-font it on its own.
void AfxTakeOverDialogScaling(HWND hDlg);
