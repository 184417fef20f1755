// The settings file: window placement, the topmost state and the expanded folders.
// Strings are code page 932 bytes; the settings file path comes last.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

bool FileExists(const std::string& path);

// On failure the record is left as it was.
bool ReadWindowPlacement(WINDOWPLACEMENT& placement, const std::string& iniPath);
void WriteWindowPlacement(const WINDOWPLACEMENT& placement, const std::string& iniPath);

// Appends the folders, relative to the root folder; true when the list is then non-empty.
bool ReadDirTreeList(std::vector<std::string>& list, const std::string& iniPath);
void WriteDirTreeList(const std::vector<std::string>& list, const std::string& iniPath);

// Both need the file to exist already.
bool ReadTopMost(const std::string& iniPath);
void WriteTopMost(bool topMost, const std::string& iniPath);
