// What the program keeps between runs, as the application hands it down to the frame and
// the view. The application reads the file once at start and saves once at exit; the
// windows take their part from what was read and leave their part for the save as they
// close (the frame its placement, the view the folders and the always-on-top state).
#pragma once
#include <windows.h>
#include <functional>
#include <optional>
#include <string>
#include <vector>
#include "frame/HotkeyText.h"

// What the file held; all defaults when it does not exist.
struct SavedSettings {
    std::optional<WINDOWPLACEMENT> placement; // only when "WindowPos" holds ten numbers
    bool topMost = false;
    std::vector<std::string> folders; // relative to the root folder
    std::string hotkey = kDefaultHotkey; // "Hotkey" as written; empty turns it off
};

// What a save writes: a part left empty is not touched.
struct SettingsToSave {
    std::optional<WINDOWPLACEMENT> placement;
    std::optional<std::vector<std::string>> folders;
    std::optional<bool> topMost;
};

struct HandedSettings {
    std::string startFolder; // the current directory at start, where the settings file is
    SavedSettings read;    // at start
    SettingsToSave atExit; // filled in as the windows close, saved once by the application
    // Refresh: saves the folders given (none: the file's stay) in a save of their own, and
    // gives back the folders the file then holds.
    std::function<std::vector<std::string>(const std::optional<std::vector<std::string>>&)> refreshFolders;
};
