#include "framework/Dialog.h"
#include "framework/Dpi.h"
#include "framework/WinApp.h"

namespace {
// A template that leaves its position at 0, 0 asks the framework to place it.
bool IsTemplateAtOrigin(UINT nIDTemplate)
{
    HINSTANCE instance = AfxGetInstanceHandle();
    HRSRC resource = ::FindResourceA(instance, MAKEINTRESOURCEA(nIDTemplate), RT_DIALOG);
    const auto* words = resource != nullptr ? static_cast<const WORD*>(::LockResource(::LoadResource(instance, resource)))
                                            : nullptr;
    if (words == nullptr)
        return false;
    // An extended template starts with version 1 and 0xFFFF; its position comes 8 bytes later.
    const WORD* position = words[1] == 0xFFFF ? words + 9 : words + 5;
    return position[0] == 0 && position[1] == 0;
}
} // namespace

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd != nullptr)
        return;
    if (HWND hWndCtrl = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC))
        rControl.SubclassWindow(hWndCtrl);
}

CDialog::CDialog(UINT nIDTemplate) : m_nIDTemplate(nIDTemplate)
{
}

INT_PTR CDialog::DoModal()
{
    HWND owner = GetSafeOwner();
    // An owner that is disabled already belongs to another modal window, which enables it.
    const bool enableOwner = owner != nullptr && ::IsWindowEnabled(owner);
    if (enableOwner)
        ::EnableWindow(owner, FALSE);
    const CModalScope modal;
    m_nModalResult = -1;
    m_bContinueModal = true;
    if (::CreateDialogParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), owner, DialogProc,
                             reinterpret_cast<LPARAM>(this)) != nullptr &&
        m_bContinueModal) {
        if (IsTemplateAtOrigin(m_nIDTemplate))
            CenterOnOwner(owner);
        ShowWindow(SW_SHOWNORMAL);
        RunModalLoop();
    }
    // Hidden before the owner is enabled again, so that activation goes back to the owner.
    if (m_hWnd != nullptr)
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    if (enableOwner)
        ::EnableWindow(owner, TRUE);
    if (owner != nullptr && m_hWnd != nullptr && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(owner);
    DestroyWindow();
    return m_nModalResult;
}

void CDialog::CenterOnOwner(HWND owner) const
{
    RECT area;
    if (owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner))
        ::GetWindowRect(owner, &area);
    else
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT rect;
    GetWindowRect(&rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    SetWindowPos(nullptr, (area.left + area.right - width) / 2, (area.top + area.bottom - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDialog::RunModalLoop()
{
    MSG msg{};
    // The dialog may also go with its owner.
    while (m_bContinueModal && m_hWnd != nullptr) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // The quit is the application loop's to see.
            if (got == 0)
                ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (!WalkPreTranslateTree(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    m_bContinueModal = false;
}

void CDialog::UpdateData()
{
    CDataExchange dx{this};
    DoDataExchange(&dx);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST)
        return FALSE;
    return ::IsDialogMessageA(m_hWnd, pMsg);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData();
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::OnDpiChanged(UINT nDpi, const RECT& suggested)
{
    if (m_nLayoutDpi == 0) {
        m_nLayoutDpi = m_nDpi;
        m_hLayoutFont = GetFont();
        for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
            RECT rect;
            ::GetWindowRect(child, &rect);
            ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
            m_layout.emplace_back(child, rect);
        }
    }
    UniqueFont font = nDpi != m_nLayoutDpi ? AfxCreateScaledFont(m_hLayoutFont, m_nLayoutDpi, nDpi) : UniqueFont();
    const HFONT previous = m_font ? m_font.get() : m_hLayoutFont;
    const HFONT current = font ? font.get() : m_hLayoutFont;
    SetWindowPos(nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    for (const auto& [child, rect] : m_layout) {
        const auto scale = [&](LONG value) { return AfxScale(value, nDpi, m_nLayoutDpi); };
        ::SetWindowPos(child, nullptr, scale(rect.left), scale(rect.top), scale(rect.right) - scale(rect.left),
                       scale(rect.bottom) - scale(rect.top), SWP_NOZORDER | SWP_NOACTIVATE);
        // A control with a font of its own makes that one again itself.
        if (reinterpret_cast<HFONT>(::SendMessageA(child, WM_GETFONT, 0, 0)) == previous)
            ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(current), TRUE);
    }
    m_font = std::move(font);
    m_nDpi = nDpi;
}

BOOL CDialog::OnCommandEntry(const CCmdEntry& entry)
{
    switch (entry.nID) {
    case IDOK:
        return entry.Command(this, &CDialog::OnOK);
    case IDCANCEL:
        return entry.Command(this, &CDialog::OnCancel);
    }
    return CWnd::OnCommandEntry(entry);
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

// Messages reach the bound object first through the framework's window procedure; this
// one only binds and initialises, and leaves everything else to the dialog class.
INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    auto* dialog = reinterpret_cast<CDialog*>(lParam);
    dialog->SubclassWindow(hWnd);
    // A dialog object may be shown again: its layout is the new window's.
    dialog->m_nDpi = AfxGetWindowDpi(hWnd);
    dialog->m_nLayoutDpi = 0;
    dialog->m_layout.clear();
    dialog->m_font.reset();
    AfxTakeOverDialogScaling(hWnd);
    return AfxCallGuarded([dialog] { return dialog->OnInitDialog(); });
}
