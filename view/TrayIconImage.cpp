#include "view/TrayIconImage.h"
#include "framework/Dpi.h"
#include "res/resource.h"

bool CTrayIconImage::Update()
{
    // The system's small icon size lags behind a scale changed since logon; the monitor's does not.
    const UINT dpi = AfxGetMonitorDpi(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
    const int size = AfxGetSystemMetricsForDpi(SM_CXSMICON, dpi);
    if (size == m_nSize && m_icon)
        return false;
    m_icon = AfxLoadIcon(IDR_MAINFRAME, size);
    m_nSize = size;
    return true;
}
