// Timing of one scenario: Fernwick's runs and its floor's, taken in pairs after a warm-up.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Milliseconds from the performance counter.
double NowMs();
// The middle value; 0 for none.
double Median(std::vector<double> values);

// One run of one side. It times only its measured part and returns that in milliseconds.
using Run = std::function<double()>;

// Which side of a scenario runs: both in pairs, or one run of one side (none: only the
// warm-up), so that what one run of one side costs is what the process does beyond `None`.
enum class Side { Both, Fernwick, Floor, None };

// "fernwick", "floor" or "none"; empty: both. Null for anything else.
std::optional<Side> ParseSide(const std::string& text);

struct MeasurePlan {
    int runs = 7; // pairs, for Side::Both
    Side side = Side::Both;
};

struct ScenarioResult {
    std::string name;
    std::vector<double> fernwickMs, floorMs; // run i of one side pairs with run i of the other
    std::vector<std::pair<std::string, double>> figures; // what else the scenario reports
    // System calls of one run of each side, beyond the same process running neither; -1: not counted.
    long long syscallsFernwick = -1, syscallsFloor = -1;

    double FernwickMedian() const;
    double FloorMedian() const;
    double Ratio() const;
    // The spread of the per-run ratios.
    double MinRatio() const;
    double MaxRatio() const;
    // 0 when either side was not counted or the floor made none.
    double SyscallsRatio() const;
};

// A warm-up pair, then up to `runs` pairs, the floor first in every second one. A scenario
// whose run is slow is measured once (its warm-up is that run), and no new pair starts once
// the scenario has used its time. With one side planned: the warm-up pair, then one run of
// that side, so each side's one run finds what the other's finds.
ScenarioResult Measure(const std::string& name, const MeasurePlan& plan, const Run& fernwick, const Run& floor);

// A progress line on standard output, written at once so a long run shows where it is.
void Progress(const char* format, ...);
