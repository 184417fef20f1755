// fernwick_bench --data DIR [--out FILE] [--smoke] [--only NAME] [--pinned]: measures Fernwick's
// own classes in this process, and Fernwick.exe's start, each against the floor of the same
// work, over the folders make-bench-data made in DIR. It prints one table and writes the
// figures to FILE as JSON. It never judges a figure: it fails only when a scenario cannot
// run. --pinned: the caller put it, its Wine server and its display on one CPU.
#include <cstdio>
#include <cstring>
#include <exception>
#include "framework/Path.h"
#include "tools/bench/Report.h"
#include "tools/bench/Scenarios.h"

int main(int argc, char** argv)
{
    BenchOptions options;
    std::string out;
    std::string only; // one scenario, while working on it
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
        else if (std::strcmp(argv[i], "--pinned") == 0)
            pinned = true;
        else
            known = false;
    }
    if (!known || options.data.empty()) {
        std::fprintf(stderr, "usage: fernwick_bench --data DIR [--out FILE] [--smoke] [--only NAME] [--pinned]\n");
        return 2;
    }

    const std::string self = AfxGetModuleFileName();
    BenchReport report{MachineName(), WineVersion(), FileBytes(self.substr(0, self.rfind('\\') + 1) + "Fernwick.exe"),
                       {}, {}, pinned};
    const struct {
        const char* name;
        ScenarioResult (*measure)(const BenchOptions&);
    } scenarios[] = {
        {"sort", MeasureSort},       {"expand", MeasureExpand},   {"tray", MeasureTray},
        {"tray_open", MeasureTrayOpen}, {"tray_submenu", MeasureTraySubmenu}, {"live", MeasureLive},
        {"restore", MeasureRestore}, {"start", MeasureStart},
        {"collapse", MeasureCollapse}, {"settings", MeasureSettings},
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

    PrintTable(report);
    if (!out.empty() && !WriteJson(report, out)) {
        std::fprintf(stderr, "fernwick_bench: cannot write %s\n", out.c_str());
        failed = true;
    }
    return failed ? 1 : 0;
}
