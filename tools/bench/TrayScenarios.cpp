// The tray menu of a big tree, and what the process holds after many menus and refreshes.
#include <windows.h>
#include <stdexcept>
#include "ResourceCount.h"
#include "framework/Handles.h"
#include "res/resource.h"
#include "tools/bench/BenchApp.h"
#include "tools/bench/Listing.h"
#include "tools/bench/Scenarios.h"

namespace {
constexpr int kSteadyCycles = 200;
constexpr int kSmokeCycles = 2;
// Cycles stop early once they have taken this long: today a cycle may take seconds.
constexpr double kSteadyBudgetMs = 600000;
// The program's own commands below the folders: six separators and six items.
constexpr int kFixedItems = 12;

void ShowTrayMenu(const BenchApp& app)
{
    ::SendMessageA(app.View().m_hWnd, WM_TRAYNOTIFY, 1, WM_RBUTTONUP);
}

// The same submenus and items, with the same calls, in the order the search gives.
void AppendFolder(HMENU menu, const std::string& folder, UINT& nextId)
{
    const Listing listing = ListFolder(folder);
    for (const std::string& name : listing.folders) {
        HMENU submenu = ::CreatePopupMenu();
        AppendFolder(submenu, folder + '\\' + name, nextId);
        ::AppendMenuA(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(submenu), name.c_str());
    }
    for (const std::string& name : listing.files)
        ::AppendMenuA(menu, MF_STRING, nextId++, name.c_str());
}

double FloorTrayMenu(const std::string& root)
{
    const double start = NowMs();
    UniqueMenu menu(::CreatePopupMenu());
    UINT nextId = ID_TRAY_ITEM_FIRST;
    AppendFolder(menu.get(), root, nextId);
    for (int i = 0; i < kFixedItems; ++i)
        ::AppendMenuA(menu.get(), i % 2 == 0 ? MF_SEPARATOR : MF_STRING, ID_FILE_REFRESH, "item");
    menu.reset(); // its submenus go with it
    return NowMs() - start;
}
} // namespace

ScenarioResult MeasureTray(const BenchOptions& options)
{
    const std::string folder = options.data + "\\tray";
    BenchApp app(folder);
    const auto fernwick = [&] {
        const double start = NowMs();
        ShowTrayMenu(app);
        const double ms = NowMs() - start;
        if (app.View().m_trayPaths.empty())
            throw std::runtime_error("the tray menu listed no files");
        app.Settle();
        return ms;
    };
    return Measure("tray", options.Runs(), fernwick, [&] { return FloorTrayMenu(folder + "\\Root"); });
}

SteadyState MeasureSteadyState(const BenchOptions& options)
{
    BenchApp app(options.data + "\\tray");
    const auto cycle = [&] {
        ShowTrayMenu(app);
        ::SendMessageA(app.Frame(), WM_COMMAND, ID_FILE_REFRESH, 0);
        app.Settle();
    };
    // What the first cycle allocates for good (caches, the image list) is no growth.
    cycle();
    SteadyState steady;
    steady.plannedCycles = options.smoke ? kSmokeCycles : kSteadyCycles;
    const ResourceCount before = CountResources();
    const long long privateBefore = PrivateBytes();
    const double start = NowMs();
    while (steady.cycles < steady.plannedCycles && (steady.cycles == 0 || NowMs() - start < kSteadyBudgetMs)) {
        cycle();
        if (++steady.cycles % 20 == 0)
            Progress("steady_state: %d cycles", steady.cycles);
    }
    const ResourceCount after = CountResources();
    steady.handlesGrowth = after.kernelHandles - before.kernelHandles;
    steady.windowsGrowth = after.windows - before.windows;
    steady.menusGrowth = after.menus - before.menus;
    steady.gdiGrowth = after.gdiObjects - before.gdiObjects;
    steady.privateKiBGrowth = (PrivateBytes() - privateBefore) / 1024;
    Progress("steady_state: %d cycles in %.1f s", steady.cycles, (NowMs() - start) / 1000);
    return steady;
}
