// A root folder that holds every way the shell finds an icon: the demo's shortcuts, files
// whose type decides, files that carry their own, folders that may carry their own.
#pragma once
#include <string>
#include "TempFolder.h"

// Makes dir\Root below the folder (dir relative to it); false when the demo could not be made.
bool MakeIconCases(const TempFolder& folder, const std::string& dir);
