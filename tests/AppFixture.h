// The whole program in this process: the application object started in a folder of the
// test's own, with its frame, view and tree, and the settings file beside them.
#pragma once
#include <gtest/gtest.h>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include "AlertableWait.h"
#include "DocumentHarness.h"
#include "TempFolder.h"
#include "TestHelpers.h"
#include "TreeItems.h"
#include "app/FernwickApp.h"
#include "frame/MainFrame.h"
#include "framework/Path.h"
#include "view/FernwickView.h"

// Runs a check when the program's exit work begins.
class CheckedApp : public CFernwickApp {
public:
    std::function<void()> onExit;
    int ExitInstance() override
    {
        if (onExit)
            std::exchange(onExit, nullptr)();
        return CFernwickApp::ExitInstance();
    }
};

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The root comes from the process's first argument: the test runner's are not for it.
        m_savedArgc = std::exchange(__argc, 1);
        m_saved = AfxGetCurrentDirectory();
        ::SetCurrentDirectoryA(folder.Path().c_str());
        root = folder.MakeFolder("Root");
    }
    void TearDown() override
    {
        if (app)
            Close();
        DrainMessages();
        ::SetCurrentDirectoryA(m_saved.c_str());
        __argc = m_savedArgc;
    }

    // Starts as a process started with that show command would.
    void Start(int showCmd = SW_SHOWNOACTIVATE)
    {
        app = std::make_unique<CheckedApp>();
        app->InitApplication(::GetModuleHandleA(nullptr));
        app->m_nCmdShow = showCmd;
        ASSERT_TRUE(app->InitInstance());
        ASSERT_NE(app->m_pMainWnd, nullptr);
    }
    // Closes as the close box does, then the exit work.
    void Close()
    {
        if (app->m_pMainWnd != nullptr)
            ::SendMessageA(Frame(), WM_CLOSE, 0, 0);
        app->ExitInstance();
        app.reset();
        DrainMessages();
    }

    HWND Frame() const { return app->m_pMainWnd->m_hWnd; }
    CMainFrame& MainFrame() const { return *static_cast<CMainFrame*>(app->m_pMainWnd); }
    CFernwickView& View() const
    {
        return *static_cast<CFernwickView*>(CWnd::FromHandlePermanent(::GetDlgItem(Frame(), AFX_IDW_PANE_FIRST)));
    }
    CFolderTreeCtrl& Tree() const { return View().m_wndTree; }
    void Command(UINT id) const { ::SendMessageA(Frame(), WM_COMMAND, id, 0); }
    // The tray menu's file paths in their code page 932 form.
    std::vector<std::string> TrayPaths() const
    {
        std::vector<std::string> paths;
        for (const ShellPath& path : View().m_trayPaths)
            paths.push_back(path.ansi);
        return paths;
    }

    // The find panel over the tree, the text in its box, the results from the whole index.
    void SearchFor(const std::wstring& text) const
    {
        View().BeginSearch();
        WaitAlertably([&] { return !View().m_finder.m_index.Busy(); });
        ::SetWindowTextW(View().m_finder.m_panel.Box(), text.c_str());
    }
    // The middle of the one result's label, on the screen, once the search shows just it;
    // {-1, -1} if it never does.
    POINT OnlyResultOnScreen() const
    {
        const HWND list = View().m_finder.m_panel.List();
        if (!WaitAlertably([&] { return ListView_GetItemCount(list) == 1; }))
            return {-1, -1};
        RECT row{};
        ListView_GetItemRect(list, 0, &row, LVIR_LABEL);
        POINT at{(row.left + row.right) / 2, (row.top + row.bottom) / 2};
        ::ClientToScreen(list, &at);
        return at;
    }

    std::string Ini() const { return folder.Path() + "\\Fernwick.ini"; }
    std::string IniValue(const char* key) const { return ::IniValue(Ini(), "Settings", key); }
    void SetIniValue(const char* key, const char* value) const
    {
        ::WritePrivateProfileStringA("Settings", key, value, Ini().c_str());
    }

    HTREEITEM Item(const std::string& text, HTREEITEM parent = TVI_ROOT) const { return ItemAt(Tree(), {text}, parent); }
    void UserExpand(HTREEITEM item) const { PressKey(Tree(), item, VK_RIGHT); }
    bool IsExpanded(HTREEITEM item) const { return ::IsExpanded(Tree(), item); }

    TempFolder folder;
    std::string root;
    std::unique_ptr<CheckedApp> app;

private:
    std::string m_saved;
    int m_savedArgc = 0;
};
