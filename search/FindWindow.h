// CFindWindow: the find box and list in a small window of their own, shown near the pointer
// from anywhere (the global hotkey, /find). Enter opens the entry and closes the window; Esc
// or a click elsewhere closes it.
#pragma once
#include <functional>
#include <string>
#include "framework/Wnd.h"
#include "search/FindPanel.h"

class CFindWindow : public CWnd {
public:
    CFindWindow(CSearchIndex& index, CShellIcons& icons) : m_panel(index, icons) {}

    // Shown in the foreground on the pointer's monitor, its top left corner near the point
    // and the whole window inside the monitor's work area; made at the first call.
    void ShowNear(POINT point);
    void Close();

    CFindPanel m_panel;
    // Ctrl+Enter: the entry wants showing in the main window's tree.
    std::function<void(const std::wstring& relative)> onReveal;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
