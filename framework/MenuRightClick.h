// A right click on an item of a menu that is open, heard inside the menu's own loop, so
// that the item can have a menu of its own while its menu stays. Windows tells a menu's owner
// with WM_MENURBUTTONUP, which this Wine never sends; a message filter of the thread hears
// the button in the menu loop on both.
#pragma once
#include <windows.h>
#include <functional>

class CMenuRightClick {
public:
    // The item under the pointer when the right button came up (screen point); true when
    // the handler took the click, which the menu then never sees. A click off every item,
    // and the clicks inside the handler's own menu, go to the menus as ever.
    using Handler = std::function<bool(HMENU hMenu, UINT nPos, POINT pt)>;

    // Listens on the calling thread for its lifetime.
    explicit CMenuRightClick(Handler handler);
    ~CMenuRightClick();
    CMenuRightClick(const CMenuRightClick&) = delete;
    CMenuRightClick& operator=(const CMenuRightClick&) = delete;

private:
    static LRESULT CALLBACK FilterProc(int code, WPARAM wParam, LPARAM lParam);
    bool OnRightButtonUp(const MSG& msg);

    Handler m_handler;
    HHOOK m_hook = nullptr;
    CMenuRightClick* m_outer = nullptr; // one listening before this one, back when this goes
    bool m_busy = false;
};
