// The floor of Fernwick.exe's start: a main window with a menu whose client area is a
// tree-view control of the root folder ("Root" in the current directory), its first N
// folders expanded (N: the first argument), the first row selected; shown, then the
// message loop.
#include <windows.h>
#include <commctrl.h>
#include <cstdlib>
#include "tools/bench/FloorOrder.h"
#include "tools/bench/FloorStart.h"
#include "tools/bench/FloorTree.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCmd)
{
    const size_t expanded = __argc >= 2 ? static_cast<size_t>(std::atoi(__argv[1])) : 0;
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    char directory[MAX_PATH] = {};
    ::GetCurrentDirectoryA(sizeof directory, directory);
    FloorTree floor("Floor", ::LoadMenuA(instance, MAKEINTRESOURCEA(1)));
    const FloorOrder order;
    FillStartTree(floor, order, std::string(directory) + "\\Root", expanded);
    ::ShowWindow(floor.Frame(), showCmd);
    ::UpdateWindow(floor.Frame());
    ::SetFocus(floor.Tree());
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return 0;
}
