#include "framework/FileFind.h"

BOOL CFileFind::FindFile(const char* pattern)
{
    m_hFind.reset();
    WIN32_FIND_DATAA found;
    m_hFind.reset(::FindFirstFileA(pattern, &found));
    return m_hFind ? TRUE : FALSE;
}
