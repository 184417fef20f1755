// CLinkLabel: a static control that looks and behaves like a link on a web page: link
// colour, hover colour and underline under the pointer, a hand cursor, the URL as its
// tooltip, and a click opens the URL. It never creates its window: it sets itself up when
// a dialog's data exchange binds it to an existing static control, and its click and
// colour request come back to it by reflection.
#pragma once
#include <string>
#include "framework/Handles.h"
#include "framework/Static.h"
#include "framework/ToolTipCtrl.h"

class CLinkLabel : public CStatic {
public:
    // What a click opens and the tooltip shows; the label keeps its text.
    void SetTarget(const std::string& url);
    void MarkVisited(BOOL bVisited);
    // Drawn at another scale: its fonts, its size fitted to the text, the tip's area and the
    // repaint margin of that scale. The dialog has moved it already.
    void OnDpiChanged(UINT nDpi);

    // Stops the hover timer first.
    BOOL DestroyWindow() override;
    // Every message for the label goes to its tooltip too: that is how the tip sees the mouse.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    HBRUSH CtlColor(HDC hDC);
    BOOL OnSetCursor();
    void OnMouseMove();
    void OnTimer();
    void OnLinkClicked();
    BOOL OnEraseBkgnd(HDC hDC);

    void FitToText();
    void LoadHandCursor();
    // The shell's result, or that of the program registered for web pages when the shell
    // failed; above 32 means the URL opened.
    static UINT OpenTarget(const char* url, int nShowCmd);
    // 0 with the subkey's default value in out, when it is a text that fits 260 bytes with
    // its terminator; otherwise the error, and out as it was.
    static LONG ReadKeyDefault(HKEY hKey, const char* subKeyName, std::string& out);
    static void ShowOpenError(int nCode);

private:
    const COLORREF m_clrLink = RGB(0, 0, 238);
    const COLORREF m_clrVisited = RGB(85, 26, 139);
    const COLORREF m_clrHover = RGB(255, 0, 0);
    BOOL m_bHovering = FALSE;
    BOOL m_bLinkVisited = FALSE;
    BOOL m_bFitToText = TRUE;
    std::string m_strTarget;
    UniqueFont m_fontUnderlined;
    UniqueFont m_fontPlain;
    LOGFONTA m_logFont{}; // the plain font as the label was attached, at m_nAttachedDpi
    UINT m_nAttachedDpi = 0;
    UINT m_nDpi = 0;
    HCURSOR m_hHandCursor = nullptr; // m_handCursorCopy, or the system's shared hand
    UniqueCursor m_handCursorCopy;
    CToolTipCtrl m_tip;
    const UINT_PTR m_nHoverTimerId = 100;
};
