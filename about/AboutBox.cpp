#include "about/AboutBox.h"
#include <shlwapi.h>
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
    // wnsprintf writes at most 1,024 characters; the program's own texts are far shorter.
    char version[1025];
    ::wnsprintfA(version, sizeof version, AfxLoadString(IDS_ABOUT_VERSION).c_str(),
                 AfxLoadString(AFX_IDS_APP_TITLE).c_str(), FERNWICK_VERSION);
    // A template without these controls simply goes without.
    SetDlgItemText(IDC_VERSION, version);
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
