#include "tools/bench/Pump.h"
#include <stdexcept>
#include <string>
#include "tools/bench/Measure.h"

namespace {
// Dispatches one message if one waits; otherwise waits a moment for one.
void DispatchOne()
{
    MSG msg;
    if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    } else {
        ::MsgWaitForMultipleObjectsEx(0, nullptr, 1, QS_ALLINPUT, MWMO_ALERTABLE | MWMO_INPUTAVAILABLE);
    }
}
} // namespace

bool NothingToPaint()
{
    return (HIWORD(::GetQueueStatus(QS_PAINT)) & QS_PAINT) == 0;
}

void PumpUntil(const std::function<bool()>& done, const char* what, double timeoutMs)
{
    const double deadline = NowMs() + timeoutMs;
    while (!done()) {
        if (NowMs() > deadline)
            throw std::runtime_error(std::string(what) + " did not happen within " + std::to_string(timeoutMs) + " ms");
        DispatchOne();
    }
}

void PumpFor(double ms)
{
    for (const double end = NowMs() + ms; NowMs() < end;)
        DispatchOne();
}

double TypeKey(HWND box, wchar_t key)
{
    const int length = ::GetWindowTextLengthW(box);
    const double start = NowMs();
    ::PostMessageW(box, WM_CHAR, key, 1);
    PumpUntil([&] { return ::GetWindowTextLengthW(box) > length && NothingToPaint(); }, "a key's results");
    return NowMs() - start;
}
