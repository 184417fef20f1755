// The floor of Fernwick.exe's start: a window whose client area is a tree-view control of
// N plain items (N: the first argument, 2,000 without one), shown, then the message loop.
#include <windows.h>
#include <commctrl.h>
#include <cstdlib>
#include <string>

namespace {
constexpr char kClassName[] = "FernwickBenchFloorApp";

LRESULT CALLBACK FloorWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        ::MoveWindow(::GetWindow(hWnd, GW_CHILD), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCmd)
{
    const int count = __argc >= 2 ? std::atoi(__argv[1]) : 2000;
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = FloorWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    ::RegisterClassA(&windowClass);
    HWND frame = ::CreateWindowExA(0, kClassName, "Floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    HWND tree = ::CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES |
                                  TVS_LINESATROOT, 0, 0, 0, 0, frame, nullptr, instance, nullptr);
    if (tree == nullptr)
        return 1;
    for (int i = 0; i < count; ++i) {
        std::string text = "Item " + std::to_string(i);
        TVINSERTSTRUCTA insert{};
        insert.hParent = TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = text.data();
        TreeView_InsertItem(tree, &insert);
    }
    ::ShowWindow(frame, showCmd);
    ::UpdateWindow(frame);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return 0;
}
