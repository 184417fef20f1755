// CWinApp: the one application object, its start-up, message loop and exit.
#pragma once
#include <memory>
#include <string>
#include <vector>
#include "framework/CmdTarget.h"

class CWinApp : public CCmdTarget {
public:
    // Constructed before the program's entry; it becomes the application object.
    CWinApp();
    ~CWinApp() override;

    HINSTANCE m_hInstance = nullptr;
    std::string m_strAppName;         // string AFX_IDS_APP_TITLE
    int m_nCmdShow = SW_SHOWDEFAULT;  // the process's show command; -1 once the frame used it
    CWnd* m_pMainWnd = nullptr;
    int m_nWaitCursorCount = 0;
    HCURSOR m_hcurWaitCursorRestore = nullptr;

    // Reads the instance, the show command and the application name.
    void InitApplication(HINSTANCE hInstance);
    virtual BOOL InitInstance();
    // May be reached twice at log-off; overrides keep their exit work to one run.
    virtual int ExitInstance();
    virtual int Run();
    // lCount counts the idle calls since the last message; FALSE: no more idle work.
    virtual BOOL OnIdle(LONG lCount);

    void AddDocTemplate(CSingleDocTemplate* pTemplate); // takes ownership
    CSingleDocTemplate* GetFirstDocTemplate() const;
    // The new-document command: the empty document with its frame and view.
    void OnFileNew();
    void HideApplication() const;
    void CloseAllDocuments(BOOL bEndSession);
    void DoWaitCursor(int nCode);

protected:
    BOOL OnCommandEntry(const CCmdEntry& entry) override;
    void OnAppExit();

private:
    std::vector<std::unique_ptr<CSingleDocTemplate>> m_templates;
    WPARAM m_exitCode = 0;
};

CWinApp* AfxGetApp();
// The application's main window, or null.
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
int AfxWinMain(HINSTANCE hInstance);

// Counts a modal loop (dialog, message box, menu) for its lifetime; the menu loops of the
// program's windows count from WM_ENTERMENULOOP to WM_EXITMENULOOP.
// What would change the windows under one waits until it ends.
class CModalScope {
public:
    CModalScope();
    ~CModalScope();
    CModalScope(const CModalScope&) = delete;
    CModalScope& operator=(const CModalScope&) = delete;
};
bool AfxInModalState();

// A handler failed in a way nothing can mend (an exception reached the system's callback):
// the program says so in a message box and ends.
[[noreturn]] void AfxAbortProgram();
// Runs a handler the system called back; an exception never crosses into the system's code.
template <class Handler>
auto AfxCallGuarded(Handler handler) -> decltype(handler())
{
    try {
        return handler();
    } catch (...) {
        AfxAbortProgram();
    }
}

std::string AfxLoadString(UINT nID);
// Takes the message a peek without removing found (msg), offers it to PreTranslateMessage and
// dispatches it, in the form its window was made for; FALSE for WM_QUIT.
BOOL AfxPumpMessage(MSG& msg);
// A message box owned by the main window's last active pop-up, captioned with the
// application name; OK and yes/no boxes without an icon get the exclamation mark.
int AfxMessageBox(const char* text, UINT nType = MB_OK);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK);
// TrackPopupMenu through the shell-call seam, inside the work area of the point's monitor
// (the nearest one to a point on none).
// When the main window goes while the menu is
// open (Windows ends the session), the menu loop may have taken the quit message that came
// with it, as this Wine's does: then it is posted again.
UINT AfxTrackPopupMenu(HMENU hMenu, UINT nFlags, POINT pt, HWND hOwner);
