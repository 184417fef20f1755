// Waiting as the program's message loop waits: alertably, so that folder change
// notifications (completion routines) run, then handling the messages that came.
#pragma once
#include <windows.h>

// Until done() holds or timeoutMs has passed; whether it held.
template <class Done>
bool WaitAlertably(Done done, DWORD timeoutMs = 10000)
{
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (!done()) {
        if (::GetTickCount64() >= end)
            return false;
        ::MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_ALERTABLE | MWMO_INPUTAVAILABLE);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
    }
    return true;
}
