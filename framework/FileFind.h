// CFileFind: a file search that runs one entry ahead, so that the last match is
// examined after the call that reports no further one.
#pragma once
#include <string>
#include "framework/Handles.h"

class CFileFind {
public:
    // Ends any earlier search. TRUE when something matches.
    BOOL FindFile(const char* pattern = "*.*");
    // Makes the next match current; FALSE when it was the last.
    BOOL FindNextFile();
    void Close();

    // The pattern made absolute and cut at its last backslash or slash: D:\Menu\*.* gives
    // D:\Menu, D:\*.* gives D:.
    const std::string& GetRoot() const { return m_strRoot; }
    std::string GetFileName() const { return m_found.cFileName; }
    std::string GetFilePath() const { return m_strRoot + '\\' + m_found.cFileName; }
    DWORD GetAttributes() const { return m_found.dwFileAttributes; }
    BOOL MatchesMask(DWORD dwMask) const { return (m_found.dwFileAttributes & dwMask) != 0; }
    BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
    BOOL IsDots() const;

private:
    UniqueFindHandle m_hFind;
    WIN32_FIND_DATAA m_next{};
    WIN32_FIND_DATAA m_found{};
    std::string m_strRoot;
};
