// From the hotkey to the find window painted, and from a second start's /menu to the tray
// menu painted, over the tray_open tree. The message the hotkey or the second start posts is
// where the time starts; starting that second process is not in it.
#include <windows.h>
#include <stdexcept>
#include "frame/MainFrame.h"
#include "frame/StartSwitch.h"
#include "framework/Handles.h"
#include "res/resource.h"
#include "tools/bench/BenchApp.h"
#include "tools/bench/FloorFind.h"
#include "tools/bench/FloorFindBox.h"
#include "tools/bench/FloorMenu.h"
#include "tools/bench/Pump.h"
#include "tools/bench/Scenarios.h"

namespace {
constexpr double kIndexTimeoutMs = 600000;
// The find window's client at 96 DPI: its size less its border.
constexpr SIZE kFindClient{558, 358};

// The tray menu is opened by the real menu loop, painted and closed by the Esc waiting for it.
bool g_menuPainted = false;
BOOL WINAPI PaintedAndClosed(HMENU menu, UINT, int x, int y, int, HWND owner, const RECT*)
{
    OpenAndPaint(menu, owner, {x, y});
    g_menuPainted = true;
    return FALSE;
}

struct HotkeyBench {
    explicit HotkeyBench(const BenchOptions& options) : folder(options.data + "\\trayopen"), app(folder)
    {
        Finder().BuildNow();
        PumpUntil([this] { return !Finder().m_index.Busy(); }, "the index", kIndexTimeoutMs);
    }
    CFinder& Finder() const { return app.View().m_finder; }
    void Rest() const
    {
        PumpUntil([this] { return !Finder().m_index.Busy() && NothingToPaint(); }, "the program at rest");
    }
    std::string folder;
    BenchApp app;
};
} // namespace

ScenarioResult MeasureHotkeyFind(const BenchOptions& options)
{
    const HotkeyBench bench(options);
    CFindWindow& window = bench.Finder().m_window;
    const auto fernwick = [&] {
        const double start = NowMs();
        ::PostMessageW(bench.app.View().m_hWnd, WM_HOTKEY, 1, 0);
        PumpUntil([&] { return window.m_hWnd != nullptr && ::IsWindowVisible(window.m_hWnd) && NothingToPaint(); },
                  "the find window");
        const double ms = NowMs() - start;
        window.Close();
        bench.Rest();
        return ms;
    };
    FloorFind find(bench.Finder().m_index.Root().substr(0, bench.Finder().m_index.Root().size() - 1));
    FloorFindBox box(find, reinterpret_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)), kFindClient);
    // A window of an edit, a status and an empty list shown in front at the pointer, painted.
    const auto floor = [&] {
        const double start = NowMs();
        POINT cursor{};
        ::GetCursorPos(&cursor);
        box.ShowAt(cursor);
        PumpUntil(NothingToPaint, "the floor's find window");
        const double ms = NowMs() - start;
        ::ShowWindow(box.Window(), SW_HIDE);
        bench.Rest();
        return ms;
    };
    return Measure("hotkey_find", options.Plan(), fernwick, floor);
}

ScenarioResult MeasureHotkeyMenu(const BenchOptions& options)
{
    const HotkeyBench bench(options);
    g_shellCalls.TrackPopupMenu = PaintedAndClosed;
    const auto fernwick = [&] {
        g_menuPainted = false;
        const double start = NowMs();
        ::PostMessageW(bench.app.Frame(), WM_SHOWINSTANCE, static_cast<WPARAM>(StartRequest::Menu), 0);
        PumpUntil([] { return g_menuPainted; }, "the tray menu");
        const double ms = NowMs() - start;
        bench.Rest();
        return ms;
    };
    // The root's level and the fixed items, opened at the pointer by the same loop, without icons.
    const HWND owner = bench.app.View().m_hWnd;
    const std::string root = bench.folder + "\\Root";
    const auto floor = [&] {
        const double start = NowMs();
        UniqueMenu menu(::CreatePopupMenu());
        UINT nextId = ID_TRAY_ITEM_FIRST;
        AppendLevel(menu.get(), root, nextId);
        AppendFixedItems(menu.get());
        POINT cursor{};
        ::GetCursorPos(&cursor);
        ::SetForegroundWindow(owner);
        OpenAndPaint(menu.get(), owner, cursor);
        const double ms = NowMs() - start;
        menu.reset();
        bench.Rest();
        return ms;
    };
    return Measure("hotkey_menu", options.Plan(), fernwick, floor);
}
