// CMainFrame: the single top-level window, hosting the launcher view.
#pragma once
#include "framework/FrameWnd.h"

class CMainFrame : public CFrameWnd {
public:
    CMainFrame();

    int m_nInitialShowCmd; // the show command of the frame's first ShowWindow

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnShowInstance();
};
