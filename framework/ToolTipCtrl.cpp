#include "framework/ToolTipCtrl.h"

namespace {
TOOLINFOA ToolInfo(CWnd* pWnd, UINT_PTR nIDTool, const char* text)
{
    TOOLINFOA info{};
    // Every version of the control understands this size; sizeof may name a newer one.
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = pWnd->m_hWnd;
    info.uId = nIDTool;
    info.lpszText = const_cast<char*>(text);
    return info;
}
} // namespace

BOOL CToolTipCtrl::Create(CWnd* pParentWnd)
{
    RECT rect{}; // the control sizes itself to its text
    return CreateEx(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, rect, pParentWnd->m_hWnd, nullptr);
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, const char* text, const RECT* rectTool, UINT_PTR nIDTool) const
{
    TOOLINFOA info = ToolInfo(pWnd, nIDTool, text);
    if (rectTool != nullptr)
        info.rect = *rectTool;
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
}

void CToolTipCtrl::UpdateTipText(const char* text, CWnd* pWnd, UINT_PTR nIDTool) const
{
    TOOLINFOA info = ToolInfo(pWnd, nIDTool, text);
    SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, const RECT* rectTool) const
{
    TOOLINFOA info = ToolInfo(pWnd, nIDTool, nullptr);
    info.rect = *rectTool;
    SendMessage(TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&info));
}
