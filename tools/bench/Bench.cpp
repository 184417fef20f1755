// fernwick_bench --data DIR [--out FILE] [--smoke] [--only NAME [--side fernwick|floor|none]]
//                [--pinned] [--processor TEXT] [--syscalls FILE]:
// measures Fernwick's own classes in this process, and Fernwick.exe's start, each against the
// floor of the same work, over the folders make-bench-data made in DIR. It prints one table
// and writes the figures to FILE as JSON. It never judges a figure: it fails only when a
// scenario cannot run. --side: the warm-up pair, then one run of one side (none: no run), so
// that a tracer outside can count what one run costs. --pinned: the caller put it, its Wine
// server and its display on one CPU. --processor: the processor as the host names it.
// --syscalls: the system calls counted per run (lines "NAME FERNWICK FLOOR").
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include "framework/Path.h"
#include "tools/bench/Report.h"
#include "tools/bench/Scenarios.h"

int main(int argc, char** argv)
{
    BenchOptions options;
    std::string out;
    std::string only; // one scenario, while working on it
    std::string side;
    std::string processor;
    std::string syscalls;
    bool pinned = false;
    bool known = true;
    for (int i = 1; i < argc && known; ++i) {
        if (std::strcmp(argv[i], "--smoke") == 0)
            options.smoke = true;
        else if (std::strcmp(argv[i], "--data") == 0 && i + 1 < argc)
            options.data = argv[++i];
        else if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc)
            out = argv[++i];
        else if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc)
            only = argv[++i];
        else if (std::strcmp(argv[i], "--side") == 0 && i + 1 < argc)
            side = argv[++i];
        else if (std::strcmp(argv[i], "--pinned") == 0)
            pinned = true;
        else if (std::strcmp(argv[i], "--processor") == 0 && i + 1 < argc)
            processor = argv[++i];
        else if (std::strcmp(argv[i], "--syscalls") == 0 && i + 1 < argc)
            syscalls = argv[++i];
        else
            known = false;
    }
    const std::optional<Side> oneSide = ParseSide(side);
    // One side runs through the paired measure only: not the settings' own loop nor steady_state.
    if (!known || options.data.empty() || !oneSide ||
        (*oneSide != Side::Both && (only.empty() || only == "settings" || only == "steady_state"))) {
        std::fprintf(stderr, "usage: fernwick_bench --data DIR [--out FILE] [--smoke] "
                             "[--only NAME [--side fernwick|floor|none]] [--pinned] [--processor TEXT] "
                             "[--syscalls FILE]\n");
        return 2;
    }
    options.side = *oneSide;

    const std::string self = AfxGetModuleFileName();
    BenchReport report{MachineName(), WineVersion(), FileBytes(self.substr(0, self.rfind('\\') + 1) + "Fernwick.exe"),
                       {}, {}, pinned, processor};
    const struct {
        const char* name;
        ScenarioResult (*measure)(const BenchOptions&);
    } scenarios[] = {
        {"sort", MeasureSort},       {"expand", MeasureExpand},   {"tray", MeasureTray},
        {"tray_open", MeasureTrayOpen}, {"tray_submenu", MeasureTraySubmenu}, {"live", MeasureLive},
        {"restore", MeasureRestore}, {"start", MeasureStart},
        {"collapse", MeasureCollapse}, {"settings", MeasureSettings},
        {"find_key", MeasureFindKey}, {"find_index", MeasureFindIndex}, {"find_fresh", MeasureFindFresh},
        {"hotkey_find", MeasureHotkeyFind}, {"hotkey_menu", MeasureHotkeyMenu},
    };
    bool failed = false;
    for (const auto& scenario : scenarios) {
        if (!only.empty() && only != scenario.name)
            continue;
        try {
            report.scenarios.push_back(scenario.measure(options));
        } catch (const std::exception& e) {
            Progress("%s: cannot run: %s", scenario.name, e.what());
            failed = true;
        }
    }
    try {
        if (only.empty() || only == "steady_state")
            report.steady = MeasureSteadyState(options);
    } catch (const std::exception& e) {
        Progress("steady_state: cannot run: %s", e.what());
        failed = true;
    }

    if (!syscalls.empty() && !ReadSyscalls(syscalls, report.scenarios)) {
        std::fprintf(stderr, "fernwick_bench: cannot read %s\n", syscalls.c_str());
        failed = true;
    }
    PrintTable(report);
    if (!out.empty() && !WriteJson(report, out)) {
        std::fprintf(stderr, "fernwick_bench: cannot write %s\n", out.c_str());
        failed = true;
    }
    return failed ? 1 : 0;
}
