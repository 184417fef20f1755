#include "about/LinkLabel.h"
#include <shlwapi.h>
#include <algorithm>
#include <optional>
#include "about/BrowserCommand.h"
#include "framework/Dpi.h"
#include "framework/Registry.h"
#include "framework/ShellCalls.h"
#include "framework/WinApp.h"
#include "res/resource.h"

namespace {
constexpr UINT kHoverPollPeriod = 100; // ms
constexpr UINT_PTR kTipToolId = 1;
constexpr WORD kHelpViewerHandCursor = 106;
// The underline of the hover font can reach below the fitted client area; at 96 DPI.
constexpr int kUnderlineRepaintMargin = 10;

struct LinkFonts {
    UniqueFont plain, underlined;
};

LinkFonts MakeFonts(LOGFONTA logFont)
{
    LinkFonts fonts;
    fonts.plain.reset(::CreateFontIndirectA(&logFont));
    logFont.lfUnderline = TRUE;
    fonts.underlined.reset(::CreateFontIndirectA(&logFont));
    return fonts;
}
} // namespace

void CLinkLabel::SetTarget(const std::string& url)
{
    m_strTarget = url;
    if (m_hWnd == nullptr)
        return;
    FitToText();
    m_tip.UpdateTipText(m_strTarget.c_str(), this, kTipToolId);
}

void CLinkLabel::MarkVisited(BOOL bVisited)
{
    m_bLinkVisited = bVisited;
    if (m_hWnd != nullptr)
        InvalidateRect(nullptr, TRUE);
}

BOOL CLinkLabel::DestroyWindow()
{
    KillTimer(m_nHoverTimerId);
    return CStatic::DestroyWindow();
}

BOOL CLinkLabel::PreTranslateMessage(MSG* pMsg)
{
    m_tip.RelayEvent(pMsg);
    return CStatic::PreTranslateMessage(pMsg);
}

void CLinkLabel::PreSubclassWindow()
{
    // Without SS_NOTIFY a static control sends no click and lets the mouse through.
    ModifyStyle(0, SS_NOTIFY);
    if (m_strTarget.empty())
        m_strTarget = GetWindowText();
    if (GetWindowText().empty())
        SetWindowText(m_strTarget.c_str());

    HFONT font = GetFont();
    if (font == nullptr)
        font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    if (font == nullptr)
        font = static_cast<HFONT>(::GetStockObject(ANSI_VAR_FONT));
    ::GetObjectA(font, sizeof m_logFont, &m_logFont);
    m_nAttachedDpi = m_nDpi = AfxGetWindowDpi(m_hWnd);
    LinkFonts fonts = MakeFonts(m_logFont);
    m_fontPlain = std::move(fonts.plain);
    m_fontUnderlined = std::move(fonts.underlined);

    FitToText();
    LoadHandCursor();
    RECT client;
    GetClientRect(&client);
    m_tip.Create(this);
    m_tip.AddTool(this, m_strTarget.c_str(), &client, kTipToolId);
    CStatic::PreSubclassWindow();
}

void CLinkLabel::OnDpiChanged(UINT nDpi)
{
    if (m_hWnd == nullptr || nDpi == m_nDpi)
        return;
    LOGFONTA scaled = m_logFont;
    scaled.lfHeight = AfxScale(m_logFont.lfHeight, nDpi, m_nAttachedDpi);
    scaled.lfWidth = AfxScale(m_logFont.lfWidth, nDpi, m_nAttachedDpi);
    LinkFonts fonts = MakeFonts(scaled);
    // It keeps wearing the one of the two it wore; the old ones go once it wears the new.
    SetFont(GetFont() == m_fontUnderlined.get() ? fonts.underlined.get() : fonts.plain.get());
    m_fontPlain = std::move(fonts.plain);
    m_fontUnderlined = std::move(fonts.underlined);
    m_nDpi = nDpi;
    FitToText();
    RECT client;
    GetClientRect(&client);
    m_tip.SetToolRect(this, kTipToolId, &client);
    // Drawn at the dialog's size for a moment: what showed then must not stay.
    InvalidateRect(nullptr, TRUE);
}

