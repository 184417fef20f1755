#include "tools/bench/Pump.h"
#include <stdexcept>
#include <string>
#include <vector>
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

void SendKeys(const std::wstring& keys)
{
    std::vector<INPUT> inputs(2 * keys.size());
    for (size_t i = 0; i < inputs.size(); ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wScan = keys[i / 2];
        inputs[i].ki.dwFlags = KEYEVENTF_UNICODE | (i % 2 == 1 ? KEYEVENTF_KEYUP : 0);
    }
    if (::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size())
        throw std::runtime_error("keys cannot be sent (error " + std::to_string(::GetLastError()) + ")");
}

double TypeKey(HWND box, wchar_t key)
{
    if (::GetFocus() != box)
        throw std::runtime_error("the find box lost the focus");
    const int length = ::GetWindowTextLengthW(box);
    const double start = NowMs();
    SendKeys(std::wstring(1, key));
    PumpUntil([&] { return ::GetWindowTextLengthW(box) > length && NothingToPaint(); }, "a key's results");
    return NowMs() - start;
}

void FocusBox(HWND window, HWND box)
{
    ::SetForegroundWindow(window);
    ::SetFocus(box);
    PumpUntil([box] { return ::GetFocus() == box && NothingToPaint(); }, "the find box's focus");
}
