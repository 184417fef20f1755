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

std::string AfxGetIniPath()
{
    CFernwickApp* app = AfxGetFernwickApp();
    return app != nullptr ? app->m_strIniPath : std::string();
}

const SavedSettings& AfxGetSavedSettings()
{
    static const SavedSettings none;
    CFernwickApp* app = AfxGetFernwickApp();
    return app != nullptr ? app->m_savedSettings : none;
}

CFernwickApp::CFernwickApp() : m_strIniPath(AfxGetCurrentDirectory() + '\\' + kSettingsFileName)
{
}

BOOL CFernwickApp::InitInstance()
{
    m_hMutex.reset(::CreateMutexA(nullptr, FALSE, kSingleInstanceMutex));
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        if (HWND other = ::FindWindowA(nullptr, kMainWindowTitle))
            ::PostMessageA(other, WM_SHOWINSTANCE, 0, 0);
        m_hMutex.reset();
        return FALSE;
    }
    m_savedSettings = ReadSettings(m_strIniPath);

    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, &AfxNew<CDocument, CFernwickDoc>,
                                          &AfxNew<CFrameWnd, CMainFrame>, &AfxNew<CView, CFernwickView>));
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
        CFolderTreeCtrl& tree = view->m_wndTree;
        tree.SelectItem(tree.GetRootItem());
        tree.SetFocus();
        tree.SetRedraw(TRUE); // off since the view's initial update

    }
    return TRUE;
}

int CFernwickApp::ExitInstance()
{
    if (m_hMutex) {
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