void CLinkLabel::FitToText()
{
    if (m_hWnd == nullptr || !m_bFitToText)
        return;
    RECT rect;
    GetWindowRect(&rect);
    if (HWND parent = ::GetParent(m_hWnd))
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    RECT client;
    GetClientRect(&client);

    // Measured in the hover font, which the text wears under the pointer.
    const std::string text = GetWindowText();
    SIZE extent{};
    {
        CClientDC dc(m_hWnd);
        HGDIOBJ previous = ::SelectObject(dc.m_hDC, m_fontUnderlined.get());
        ::GetTextExtentPoint32A(dc.m_hDC, text.c_str(), static_cast<int>(text.size()), &extent);
        ::SelectObject(dc.m_hDC, previous);
    }
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const int cx = extent.cx + width - client.right;
    const int cy = extent.cy + height - client.bottom;

    const DWORD style = GetStyle();
    if (style & SS_CENTERIMAGE) {
        const int shift = (height - cy) / 2;
        rect.top += shift;
        rect.bottom -= shift;
    } else {
        rect.bottom = rect.top + cy;
    }
    if (style & SS_CENTER) {
        const int shift = (width - cx) / 2;
        rect.left += shift;
        rect.right -= shift;
    } else if (style & SS_RIGHT) {
        rect.left = rect.right - cx;
    } else {
        rect.right = rect.left + cx;
    }
    SetWindowPos(nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, SWP_NOZORDER);
}

void CLinkLabel::LoadHandCursor()
{
    if (m_hHandCursor != nullptr)
        return;
    char windows[MAX_PATH];
    const UINT length = ::GetWindowsDirectoryA(windows, sizeof windows);
    if (length > 0 && length < sizeof windows) {
        const std::string viewer = std::string(windows) + "\\winhlp32.exe";
        // Only the help viewer's resources are wanted: it is mapped as data, never run.
        UniqueModule module(::LoadLibraryExA(viewer.c_str(), nullptr,
                                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
        HCURSOR hand = module ? ::LoadCursorA(module.get(), MAKEINTRESOURCEA(kHelpViewerHandCursor)) : nullptr;
        // The copy stays valid once the module is released.
        if (hand != nullptr)
            m_handCursorCopy.reset(static_cast<HCURSOR>(::CopyIcon(hand)));
    }
    // Where the viewer or its cursor is missing, the system's own hand still marks the link.
    m_hHandCursor = m_handCursorCopy ? m_handCursorCopy.get() : ::LoadCursorA(nullptr, IDC_HAND);
}

LRESULT CLinkLabel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETCURSOR:
        return OnSetCursor();
    case WM_MOUSEMOVE:
        OnMouseMove();
        break;
    case WM_TIMER:
        OnTimer();
        break;
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    }
    return CStatic::WindowProc(message, wParam, lParam);
}

BOOL CLinkLabel::OnReflect(UINT message, WPARAM wParam, LPARAM, LRESULT* pResult)
{
    switch (message) {
    case WM_CTLCOLORSTATIC:
        *pResult = reinterpret_cast<LRESULT>(CtlColor(reinterpret_cast<HDC>(wParam)));
        return TRUE;
    case WM_COMMAND:
        if (HIWORD(wParam) != STN_CLICKED)
            return FALSE;
        OnLinkClicked();
        return TRUE;
    }
    return FALSE;
}

