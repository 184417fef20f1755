// The whole program in this process, started as a user starts it in a folder of the
// benchmark's (its root: that folder's "Root"), with a fresh settings file that holds only
// the expanded folders given. The calls that reach outside are answered at once: the tray
// menu closes as soon as it opens, and no icon goes to the notification area.
#pragma once
#include <memory>
#include <string>
#include <vector>
#include "app/FernwickApp.h"
#include "framework/ShellCalls.h"
#include "view/FernwickView.h"

class BenchApp {
public:
    // Throws std::runtime_error when the program does not start.
    explicit BenchApp(const std::string& folder, const std::vector<std::string>& expanded = {});
    // Closes as the close box does, then the exit work.
    ~BenchApp();
    BenchApp(const BenchApp&) = delete;
    BenchApp& operator=(const BenchApp&) = delete;

    HWND Frame() const { return m_app->m_pMainWnd->m_hWnd; }
    CFernwickView& View() const;
    CFolderTreeCtrl& Tree() const { return View().m_wndTree; }
    // Handles what is queued, then the idle work, as the message loop does before it waits.
    void Settle() const;

private:
    void Restore();

    CShellCallsScope m_seam;
    std::string m_savedDirectory;
    int m_savedArgc;
    std::unique_ptr<CFernwickApp> m_app;
};

// The first item under parent whose text is text, or null.
HTREEITEM FindItem(const CFolderTreeCtrl& tree, HTREEITEM parent, const std::string& text);
