// OLE for the user-interface thread while its owner lives: the shell's menus, the clipboard
// and drag and drop need it. Only a successful initialisation is undone.
#pragma once
#include <ole2.h>

class COleSession {
public:
    COleSession() : m_hr(::OleInitialize(nullptr)) {}
    ~COleSession()
    {
        if (SUCCEEDED(m_hr))
            ::OleUninitialize();
    }
    COleSession(const COleSession&) = delete;
    COleSession& operator=(const COleSession&) = delete;

private:
    HRESULT m_hr;
};
