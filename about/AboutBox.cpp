#include "about/AboutBox.h"
#include <cstdio>
#include "framework/Dpi.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "Version.h"

CAboutBox::CAboutBox() : CDialog(IDD_ABOUTBOX)
{
}

void CAboutBox::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LINK, m_link);
}

BOOL CAboutBox::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_link.SetTarget(FERNWICK_WEB_PAGE);
    // As long as it takes: a fixed buffer could cut a two-byte character of the name in half.
    const std::string format = AfxLoadString(IDS_ABOUT_VERSION);
    const std::string name = AfxLoadString(AFX_IDS_APP_TITLE);
    const int length = std::snprintf(nullptr, 0, format.c_str(), name.c_str(), FERNWICK_VERSION);
    std::string version(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    std::snprintf(version.data(), version.size(), format.c_str(), name.c_str(), FERNWICK_VERSION);
    // A template without these controls simply goes without.
    SetDlgItemText(IDC_VERSION, version.c_str());
    SetDlgItemText(IDC_COPYRIGHT, AfxLoadString(IDS_ABOUT_COPYRIGHT).c_str());
    return TRUE;
}

void CAboutBox::OnDpiChanged(UINT nDpi, const RECT& suggested)
{
    CDialog::OnDpiChanged(nDpi, suggested);
    m_link.OnDpiChanged(nDpi);
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
            continue;
        UniqueIcon icon = AfxLoadIcon(IDR_MAINFRAME, AfxGetSystemMetricsForDpi(SM_CXICON, nDpi));
        ::SendMessageA(child, STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
        m_icon = std::move(icon); // the one it showed before is no longer drawn
    }
}
