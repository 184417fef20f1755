// Records what the program hands to the shell, the process functions, the notification
// area and the pop-up menus, and answers as the test says. One at a time: the calls it
// replaces are plain functions.
#pragma once
#include <windows.h>
#include <shellapi.h>
#include <functional>
#include <string>
#include <vector>
#include "framework/ShellCalls.h"

struct ShellExecuteCall {
    HWND owner;
    std::string verb, file, parameters, directory;
    bool nullVerb, nullDirectory;
    int showCmd;
    std::wstring wideFile, wideDirectory; // the wide call's; file and directory then stay empty
};

struct NotifyIconCall {
    DWORD message;
    NOTIFYICONDATAA data;
};

struct TrackPopupCall {
    HMENU menu;
    UINT flags;
    int x, y;
    HWND owner;
};

struct MessageBoxCall {
    HWND owner;
    std::string text, caption;
    UINT type;
};

class ShellRecorder {
public:
    ShellRecorder();
    ~ShellRecorder();
    ShellRecorder(const ShellRecorder&) = delete;
    ShellRecorder& operator=(const ShellRecorder&) = delete;

    std::vector<ShellExecuteCall> shellExecutes;
    std::vector<std::string> processes; // command lines of CreateProcessA
    std::vector<std::wstring> wideProcesses; // of CreateProcessW
    std::vector<std::string> winExecs;
    std::vector<NotifyIconCall> notifyIcons;
    std::vector<TrackPopupCall> popups;
    std::vector<MessageBoxCall> messageBoxes;
    std::vector<UINT> beeps;

    // What the replaced calls answer.
    INT_PTR shellExecuteResult = 42;
    BOOL createProcessResult = TRUE;
    UINT winExecResult = 33;
    BOOL notifyIconAddResult = TRUE; // FALSE: the notification area has the icon already
    int messageBoxResult = IDOK;     // the button the user "pressed"
    POINT cursor{0, 0};
    // Runs while the menu is "open"; its result is what TrackPopupMenu returns.
    std::function<BOOL(const TrackPopupCall&)> onPopup = [](const TrackPopupCall&) { return FALSE; };

private:
    CShellCallsScope m_scope;
};
