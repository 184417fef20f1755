// The caption of a file in the tray menu. No windows.h, so that it is built and fuzzed
// natively as well.
#pragma once
#include <string>
#include <string_view>

// A shortcut or internet shortcut (extension ".lnk" or ".url" of the full path, in any letter
// case) shows its file name without the extension; any other file shows name, as the file
// search returned it.
std::string TrayCaption(std::string_view fullPath, std::string_view name);
