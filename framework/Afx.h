// Common definitions of the framework layer: a thin application framework over Win32.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include "framework/AfxRes.h"

class CCmdTarget;
class CCmdUI;
class CWnd;
class CFrameWnd;
class CView;
class CDocument;
class CSingleDocTemplate;
class CWinApp;

// Command codes passed to OnCmdMsg.
constexpr int CN_COMMAND = 0;
constexpr int CN_UPDATE_COMMAND_UI = -1;

// Private framework messages.
constexpr UINT WM_INITIALUPDATE = 0x0364;

// Style of the view window; its border becomes a sunken client edge.
constexpr DWORD AFX_WS_DEFAULT_VIEW = WS_CHILD | WS_VISIBLE | WS_BORDER;

// The framework's own command ids start here; menu items below it may be auto-disabled.
constexpr UINT AFX_FIRST_SYSTEM_COMMAND = 0xF000;
