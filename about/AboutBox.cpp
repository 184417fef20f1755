#include "about/AboutBox.h"
#include <initializer_list>
#include <string>
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

namespace {
// The format with each "%s" replaced by the next text: as long as it takes, so a long name
// is never cut, least of all inside a two-byte character.
std::string FormatTexts(const std::string& format, std::initializer_list<std::string> texts)
{
    std::string result;
    auto next = texts.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        if (format.compare(i, 2, "%s") == 0 && next != texts.end()) {
            result += *next++;
            ++i;
        } else {
            result += format[i];
        }
    }
    return result;
}
} // namespace

BOOL CAboutBox::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_link.SetTarget(FERNWICK_WEB_PAGE);
    const std::string version =
        FormatTexts(AfxLoadString(IDS_ABOUT_VERSION), {AfxLoadString(AFX_IDS_APP_TITLE), FERNWICK_VERSION});
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
