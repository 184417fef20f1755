// A long run of the whole program in this process: a thousand refreshes, a thousand tray
// menus and a hundred About boxes, each moved to another scale and back, leave no handle,
// window, menu, GDI object or memory behind.
#include "AppFixture.h"
#include "AlertableWait.h"
#include "ModalScript.h"
#include "ResourceCount.h"
#include "ScaleChange.h"
#include "ShellRecorder.h"
#include "framework/Dpi.h"
#include "res/resource.h"

namespace {
class LongRunTest : public AppFixture {
protected:
    void Cycle(int refreshes, int menus, int aboutBoxes)
    {
        // Each refresh as a user's: the program's loop waits (alertably) before the next one
        // comes, and the folder watches the refresh ended free themselves then.
        for (int i = 0; i < refreshes; ++i) {
            Command(ID_FILE_REFRESH);
            ::SleepEx(0, TRUE);
        }
        for (int i = 0; i < menus; ++i)
            ::SendMessageA(View().m_hWnd, WM_TRAYNOTIFY, 1, WM_RBUTTONUP);
        for (int i = 0; i < aboutBoxes; ++i)
            RunModal([&] { return ::SendMessageA(View().m_hWnd, WM_COMMAND, ID_APP_ABOUT, 0); },
                     {[](HWND hDlg) {
                         // The fonts and the link's cursor are made again at each scale.
                         const RECT rect = WindowRect(hDlg);
                         ChangeScale(hDlg, 2 * AfxGetSystemDpi(), rect);
                         ChangeScale(hDlg, AfxGetSystemDpi(), rect);
                         ::SendMessageA(::GetDlgItem(hDlg, IDC_LINK), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
                         ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
                     }});
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
    }

    ShellRecorder shell;
};

TEST_F(LongRunTest, AThousandRefreshesAndTrayMenusAndAHundredAboutBoxesLeaveNothingBehind)
{
    for (const char* name : {"Root\\Games\\Arcade\\pong.txt", "Root\\Games\\cards.lnk", "Root\\Tools\\edit.txt",
                             "Root\\site.url", "Root\\notes.txt"})
        folder.MakeFile(name);
    SetIniValue("DirTree0", "Games");
    SetIniValue("DirTree1", "Games\\Arcade");
    Start();
    Cycle(20, 20, 3);
    const ResourceCount before = CountResources();
    const long long memoryBefore = PrivateBytes();

    Cycle(1000, 1000, 100);
    const ResourceCount after = CountResources();
    EXPECT_TRUE(NoGrowth(before, after)) << "before " << before << "\nafter  " << after;
    // The heap may settle a little; a leak of a few hundred bytes a cycle would not. A watch
    // that ended frees its memory when its cancelled request completes, which a loaded
    // machine may bring a moment later: the program's loop would take it as it waits.
    long long memoryAfter = 0;
    EXPECT_TRUE(WaitAlertably([&] { return (memoryAfter = PrivateBytes()) - memoryBefore < 512 * 1024; }))
        << memoryBefore << " -> " << memoryAfter;
    EXPECT_TRUE(IsExpanded(Item("Arcade", Item("Games")))) << "still the same tree";
}
} // namespace
