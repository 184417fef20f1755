// COM on the calling thread for the object's life, or OLE, which the shell's menus, the
// clipboard and drag and drop need. Only a successful initialisation is undone.
#pragma once
#include <ole2.h>

class CComScope {
public:
    enum class Kind { Com, Ole };
    explicit CComScope(Kind kind = Kind::Com)
        : m_kind(kind), m_hr(kind == Kind::Ole ? ::OleInitialize(nullptr) : ::CoInitialize(nullptr))
    {
    }
    ~CComScope()
    {
        if (FAILED(m_hr))
            return;
        if (m_kind == Kind::Ole)
            ::OleUninitialize();
        else
            ::CoUninitialize();
    }
    CComScope(const CComScope&) = delete;
    CComScope& operator=(const CComScope&) = delete;

private:
    Kind m_kind;
    HRESULT m_hr;
};
