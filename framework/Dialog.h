// CDialog: a modal dialog box made from a dialog template. The object is bound to its
// window before WM_INITDIALOG is handled, and the framework's own modal loop offers every
// message to PreTranslateMessage, so controls of the dialog see their messages first.
#pragma once
#include "framework/Wnd.h"

class CDialog;

// One exchange between a dialog's controls and its members.
struct CDataExchange {
    CDialog* m_pDlgWnd;
};

// Binds the dialog's control nIDC to rControl: rControl.PreSubclassWindow runs and the
// member receives the control's messages. A control already bound stays as it is.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate);

    // Shows the dialog owned by GetSafeOwner(), which stays disabled meanwhile, and runs
    // until EndDialog; its value, or -1 when the dialog could not be made or the
    // application is quitting.
    INT_PTR DoModal();
    void EndDialog(int nResult);
    // Runs DoDataExchange.
    void UpdateData();
    // The dialog's keys: Tab, Enter, Esc and mnemonics.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    // Exchanges the data; TRUE lets the dialog focus its first control that takes it.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnOK();
    virtual void OnCancel();
    BOOL OnCommandEntry(const CCmdEntry& entry) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void CenterOnOwner(HWND owner) const;
    void RunModalLoop();

    UINT m_nIDTemplate;
    INT_PTR m_nModalResult = -1;
    bool m_bContinueModal = false;
};
