// The tray menu of a big tree, and what the process holds after many menus and refreshes.
#include <windows.h>
#include <functional>
#include <stdexcept>
#include "ResourceCount.h"
#include "framework/Handles.h"
#include "res/resource.h"
#include "tools/bench/BenchApp.h"
#include "tools/bench/FloorMenu.h"
#include "tools/bench/FloorOrder.h"
#include "tools/bench/Listing.h"
#include "tools/bench/Scenarios.h"

namespace {
constexpr int kSteadyCycles = 2000;
constexpr int kSmokeCycles = 2;
constexpr int kWarmUpCycles = 20;
constexpr double kSettleMs = 1500;
// Cycles stop early once they have taken this long.
constexpr double kSteadyBudgetMs = 600000;
// Folders expanded before the cycles, so that each refresh saves and restores them.
constexpr size_t kSteadyExpanded = 10;
// Submenus of 1,000 files opened and drawn with their icons, to count what they leave behind.
constexpr int kIconMenus = 1000;
constexpr double kIconMenusBudgetMs = 600000;

void ShowTrayMenu(const BenchApp& app)
{
    ::SendMessageA(app.View().m_hWnd, WM_TRAYNOTIFY, 1, WM_RBUTTONUP);
}

// The whole tree at once, as the menu was built before its submenus were read as they open.
void AppendWholeTree(HMENU menu, const std::string& folder, UINT& nextId)
{
    const Listing listing = ListFolder(folder);
    for (const std::string& name : listing.folders) {
        HMENU submenu = ::CreatePopupMenu();
        AppendWholeTree(submenu, folder + '\\' + name, nextId);
        ::AppendMenuA(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(submenu), name.c_str());
    }
    for (const std::string& name : listing.files)
        ::AppendMenuA(menu, MF_STRING, nextId++, name.c_str());
}

// The least a right click must do to show the menu: the root's level and the fixed items.
double FloorTrayMenu(const std::string& root, void (*append)(HMENU, const std::string&, UINT&) = AppendLevel)
{
    const double start = NowMs();
    UniqueMenu menu(::CreatePopupMenu());
    UINT nextId = ID_TRAY_ITEM_FIRST;
    append(menu.get(), root, nextId);
    AppendFixedItems(menu.get());
    menu.reset(); // its submenus go with it
    return NowMs() - start;
}

ScenarioResult MeasureTrayMenu(const char* name, const std::string& folder, const MeasurePlan& plan)
{
    BenchApp app(folder);
    const auto fernwick = [&] {
        const double start = NowMs();
        ShowTrayMenu(app);
        const double ms = NowMs() - start;
        app.Settle();
        return ms;
    };
    return Measure(name, plan, fernwick, [&] { return FloorTrayMenu(folder + "\\Root"); });
}

// What happens while the menu is open; then it is dismissed.
std::function<void(HMENU, HWND)> g_whileOpen;
BOOL WINAPI OpenAndDismiss(HMENU menu, UINT, int, int, int, HWND owner, const RECT*)
{
    if (g_whileOpen)
        g_whileOpen(menu, owner);
    return FALSE;
}

} // namespace

ScenarioResult MeasureTray(const BenchOptions& options)
{
    return MeasureTrayMenu("tray", options.data + "\\tray", options.Plan());
}

ScenarioResult MeasureTrayOpen(const BenchOptions& options)
{
    const std::string folder = options.data + "\\trayopen";
    ScenarioResult result = MeasureTrayMenu("tray_open", folder, options.Plan());
    if (options.OneSide())
        return result;
    result.figures.emplace_back("whole_tree_ms", FloorTrayMenu(folder + "\\Root", AppendWholeTree));
    return result;
}

