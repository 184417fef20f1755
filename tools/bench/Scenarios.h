// The benchmark's scenarios: each measures Fernwick and the floor of the same work.
#pragma once
#include <string>
#include "tools/bench/Measure.h"

struct BenchOptions {
    std::string data; // the folder make-bench-data filled, in its Windows form
    bool smoke = false; // tiny folders, one run each: only shows that every scenario still runs
    Side side = Side::Both;
    int Runs() const { return smoke ? 1 : 7; }
    MeasurePlan Plan() const { return {Runs(), side}; }
    // One side's run alone: what a scenario reports besides its pairs is left out.
    bool OneSide() const { return side != Side::Both; }
};

// Growth of what the process holds over many tray menus and refreshes of expanded folders.
struct SteadyState {
    int plannedCycles = 0;
    int cycles = 0; // fewer than planned when the time ran out
    int handlesGrowth = 0;
    int windowsGrowth = 0;
    int menusGrowth = 0;
    int gdiGrowth = 0;
    long long privateKiBGrowth = 0;
    long long heapBytesGrowth = 0; // what the heaps hold, to the byte
};

ScenarioResult MeasureSort(const BenchOptions& options);
ScenarioResult MeasureExpand(const BenchOptions& options);
ScenarioResult MeasureRestore(const BenchOptions& options);
ScenarioResult MeasureTray(const BenchOptions& options);
ScenarioResult MeasureTrayOpen(const BenchOptions& options);
ScenarioResult MeasureTraySubmenu(const BenchOptions& options);
ScenarioResult MeasureLive(const BenchOptions& options);
SteadyState MeasureSteadyState(const BenchOptions& options);
ScenarioResult MeasureStart(const BenchOptions& options);
ScenarioResult MeasureCollapse(const BenchOptions& options);
// Start and exit over a grown settings file; the ratio is of the exit at 3,000 stale keys.
ScenarioResult MeasureSettings(const BenchOptions& options);
// Finding over the tray_open tree: a key until its results are painted (the run's median
// key; p99_ms over every key), the index built, a new file until a search finds it.
ScenarioResult MeasureFindKey(const BenchOptions& options);
ScenarioResult MeasureFindIndex(const BenchOptions& options);
ScenarioResult MeasureFindFresh(const BenchOptions& options);
// The hotkey until the find window is painted; /menu until the tray menu is.
ScenarioResult MeasureHotkeyFind(const BenchOptions& options);
ScenarioResult MeasureHotkeyMenu(const BenchOptions& options);
