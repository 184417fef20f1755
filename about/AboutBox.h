// CAboutBox: the version dialog: the program's name and version, the copyright notice,
// and the maker's web page as a live link.
#pragma once
#include "about/LinkLabel.h"
#include "framework/Dialog.h"


class CAboutBox : public CDialog {
public:
    // The framework picks the owner when the box is shown.
    CAboutBox();

    CLinkLabel m_link; // bound to IDC_LINK

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // The link and the program's icon are made again at the new scale too.
    void OnDpiChanged(UINT nDpi, const RECT& suggested) override;

private:
    UniqueIcon m_icon; // the icon at the scale of the last change, once there was one
};
