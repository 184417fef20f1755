// The settings file: window placement, the topmost state and the expanded folders.
// Strings are code page 932 bytes; the settings file path comes last.
#pragma once
#include <string>
#include <vector>
#include "frame/HandedSettings.h"

bool FileExists(const std::string& path);

// All of it from one read, each value exactly as the profile functions would read it:
// "WindowPos" into 68 bytes, "TopMost" as an integer (default 0), "DirTree0", "DirTree1",
// ... into 260 bytes each up to the first that is missing or empty, "Hotkey" into 64 bytes.
// Nothing when the file does not exist.
SavedSettings ReadSettings(const std::string& iniPath);

// One save, which leaves the file as writing its keys one by one would: "WindowPos", then
// the folders from "DirTree0" on with the stale keys after them removed, then "TopMost",
// which goes only into a file that exists by then. A save that changes nothing leaves the
// file alone, and one into no file makes it. The file is read once and written whole to a
// new file beside the one the settings live in (behind any symbolic link, even one to a
// file not made yet), which replaces it in one step, so a kill at any moment leaves the
// old file or the new one. A file with more than one name (hard links) is written in
// place, keeping its other names.
void SaveSettings(const SettingsToSave& save, const std::string& iniPath);
// The folders alone.
void WriteDirTreeList(const std::vector<std::string>& list, const std::string& iniPath);
