// Owns one reference to a COM interface and releases it once.
#pragma once
#include <unknwn.h>

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr()
    {
        if (m_p != nullptr)
            m_p->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* operator->() const { return m_p; }
    T* get() const { return m_p; }
    // For the creating call's out parameter; the pointer must be empty.
    void** out() { return reinterpret_cast<void**>(&m_p); }

private:
    T* m_p = nullptr;
};
