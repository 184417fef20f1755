#include "ModalScript.h"
#include <gtest/gtest.h>
#include <string_view>

namespace {
constexpr UINT kTickMs = 20;
constexpr int kTicksAfterLastStep = 150; // 3 s

struct Script {
    std::vector<ModalStep> steps;
    size_t next = 0;
    int ticksAfterLast = 0;
    bool timedOut = false;
};
Script* g_script = nullptr;

HWND OpenDialog()
{
    HWND found = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hWnd, LPARAM data) -> BOOL {
            char name[16] = {};
            ::GetClassNameA(hWnd, name, sizeof name);
            if (std::string_view(name) != "#32770" || !::IsWindowVisible(hWnd))
                return TRUE;
            *reinterpret_cast<HWND*>(data) = hWnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    Script& script = *g_script;
    HWND hDlg = OpenDialog();
    if (script.next < script.steps.size()) {
        if (hDlg != nullptr)
            script.steps[script.next++](hDlg);
        return;
    }
    if (hDlg != nullptr && ++script.ticksAfterLast > kTicksAfterLastStep) {
        script.timedOut = true;
        ::DestroyWindow(hDlg);
    }
}
} // namespace

INT_PTR RunModal(const std::function<INT_PTR()>& showModal, std::vector<ModalStep> steps)
{
    Script script{std::move(steps)};
    g_script = &script;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, kTickMs, Tick);
    const INT_PTR result = showModal();
    ::KillTimer(nullptr, timer);
    g_script = nullptr;
    EXPECT_FALSE(script.timedOut) << "the dialog was still open after its last step";
    EXPECT_EQ(script.next, script.steps.size()) << "the dialog ended before its last step";
    return result;
}

void PostKey(HWND hDlg, WPARAM key)
{
    HWND focus = ::GetFocus();
    ::PostMessageA(focus != nullptr ? focus : hDlg, WM_KEYDOWN, key, 1);
}
