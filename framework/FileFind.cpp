#include "framework/FileFind.h"
#include <algorithm>
#include <cstring>
#include "framework/Path.h"
#include "mbcs/Mbcs.h"

BOOL CFileFind::FindFile(const char* pattern)
{
    Close();
    m_hFind.reset(::FindFirstFileA(pattern, &m_next));
    if (!m_hFind)
        return FALSE;
    m_strRoot = AfxGetFullPathName(pattern);
    int cut = std::max(ReverseFind(m_strRoot, '\\'), ReverseFind(m_strRoot, '/'));
    if (cut >= 0)
        m_strRoot.resize(static_cast<size_t>(cut));
    return TRUE;
}

BOOL CFileFind::FindNextFile()
{
    if (!m_hFind)
        return FALSE;
    m_found = m_next;
    return ::FindNextFileA(m_hFind.get(), &m_next);
}

void CFileFind::Close()
{
    m_hFind.reset();
    m_strRoot.clear();
}

BOOL CFileFind::IsDots() const
{
    return IsDirectory() && (std::strcmp(m_found.cFileName, ".") == 0 || std::strcmp(m_found.cFileName, "..") == 0);
}
