// CFernwickApp: start-up, the single-instance rule, and exit.
#pragma once
#include <string>
#include "app/Settings.h"
#include "framework/Handles.h"
#include "framework/WinApp.h"

// Posted by a second instance to the running one's main window.
constexpr UINT WM_SHOWINSTANCE = WM_APP + 2;

// The title a second instance looks for; it stays for the life of the window.
constexpr char kMainWindowTitle[] = "Fernwick";
constexpr char kSingleInstanceMutex[] = "Fernwick.exe - Osterlind";
constexpr char kSettingsFileName[] = "Fernwick.ini";

class CFernwickApp : public CWinApp {
public:
    // Fixes the settings file path from the current directory.
    CFernwickApp();

    BOOL InitInstance() override;
    int ExitInstance() override;
    void ShowAboutBox();

    UniqueKernelHandle m_hMutex;
    std::string m_strIniPath;
    // What the settings file held at start-up: read once, before the first window.
    SavedSettings m_savedSettings;

protected:
    BOOL OnCommandEntry(const CCmdEntry& entry) override;
};

// The running program's application object, or null where another one runs (a test's).
CFernwickApp* AfxGetFernwickApp();
// A copy of its settings file path; empty without it, which the settings functions refuse.
std::string AfxGetIniPath();
// What its settings file held at start-up; nothing without it.
const SavedSettings& AfxGetSavedSettings();
