// CImageList: an image-list handle. It never owns the list: the one it holds is the
// shell's, shared by the whole system.
#pragma once
#include "framework/Afx.h"

class CImageList {
public:
    HIMAGELIST m_hImageList = nullptr;

    void Attach(HIMAGELIST hImageList) { m_hImageList = hImageList; }
    HIMAGELIST Detach()
    {
        HIMAGELIST h = m_hImageList;
        m_hImageList = nullptr;
        return h;
    }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
};
