#include "framework/WinApp.h"
#include <cstdlib>
#include <algorithm>
#include "framework/DocTemplate.h"
#include "framework/GrowingText.h"
#include "framework/ShellCalls.h"
#include "framework/Wnd.h"

namespace {
CWinApp* g_pApp = nullptr;
int g_nModalLoops = 0;

// The system's own timer message, which blinks the caret; windows.h leaves it unnamed.
constexpr UINT kWmSysTimer = 0x0118;

// The caret's blink and repaints do not end an idle period.
bool IsIdleMessage(const MSG& msg)
{
    return msg.message != WM_PAINT && msg.message != kWmSysTimer;
}
} // namespace

CWinApp::CWinApp()
{
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

CWnd* AfxGetMainWnd()
{
    return g_pApp != nullptr ? g_pApp->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    return g_pApp != nullptr && g_pApp->m_hInstance != nullptr ? g_pApp->m_hInstance : ::GetModuleHandleA(nullptr);
}

void CWinApp::InitApplication(HINSTANCE hInstance)
{
    m_hInstance = hInstance;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    ::GetStartupInfoA(&si);
    m_nCmdShow = (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : SW_SHOWDEFAULT;
    m_strAppName = AfxLoadString(AFX_IDS_APP_TITLE);
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return static_cast<int>(m_exitCode);
}

int CWinApp::Run()
{
    MSG msg{};
    bool idle = true;
    LONG idleCount = 0;
    for (;;) {
        while (idle && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++))
                idle = false;
        }
        do {
            // Folder change notifications are completion routines: they run only while the
            // thread waits alertably.
            while (!::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
                ::MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_ALERTABLE | MWMO_INPUTAVAILABLE);
            if (!AfxPumpMessage(msg)) {
                m_exitCode = msg.wParam;
                return ExitInstance();
            }
            if (IsIdleMessage(msg)) {
                idle = true;
                idleCount = 0;
            }
        } while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL AfxPumpMessage(MSG& msg)
{
    // A Unicode window (the find box) gets its characters as they were typed: the ANSI form
    // would make "?" of what code page 932 cannot spell.
    const bool wide = msg.hwnd != nullptr && ::IsWindowUnicode(msg.hwnd);
    if ((wide ? ::GetMessageW(&msg, nullptr, 0, 0) : ::GetMessageA(&msg, nullptr, 0, 0)) <= 0)
        return FALSE;
    if (!CWnd::WalkPreTranslateTree(&msg)) {
        ::TranslateMessage(&msg);
        if (wide)
            ::DispatchMessageW(&msg);
        else
            ::DispatchMessageA(&msg);
    }
    return TRUE;
}

BOOL CWinApp::OnIdle(LONG)
{
    // No tool or status bar waits for an update: idle time only lets temporary wrappers go.
    CWnd::DeleteTempMap();
    return FALSE;
}

void CWinApp::AddDocTemplate(CSingleDocTemplate* pTemplate)
{
    m_templates.emplace_back(pTemplate);
}

CSingleDocTemplate* CWinApp::GetFirstDocTemplate() const
{
    return m_templates.empty() ? nullptr : m_templates.front().get();
}

void CWinApp::OnFileNew()
{
    if (CSingleDocTemplate* pTemplate = GetFirstDocTemplate())
        pTemplate->OpenDocumentFile(nullptr);
}

void CWinApp::HideApplication() const
{
    if (m_pMainWnd == nullptr)
        return;
    ::ShowOwnedPopups(m_pMainWnd->m_hWnd, FALSE);
    m_pMainWnd->ShowWindow(SW_HIDE);
    m_pMainWnd->SetWindowPos(HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CWinApp::CloseAllDocuments(BOOL bEndSession)
{
    for (auto& pTemplate : m_templates)
        pTemplate->CloseAllDocuments(bEndSession);
}

void CWinApp::DoWaitCursor(int nCode)
{
    const int before = m_nWaitCursorCount;
    m_nWaitCursorCount += nCode;
    if (m_nWaitCursorCount > 0) {
        // Nested ones find the hourglass up: each cursor call is a Wine server round trip.
        if (before <= 0)
            m_hcurWaitCursorRestore = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    } else {
        m_nWaitCursorCount = 0;
        ::SetCursor(m_hcurWaitCursorRestore);
    }
}

BOOL CWinApp::OnCommandEntry(const CCmdEntry& entry)
{
    switch (entry.nID) {
    case ID_APP_EXIT:
        return entry.Command(this, &CWinApp::OnAppExit);
    }
    return CCmdTarget::OnCommandEntry(entry);
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd != nullptr)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

int AfxWinMain(HINSTANCE hInstance)
{
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return -1;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    app->InitApplication(hInstance);
    if (!app->InitInstance()) {
        if (app->m_pMainWnd != nullptr)
            app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}

CModalScope::CModalScope()
{
    ++g_nModalLoops;
}

CModalScope::~CModalScope()
{
    --g_nModalLoops;
}

bool AfxInModalState()
{
    return g_nModalLoops > 0;
}

std::string AfxLoadString(UINT nID)
{
    return AfxReadGrowing<char>([nID](char* buffer, size_t size) {
        const int length = ::LoadStringA(AfxGetInstanceHandle(), nID, buffer, static_cast<int>(size));
        return static_cast<size_t>(length > 0 ? length : 0);
    }, 256);
}

int AfxMessageBox(const char* text, UINT nType)
{
    CWinApp* app = AfxGetApp();
    if ((nType & MB_ICONMASK) == 0) {
        switch (nType & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
        case MB_YESNO:
        case MB_YESNOCANCEL:
            nType |= MB_ICONEXCLAMATION;
            break;
        }
    }
    const std::string caption = app != nullptr ? app->m_strAppName : std::string();
    const CModalScope modal;
    return g_shellCalls.MessageBoxA(CWnd::GetSafeOwner(), text, caption.c_str(), nType);
}

void AfxAbortProgram()
{
    // Nothing of the program runs after this: its state is not to be trusted.
    AfxMessageBox(AFX_IDP_INTERNAL_FAILURE, MB_OK | MB_ICONSTOP);
    ::ExitProcess(EXIT_FAILURE);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType)
{
    return AfxMessageBox(AfxLoadString(nIDPrompt).c_str(), nType);
}

UINT AfxTrackPopupMenu(HMENU hMenu, UINT nFlags, POINT pt, HWND hOwner)
{
    CWinApp* app = AfxGetApp();
    const bool hadMainWindow = app != nullptr && app->m_pMainWnd != nullptr;
    // Windows keeps a menu inside the work area only when the point is inside it, so a point
    // on the taskbar moves onto the work area's edge. TPM_WORKAREA would say the same, but this
    // Wine takes that bit for its own "end the menu" and closes the menu at once.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (::GetMonitorInfoA(::MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        pt.x = std::clamp(pt.x, work.left, std::max(work.left, work.right - 1));
        pt.y = std::clamp(pt.y, work.top, std::max(work.top, work.bottom - 1));
    }
    UINT chosen = 0;
    {
        const CModalScope modal;
        chosen = static_cast<UINT>(g_shellCalls.TrackPopupMenu(hMenu, nFlags, pt.x, pt.y, 0, hOwner, nullptr));
    }
    if (hadMainWindow && app->m_pMainWnd == nullptr)
        ::PostQuitMessage(0);
    return chosen;
}
