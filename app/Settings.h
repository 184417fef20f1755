// The settings file: window placement, the topmost state and the expanded folders.
// Strings are code page 932 bytes; the settings file path comes last.
#pragma once
#include <windows.h>
#include <optional>
#include <string>
#include <vector>
#include "app/HotkeyText.h"

bool FileExists(const std::string& path);

// What the program keeps in the settings file, all of it from one read, each value exactly
// as the profile functions would read it: "WindowPos" into 68 bytes, "TopMost" as an
// integer (default 0), "DirTree0", "DirTree1", ... into 260 bytes each up to the first that
// is missing or empty. Nothing when the file does not exist.
struct SavedSettings {
    std::optional<WINDOWPLACEMENT> placement; // only when "WindowPos" holds ten numbers
    bool topMost = false;
    std::vector<std::string> folders; // relative to the root folder
    std::string hotkey = kDefaultHotkey; // "Hotkey" as written, into 64 bytes; empty turns it off
};
SavedSettings ReadSettings(const std::string& iniPath);

// The running program's settings file path (a copy; empty where no Fernwick application
// object runs, which the settings functions refuse), and what the file held at start-up.
// The application object keeps both; the frame and the view reach them here.
std::string AfxGetIniPath();
const SavedSettings& AfxGetSavedSettings();

// Each write is one save: the file's section read once and changed in memory, then written
// whole to a new file beside the one the settings live in (behind any symbolic link), which
// replaces it in one step, so a kill at any moment leaves the old file or the new one. A
// file with more than one name (hard links) is written in place, keeping its other names.
void WriteWindowPlacement(const WINDOWPLACEMENT& placement, const std::string& iniPath);
// Writes the list from "DirTree0" on and removes the stale keys after it.
void WriteDirTreeList(const std::vector<std::string>& list, const std::string& iniPath);
// Only into a file that exists already.
void WriteTopMost(bool topMost, const std::string& iniPath);
