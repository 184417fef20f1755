// CToolTipCtrl: the tooltip common control; each operation is the control message of the
// same name.
#pragma once
#include "framework/Wnd.h"

class CToolTipCtrl : public CWnd {
public:
    // A pop-up window owned by pParentWnd, with no styles beyond WS_POPUP.
    BOOL Create(CWnd* pParentWnd);
    // Tools are named by pWnd and an id of its own, not by a window handle.
    BOOL AddTool(CWnd* pWnd, const char* text, const RECT* rectTool, UINT_PTR nIDTool) const;
    void UpdateTipText(const char* text, CWnd* pWnd, UINT_PTR nIDTool) const;
    void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, const RECT* rectTool) const;
    void RelayEvent(MSG* pMsg) const { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg)); }
};
