// CFileFind: whether a file search finds anything. The search stays open until the next one
// or the object's end.
#pragma once
#include "framework/Handles.h"

class CFileFind {
public:
    // Ends any earlier search. TRUE when something matches.
    BOOL FindFile(const char* pattern = "*.*");

private:
    UniqueFindHandle m_hFind;
};
