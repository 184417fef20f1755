// CDialog: a modal dialog box made from a dialog template. The object is bound to its
// window before WM_INITDIALOG is handled, and the framework's own modal loop offers every
// message to PreTranslateMessage, so controls of the dialog see their messages first.
#pragma once
#include <utility>
#include <vector>
#include "framework/Handles.h"
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
    // On a monitor of another scale: the suggested rectangle, the controls where the layout
    // puts them at that scale, and the dialog's font of that scale on the controls that wear it.
    virtual void OnDpiChanged(UINT nDpi, const RECT& suggested);
    BOOL OnCommandEntry(const CCmdEntry& entry) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void CenterOnOwner(HWND owner) const;
    void RunModalLoop();

    UINT m_nIDTemplate;
    INT_PTR m_nModalResult = -1;
    bool m_bContinueModal = false;

    UINT m_nDpi = 0; // the scale the dialog is drawn at
    // The layout as the dialog was made, kept from the first change of scale on, so that
    // every scale is reckoned from it and none drifts.
    UINT m_nLayoutDpi = 0;
    HFONT m_hLayoutFont = nullptr; // the dialog manager's
    std::vector<std::pair<HWND, RECT>> m_layout;
    UniqueFont m_font; // the dialog's font at any other scale
};
