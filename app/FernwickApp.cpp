#include "app/FernwickApp.h"
#include "about/AboutBox.h"
#include "app/FernwickDoc.h"
#include "frame/MainFrame.h"
#include "framework/DocTemplate.h"
#include "framework/Path.h"
#include "res/resource.h"
#include "view/FernwickView.h"

CFernwickApp* AfxGetFernwickApp()
{
    return dynamic_cast<CFernwickApp*>(AfxGetApp());
}

namespace {
// The template makes the frame and the view; this application hands them its settings.
CFrameWnd* NewMainFrame()
{
    return new CMainFrame(AfxGetFernwickApp()->m_settings);
}

CView* NewView()
{
    return new CFernwickView(AfxGetFernwickApp()->m_settings);
}
} // namespace

CFernwickApp::CFernwickApp() : m_strIniPath(AfxGetCurrentDirectory() + '\\' + kSettingsFileName)
{
    m_settings.startFolder = AfxGetCurrentDirectory();
    m_settings.refreshFolders = [this](const std::optional<std::vector<std::string>>& folders) {
        if (folders)
            WriteDirTreeList(*folders, m_strIniPath);
        return ReadSettings(m_strIniPath).folders;
    };
}

BOOL CFernwickApp::InitInstance()
{
    m_hMutex.reset(::CreateMutexA(nullptr, FALSE, kSingleInstanceMutex));
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        // By its class too: a message box, the About box and the find window may carry the title.
        if (HWND other = ::FindWindowA(kFrameClass, kMainWindowTitle)) {
            // Started by the user, this process may hand the foreground on to the running one.
            DWORD otherProcess = 0;
            ::GetWindowThreadProcessId(other, &otherProcess);
            ::AllowSetForegroundWindow(otherProcess);
            ::PostMessageA(other, WM_SHOWINSTANCE, static_cast<WPARAM>(StartRequestArgument()), 0);
        }
        m_hMutex.reset();
        return FALSE;
    }
    m_settings.read = ReadSettings(m_strIniPath);

    AddDocTemplate(
        new CSingleDocTemplate(IDR_MAINFRAME, &AfxNew<CDocument, CFernwickDoc>, &NewMainFrame, &NewView));
    OnFileNew();
    auto* frame = static_cast<CMainFrame*>(m_pMainWnd);
    if (frame == nullptr)
        return FALSE;

    frame->SetWindowText(kMainWindowTitle);
    frame->ShowWindow(frame->m_nInitialShowCmd);
    frame->UpdateWindow();

    CDocument* doc = GetFirstDocTemplate()->GetFirstDoc();
    if (auto* view = doc != nullptr ? static_cast<CFernwickView*>(doc->GetFirstView()) : nullptr) {
        view->ApplyTopMost();
        view->ShowFirstItem();
        view->RegisterHotkey();
    }
    // What a switch asks comes once the message loop runs, as from a second start.
    if (const StartRequest request = StartRequestArgument(); request != StartRequest::Show)
        ::PostMessageA(frame->m_hWnd, WM_SHOWINSTANCE, static_cast<WPARAM>(request), 0);
    return TRUE;
}

int CFernwickApp::ExitInstance()
{
    if (m_hMutex) {
        SaveSettings(m_settings.atExit, m_strIniPath); // before another instance may start
        ::ReleaseMutex(m_hMutex.get());
        m_hMutex.reset();
    }
    return CWinApp::ExitInstance();
}

void CFernwickApp::ShowAboutBox()
{
    CAboutBox box;
    box.DoModal();
}

BOOL CFernwickApp::OnCommandEntry(const CCmdEntry& entry)
{
    switch (entry.nID) {
    case ID_APP_ABOUT:
        return entry.Command(this, &CFernwickApp::ShowAboutBox);
    }
    return CWinApp::OnCommandEntry(entry);
}