ScenarioResult MeasureTraySubmenu(const BenchOptions& options)
{
    const std::string folder = options.data + "\\trayopen";
    const std::string thousandFolder = folder + "\\Root\\Thousand";
    BenchApp app(folder);
    g_shellCalls.TrackPopupMenu = OpenAndDismiss;
    // Right-clicks, and while the menu is open does open with the submenu Thousand. It is the
    // root's last folder by name only where the search sorts: find it.
    const auto withThousand = [&](const std::function<double(HMENU, HWND)>& open) {
        double ms = 0;
        int items = 0;
        g_whileOpen = [&](HMENU menu, HWND owner) {
            for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
                char text[32] = {};
                ::GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
                if (std::string(text) != "Thousand")
                    continue;
                HMENU thousand = ::GetSubMenu(menu, i);
                ms = open(thousand, owner);
                items = ::GetMenuItemCount(thousand);
            }
        };
        ShowTrayMenu(app);
        app.Settle();
        g_whileOpen = nullptr;
        if (items == 0)
            throw std::runtime_error("the submenu Thousand showed nothing");
        return ms;
    };
    size_t iconsDrawn = 0;
    // Filled as it opens, and the items on its first screen drawn with their icons.
    const auto fernwick = [&] {
        return withThousand([&](HMENU thousand, HWND owner) {
            const double ms = OpenAndPaint(thousand, owner);
            iconsDrawn = app.View().m_trayMenuIcons.CountLookedUp();
            return ms;
        });
    };
    // The same submenu without icons: the same enumeration and appends, opened and painted.
    const auto appendLevel = [&] {
        UniqueMenu menu(::CreatePopupMenu());
        UINT nextId = ID_TRAY_ITEM_FIRST;
        AppendLevel(menu.get(), thousandFolder, nextId);
        return menu;
    };
    const auto plain = [&] {
        const double start = NowMs();
        const UniqueMenu menu = appendLevel();
        OpenAndPaint(menu.get(), app.View().m_hWnd);
        return NowMs() - start;
    };
    ScenarioResult result = Measure("tray_submenu", options.Plan(), fernwick, plain);
    if (options.OneSide())
        return result;
    result.figures.emplace_back("icons_drawn", static_cast<double>(iconsDrawn));

    // The filling alone, against the floor of the same enumeration and appends.
    const auto fill = [&] {
        return withThousand([](HMENU thousand, HWND owner) {
            const double start = NowMs();
            ::SendMessageA(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(thousand), 0);
            return NowMs() - start;
        });
    };
    const auto fillFloor = [&] {
        const double start = NowMs();
        appendLevel();
        return NowMs() - start;
    };
    const ScenarioResult filling = Measure("tray_submenu fill", options.Plan(), fill, fillFloor);
    result.figures.emplace_back("fill_ms", filling.FernwickMedian());
    result.figures.emplace_back("fill_floor_ms", filling.FloorMedian());

    // What many menus drawn with their icons leave behind.
    const int planned = options.smoke ? kSmokeCycles : kIconMenus;
    const ResourceCount before = CountResources();
    const double start = NowMs();
    int menus = 0;
    while (menus < planned && (menus == 0 || NowMs() - start < kIconMenusBudgetMs)) {
        fernwick();
        if (++menus % 100 == 0)
            Progress("tray_submenu: %d menus drawn", menus);
    }
    const ResourceCount after = CountResources();
    result.figures.emplace_back("menus_drawn", menus);
    result.figures.emplace_back("gdi_growth", after.gdiObjects - before.gdiObjects);
    result.figures.emplace_back("menus_growth", after.menus - before.menus);
    return result;
}

SteadyState MeasureSteadyState(const BenchOptions& options)
{
    const std::string folder = options.data + "\\tray";
    BenchApp app(folder, DeepestFolders(folder + "\\Root", 3, kSteadyExpanded, FloorOrder()));
    const auto expanded = [&] {
        std::vector<std::string> list;
        app.Tree().CollectExpanded(list, FALSE);
        return list;
    };
    const std::vector<std::string> expandedAtStart = expanded();
    if (expandedAtStart.empty())
        throw std::runtime_error("no folder was restored at the start");
    const auto cycle = [&] {
        ShowTrayMenu(app);
        ::SendMessageA(app.Frame(), WM_COMMAND, ID_FILE_REFRESH, 0);
        app.Settle();
    };
    // What the first cycles allocate for good is no growth: the caches, the image list, and
    // what the tree keeps from its first check, at most a second after a refresh wrote the
    // settings file beside the root, that its root is still the same folder. So the program
    // idles a moment, as its message loop would, before anything is counted.
    for (int i = 0; i < kWarmUpCycles; ++i)
        cycle();
    for (const double start = NowMs(); NowMs() - start < kSettleMs;)
        app.Settle();
    Progress("steady_state: %d cycles to warm up", kWarmUpCycles);
    SteadyState steady;
    steady.plannedCycles = options.smoke ? kSmokeCycles : kSteadyCycles;
    const ResourceCount before = CountResources();
    const long long privateBefore = PrivateBytes();
    const long long heapBefore = HeapBytes();
    const double start = NowMs();
    while (steady.cycles < steady.plannedCycles && (steady.cycles == 0 || NowMs() - start < kSteadyBudgetMs)) {
        cycle();
        if (++steady.cycles % 200 == 0)
            Progress("steady_state: %d cycles", steady.cycles);
    }
    steady.heapBytesGrowth = HeapBytes() - heapBefore;
    if (expanded() != expandedAtStart)
        throw std::runtime_error("the refreshes lost expanded folders");
    const ResourceCount after = CountResources();
    steady.handlesGrowth = after.kernelHandles - before.kernelHandles;
    steady.windowsGrowth = after.windows - before.windows;
    steady.menusGrowth = after.menus - before.menus;
    steady.gdiGrowth = after.gdiObjects - before.gdiObjects;
    steady.privateKiBGrowth = (PrivateBytes() - privateBefore) / 1024;
    Progress("steady_state: %d cycles in %.1f s", steady.cycles, (NowMs() - start) / 1000);
    return steady;
}
