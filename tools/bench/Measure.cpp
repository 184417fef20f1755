#include "tools/bench/Measure.h"
#include <windows.h>
#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace {
// A run this slow is measured once: a cold start weighs little next to it.
constexpr double kSlowRunMs = 20000;
// No new pair starts after a scenario has taken this long.
constexpr double kScenarioBudgetMs = 60000;

std::vector<double> Ratios(const ScenarioResult& result)
{
    std::vector<double> ratios;
    for (size_t i = 0; i < result.fernwickMs.size() && i < result.floorMs.size(); ++i)
        if (result.floorMs[i] > 0)
            ratios.push_back(result.fernwickMs[i] / result.floorMs[i]);
    return ratios;
}
} // namespace

std::optional<Side> ParseSide(const std::string& text)
{
    if (text.empty())
        return Side::Both;
    if (text == "fernwick")
        return Side::Fernwick;
    if (text == "floor")
        return Side::Floor;
    if (text == "none")
        return Side::None;
    return std::nullopt;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double NowMs()
{
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMs;
}

double ScenarioResult::FernwickMedian() const
{
    return Median(fernwickMs);
}

double ScenarioResult::FloorMedian() const
{
    return Median(floorMs);
}

double ScenarioResult::Ratio() const
{
    const double floor = FloorMedian();
    return floor > 0 ? FernwickMedian() / floor : 0;
}

double ScenarioResult::MinRatio() const
{
    const std::vector<double> ratios = Ratios(*this);
    return ratios.empty() ? 0 : *std::min_element(ratios.begin(), ratios.end());
}

double ScenarioResult::MaxRatio() const
{
    const std::vector<double> ratios = Ratios(*this);
    return ratios.empty() ? 0 : *std::max_element(ratios.begin(), ratios.end());
}

double ScenarioResult::SyscallsRatio() const
{
    return syscallsFernwick >= 0 && syscallsFloor > 0 ? static_cast<double>(syscallsFernwick) / syscallsFloor : 0;
}

ScenarioResult Measure(const std::string& name, const MeasurePlan& plan, const Run& fernwick, const Run& floor)
{
    ScenarioResult result{name, {}, {}, {}};
    const double start = NowMs();
    const double warmFernwick = fernwick();
    const double warmFloor = floor();
    Progress("%s: warm-up: Fernwick %.1f ms, floor %.1f ms", name.c_str(), warmFernwick, warmFloor);
    if (plan.side == Side::Fernwick)
        result.fernwickMs.push_back(fernwick());
    else if (plan.side == Side::Floor)
        result.floorMs.push_back(floor());
    if (plan.side != Side::Both)
        return result;
    if (warmFernwick > kSlowRunMs || warmFloor > kSlowRunMs) {
        Progress("%s: a slow run, so the warm-up is its one run", name.c_str());
        result.fernwickMs.push_back(warmFernwick);
        result.floorMs.push_back(warmFloor);
        return result;
    }
    for (int i = 0; i < plan.runs; ++i) {
        if (i > 0 && NowMs() - start > kScenarioBudgetMs) {
            Progress("%s: out of time after %d runs", name.c_str(), i);
            break;
        }
        // Each side goes first every other pair: whatever the first run of a pair leaves
        // warm or cold weighs on both sides alike.
        if (i % 2 == 0) {
            result.fernwickMs.push_back(fernwick());
            result.floorMs.push_back(floor());
        } else {
            result.floorMs.push_back(floor());
            result.fernwickMs.push_back(fernwick());
        }
        Progress("%s: run %d/%d: Fernwick %.1f ms, floor %.1f ms", name.c_str(), i + 1, plan.runs,
                 result.fernwickMs.back(), result.floorMs.back());
    }
    return result;
}

void Progress(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::printf("\n");
    std::fflush(stdout);
}
