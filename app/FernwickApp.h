// CFernwickApp: start-up, the single-instance rule, and exit.
#pragma once
#include <string>
#include "app/Settings.h"
#include "framework/Handles.h"
#include "framework/WinApp.h"
#include "frame/MainFrame.h"

// The title a second instance looks for; it stays for the life of the window.
constexpr char kMainWindowTitle[] = "Fernwick";
constexpr char kSingleInstanceMutex[] = "Fernwick.exe - Osterlind";
constexpr char kSettingsFileName[] = "Fernwick.ini";

class CFernwickApp : public CWinApp {
public:
    // Fixes the settings file path from the current directory.
    CFernwickApp();

    BOOL InitInstance() override;
    // Saves the settings the windows left as they closed, in one save.
    int ExitInstance() override;
    void ShowAboutBox();

    UniqueKernelHandle m_hMutex;
    std::string m_strIniPath;
    // Read once before the first window, handed to the frame and the view, saved once at exit.
    HandedSettings m_settings;

protected:
    BOOL OnCommandEntry(const CCmdEntry& entry) override;
};

// The running program's application object, or null where another one runs (a test's).
CFernwickApp* AfxGetFernwickApp();
