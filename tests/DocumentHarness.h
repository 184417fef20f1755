// Opening and closing the one document of a test's template, as start-up and exit do.
#pragma once
#include <gtest/gtest.h>
#include "framework/DocTemplate.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

// Opens the document with its frame shown without activation; the frame's window.
inline HWND OpenTestDocument(CWinApp& app, CSingleDocTemplate* docTemplate)
{
    app.AddDocTemplate(docTemplate);
    app.m_nCmdShow = SW_SHOWNOACTIVATE;
    app.OnFileNew();
    EXPECT_NE(app.m_pMainWnd, nullptr);
    return app.m_pMainWnd != nullptr ? app.m_pMainWnd->m_hWnd : nullptr;
}

// Throws away what the test left queued, the quit that closing posts among it.
inline void DrainMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_PAINT)
            ::DispatchMessageA(&msg); // a paint not done comes back at once
    }
}

inline void CloseTestDocuments(CWinApp& app)
{
    app.CloseAllDocuments(FALSE);
    DrainMessages();
}
