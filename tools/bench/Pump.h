// The thread's messages dispatched as the program's own loop would, for the scenarios that
// time from a message or a key until what it changed is on the screen.
#pragma once
#include <windows.h>
#include <functional>

// Nothing of the thread's windows waits to be painted.
bool NothingToPaint();
// Dispatches the thread's messages until done() holds, looking after each one; throws
// std::runtime_error naming what did not happen when it has not within timeoutMs.
void PumpUntil(const std::function<bool()>& done, const char* what, double timeoutMs = 30000);
// Dispatches whatever comes for ms milliseconds.
void PumpFor(double ms);
// A key typed into an edit: WM_CHAR posted to it, until it holds the key and every window
// is painted. Its time in milliseconds.
double TypeKey(HWND box, wchar_t key);
