// Drives a modal dialog from inside its own modal loop, as a user would: one step per
// timer tick, each given the dialog window of this thread that is open at the time.
// A dialog still open a few seconds after the last step is destroyed and the test fails,
// so no test waits for ever.
#pragma once
#include <windows.h>
#include <functional>
#include <vector>

using ModalStep = std::function<void(HWND hDlg)>;

// Runs showModal (which shows a modal dialog and returns when it ends) with the steps;
// what showModal returned.
INT_PTR RunModal(const std::function<INT_PTR()>& showModal, std::vector<ModalStep> steps);

// A key press as the dialog's loop retrieves it, aimed at the window with the focus.
void PostKey(HWND hDlg, WPARAM key);
