// Timing of one scenario: Fernwick's runs and its floor's, taken in pairs after a warm-up.
#pragma once
#include <functional>
#include <string>
#include <utility>
#include <vector>

// Milliseconds from the performance counter.
double NowMs();
// The middle value; 0 for none.
double Median(std::vector<double> values);

// One run of one side. It times only its measured part and returns that in milliseconds.
using Run = std::function<double()>;

struct ScenarioResult {
    std::string name;
    std::vector<double> fernwickMs, floorMs; // run i of one side pairs with run i of the other
    std::vector<std::pair<std::string, double>> figures; // what else the scenario reports

    double FernwickMedian() const;
    double FloorMedian() const;
    double Ratio() const;
    // The spread of the per-run ratios.
    double MinRatio() const;
    double MaxRatio() const;
};

// A warm-up pair, then up to `runs` pairs, the floor first in every second one. A scenario
// whose run is slow is measured once (its warm-up is that run), and no new pair starts once
// the scenario has used its time.
ScenarioResult Measure(const std::string& name, int runs, const Run& fernwick, const Run& floor);

// A progress line on standard output, written at once so a long run shows where it is.
void Progress(const char* format, ...);
