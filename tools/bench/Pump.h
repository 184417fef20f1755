// The thread's messages dispatched as the program's own loop would, for the scenarios that
// time from a message or a key until what it changed is on the screen.
#pragma once
#include <windows.h>
#include <functional>
#include <string>

// Nothing of the thread's windows waits to be painted.
bool NothingToPaint();
// Dispatches the thread's messages until done() holds, looking after each one; throws
// std::runtime_error naming what did not happen when it has not within timeoutMs.
void PumpUntil(const std::function<bool()>& done, const char* what, double timeoutMs = 30000);
// Dispatches whatever comes for ms milliseconds.
void PumpFor(double ms);
// Keys as the keyboard gives them, to the window with the focus.
void SendKeys(const std::wstring& keys);
// A key typed as the keyboard types it (SendInput, so the program sees input waiting) into
// the edit with the focus, until it holds the key and every window is painted. Its time in
// milliseconds. Throws std::runtime_error when the key cannot be sent or the edit lacks the focus.
double TypeKey(HWND box, wchar_t key);
// The window in front and the edit in it with the focus, and all painted.
void FocusBox(HWND window, HWND box);