HBRUSH CLinkLabel::CtlColor(HDC hDC)
{
    ::SetTextColor(hDC, m_bHovering ? m_clrHover : m_bLinkVisited ? m_clrVisited : m_clrLink);
    ::SetBkMode(hDC, TRANSPARENT);
    // The background is OnEraseBkgnd's.
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

BOOL CLinkLabel::OnSetCursor()
{
    if (m_hHandCursor == nullptr)
        return FALSE;
    ::SetCursor(m_hHandCursor);
    return TRUE;
}

void CLinkLabel::OnMouseMove()
{
    if (m_bHovering)
        return;
    m_bHovering = TRUE;
    SetFont(m_fontUnderlined.get());
    InvalidateRect(nullptr, TRUE);
    // The pointer's leaving is polled for, not notified.
    SetTimer(m_nHoverTimerId, kHoverPollPeriod);
}

void CLinkLabel::OnTimer()
{
    const DWORD position = ::GetMessagePos();
    POINT point{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    ScreenToClient(&point);
    RECT client;
    GetClientRect(&client);
    if (::PtInRect(&client, point))
        return;
    m_bHovering = FALSE;
    KillTimer(m_nHoverTimerId);
    SetFont(m_fontPlain.get());
    client.bottom += AfxScale(kUnderlineRepaintMargin, m_nDpi);
    InvalidateRect(&client, TRUE);
}

BOOL CLinkLabel::OnEraseBkgnd(HDC hDC)
{
    RECT client;
    GetClientRect(&client);
    ::FillRect(hDC, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    return TRUE;
}

void CLinkLabel::OnLinkClicked()
{
    m_bHovering = FALSE;
    const auto result = static_cast<int>(OpenTarget(m_strTarget.c_str(), SW_SHOW));
    m_bLinkVisited = result > 32;
    if (m_bLinkVisited) {
        MarkVisited(TRUE);
        return;
    }
    g_shellCalls.MessageBeep(MB_ICONEXCLAMATION);
    ShowOpenError(result);
}

UINT CLinkLabel::OpenTarget(const char* url, int nShowCmd)
{
    const auto shellResult = static_cast<UINT>(
        reinterpret_cast<UINT_PTR>(g_shellCalls.ShellExecuteA(nullptr, "open", url, nullptr, nullptr, nShowCmd)));
    if (shellResult > 32)
        return shellResult;

    // The shell could not: start the program registered for web pages ourselves.
    std::string pageClass;
    if (ReadKeyDefault(HKEY_CLASSES_ROOT, ".htm", pageClass) != ERROR_SUCCESS)
        return shellResult;
    std::string commandTemplate;
    if (ReadKeyDefault(HKEY_CLASSES_ROOT, (pageClass + "\\shell\\open\\command").c_str(), commandTemplate) !=
        ERROR_SUCCESS)
        return shellResult;
    const std::optional<std::string> command = BrowserCommandLine(commandTemplate, url);
    // Too long for the command line's buffer: told as the memory failure it is.
    if (!command)
        return SE_ERR_OOM;
    return g_shellCalls.WinExec(command->c_str(), static_cast<UINT>(nShowCmd));
}

LONG CLinkLabel::ReadKeyDefault(HKEY hKey, const char* subKeyName, std::string& out)
{
    // A command to expand first is not one to run as it stands.
    std::string text;
    DWORD type = 0;
    const LONG error = AfxRegQueryDefaultText(hKey, subKeyName, text, &type);
    if (error != ERROR_SUCCESS)
        return error;
    if (type != REG_SZ)
        return ERROR_INVALID_DATA;
    out = std::move(text);
    return ERROR_SUCCESS;
}

void CLinkLabel::ShowOpenError(int nCode)
{
    std::string reason = nCode >= 0 && nCode <= 32 ? AfxLoadString(IDS_LINK_ERROR_FIRST + nCode) : std::string();
    if (reason.empty()) {
        char text[64];
        ::wnsprintfA(text, sizeof text, AfxLoadString(IDS_LINK_ERROR_OTHER).c_str(), nCode);
        reason = text;
    }
    AfxMessageBox((AfxLoadString(IDS_LINK_OPEN_FAILED) + reason).c_str(), MB_ICONEXCLAMATION | MB_OK);
}
