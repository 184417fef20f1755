#include "tools/bench/BenchApp.h"
#include <cstdlib>
#include <stdexcept>
#include "app/Settings.h"
#include "framework/Path.h"

namespace {
BOOL WINAPI DismissedAtOnce(HMENU, UINT, int, int, int, HWND, const RECT*)
{
    return FALSE;
}

BOOL WINAPI NoNotificationArea(DWORD, PNOTIFYICONDATAA)
{
    return TRUE;
}

int WINAPI AnsweredOk(HWND, LPCSTR, LPCSTR, UINT)
{
    return IDOK;
}

void DispatchQueued()
{
    ::SleepEx(0, TRUE); // as the program's loop waits: folder change notifications run
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}
} // namespace

BenchApp::BenchApp(const std::string& folder, const std::vector<std::string>& expanded)
    : m_savedDirectory(AfxGetCurrentDirectory()), m_savedArgc(__argc)
{
    g_shellCalls.TrackPopupMenu = DismissedAtOnce;
    g_shellCalls.Shell_NotifyIconA = NoNotificationArea;
    g_shellCalls.MessageBoxA = AnsweredOk;
    if (!::SetCurrentDirectoryA(folder.c_str()))
        throw std::runtime_error("cannot enter " + folder + " (error " + std::to_string(::GetLastError()) + ")");
    ::DeleteFileA(kSettingsFileName);
    if (!expanded.empty())
        WriteDirTreeList(expanded, folder + '\\' + kSettingsFileName);
    // The root comes from the first argument: the benchmark's are not for it.
    __argc = 1;
    m_app = std::make_unique<CFernwickApp>();
    m_app->InitApplication(::GetModuleHandleA(nullptr));
    m_app->m_nCmdShow = SW_SHOWNOACTIVATE;
    if (!m_app->InitInstance() || m_app->m_pMainWnd == nullptr) {
        Restore();
        throw std::runtime_error("Fernwick did not start in " + folder +
                                 " (is another one running in this Wine session, or is there no display?)");
    }
}

BenchApp::~BenchApp()
{
    if (m_app->m_pMainWnd != nullptr)
        ::SendMessageA(Frame(), WM_CLOSE, 0, 0);
    Restore();
}

void BenchApp::Restore()
{
    m_app->ExitInstance();
    m_app.reset();
    DispatchQueued();
    ::SetCurrentDirectoryA(m_savedDirectory.c_str());
    __argc = m_savedArgc;
}

CFernwickView& BenchApp::View() const
{
    return *static_cast<CFernwickView*>(CWnd::FromHandlePermanent(::GetDlgItem(Frame(), AFX_IDW_PANE_FIRST)));
}

void BenchApp::Settle() const
{
    DispatchQueued();
    for (LONG count = 0; m_app->OnIdle(count); ++count) {
    }
}

HTREEITEM FindItem(const CFolderTreeCtrl& tree, HTREEITEM parent, const std::string& text)
{
    for (HTREEITEM h = tree.GetChildItem(parent); h != nullptr; h = tree.GetNextSiblingItem(h))
        if (tree.GetItemText(h) == text)
            return h;
    return nullptr;
}
