// The benchmark's figures: medians, ratios and their spread, which runs count, one side run
// alone, the system calls counted outside, and the JSON file that other tools read.
#include <gtest/gtest.h>
#include <fstream>
#include <functional>
#include <sstream>
#include "TempFolder.h"
#include "tools/bench/Measure.h"
#include "tools/bench/Report.h"

namespace {
// Reports the figures given, one per call.
struct ScriptedRun {
    std::vector<double> figures;
    size_t calls = 0;
    double operator()() { return figures.at(calls++); }
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
} // namespace

TEST(BenchFigures, MediansAndTheSpreadOfPairedRuns)
{
    const ScenarioResult odd{"odd", {30, 10, 20}, {10, 10, 5}, {}};
    EXPECT_EQ(odd.FernwickMedian(), 20);
    EXPECT_EQ(odd.FloorMedian(), 10);
    EXPECT_EQ(odd.Ratio(), 2);
    // Run i pairs with the floor's run i: 3, 1 and 4, whatever the medians are.
    EXPECT_EQ(odd.MinRatio(), 1);
    EXPECT_EQ(odd.MaxRatio(), 4);

    const ScenarioResult even{"even", {1, 4, 2, 3}, {1, 1, 1, 1}, {}};
    EXPECT_EQ(even.FernwickMedian(), 2.5);
}

TEST(BenchFigures, AFloorOfNothingGivesNoRatio)
{
    const ScenarioResult result{"zero", {5, 6}, {0, 0}, {}};
    EXPECT_EQ(result.Ratio(), 0);
    EXPECT_EQ(result.MinRatio(), 0);
    EXPECT_EQ(result.MaxRatio(), 0);
    EXPECT_EQ(ScenarioResult{}.FernwickMedian(), 0);
}

TEST(BenchFigures, TheWarmUpIsLeftOut)
{
    ScriptedRun fernwick{{99, 1, 2, 3}};
    ScriptedRun floor{{98, 4, 5, 6}};
    const ScenarioResult result = Measure("runs", {3}, std::ref(fernwick), std::ref(floor));
    EXPECT_EQ(result.fernwickMs, (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(result.floorMs, (std::vector<double>{4, 5, 6}));
}

TEST(BenchFigures, TheSidesTakeTurnsGoingFirstAndRunsStayPaired)
{
    std::string order;
    int fernwickRun = 0, floorRun = 0;
    const auto fernwick = [&] {
        order += 'F';
        return 10.0 * fernwickRun++;
    };
    const auto floor = [&] {
        order += 'f';
        return 1.0 * floorRun++;
    };
    const ScenarioResult result = Measure("turns", {4}, fernwick, floor);
    EXPECT_EQ(order, "Ff" "Ff" "fF" "Ff" "fF") << "the warm-up, then alternating pairs";
    EXPECT_EQ(result.fernwickMs, (std::vector<double>{10, 20, 30, 40}));
    EXPECT_EQ(result.floorMs, (std::vector<double>{1, 2, 3, 4}));
}

TEST(BenchFigures, ASlowScenarioIsMeasuredOnce)
{
    for (const auto& [fernwickMs, floorMs] : {std::pair{25000.0, 3.0}, std::pair{3.0, 25000.0}}) {
        ScriptedRun fernwick{{fernwickMs, 1}};
        ScriptedRun floor{{floorMs, 1}};
        const ScenarioResult result = Measure("slow", {7}, std::ref(fernwick), std::ref(floor));
        EXPECT_EQ(fernwick.calls, 1u);
        EXPECT_EQ(result.fernwickMs, (std::vector<double>{fernwickMs}));
        EXPECT_EQ(result.floorMs, (std::vector<double>{floorMs}));
    }
}

TEST(BenchFigures, OneSideRunsOnceAfterTheSameWarmUpPair)
{
    // Whatever side is asked for, the process does the same before its one run: a tracer
    // that subtracts the run of neither side is left with that one run.
    for (const auto& [side, expected] : {std::pair{Side::Fernwick, "FfF"}, std::pair{Side::Floor, "Fff"},
                                         std::pair{Side::None, "Ff"}}) {
        std::string order;
        const ScenarioResult result = Measure(
            "one", {7, side}, [&] { order += 'F'; return 2.0; }, [&] { order += 'f'; return 1.0; });
        EXPECT_EQ(order, expected);
        EXPECT_EQ(result.fernwickMs.size(), side == Side::Fernwick ? 1u : 0u);
        EXPECT_EQ(result.floorMs.size(), side == Side::Floor ? 1u : 0u);
    }
    EXPECT_EQ(ParseSide(""), Side::Both);
    EXPECT_EQ(ParseSide("floor"), Side::Floor);
    EXPECT_EQ(ParseSide("none"), Side::None);
    EXPECT_EQ(ParseSide("Floor"), std::nullopt);
}

TEST(BenchReport, SystemCallsCountedOutsideReachTheirScenarios)
{
    TempFolder folder;
    const std::string path = folder.Path() + "\\syscalls.txt";
    std::ofstream(path) << "expand 1200 1000\n\nsort 5 0\nnot_run 1 1\n";
    std::vector<ScenarioResult> scenarios{{"sort", {}, {}, {}}, {"expand", {}, {}, {}}, {"tray", {}, {}, {}}};
    ASSERT_TRUE(ReadSyscalls(path, scenarios));
    EXPECT_EQ(scenarios[1].syscallsFernwick, 1200);
    EXPECT_EQ(scenarios[1].syscallsFloor, 1000);
    EXPECT_DOUBLE_EQ(scenarios[1].SyscallsRatio(), 1.2);
    EXPECT_EQ(scenarios[0].SyscallsRatio(), 0) << "a floor of no calls gives no ratio";
    EXPECT_EQ(scenarios[2].syscallsFernwick, -1) << "not counted";
    EXPECT_EQ(scenarios[2].SyscallsRatio(), 0);

    const std::string json = folder.Path() + "\\results.json";
    ASSERT_TRUE(WriteJson(BenchReport{"m", "w", 1, scenarios, std::nullopt, true, "AMD EPYC"}, json));
    const std::string text = ReadFile(json);
    EXPECT_NE(text.find(R"({"processor": "AMD EPYC", "machine": "m",)"), std::string::npos) << text;
    EXPECT_NE(text.find(R"("syscalls_fernwick": 1200, "syscalls_floor": 1000, "syscalls_ratio": 1.200})"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find(R"("name": "tray", "fernwick_ms": 0.000, "floor_ms": 0.000, "ratio": 0.000, "runs": 0, )"
                        R"("min_ratio": 0.000, "max_ratio": 0.000})"),
              std::string::npos)
        << "a scenario not counted has no syscalls fields: " << text;

    std::ofstream(path) << "expand many 1000\n";
    EXPECT_FALSE(ReadSyscalls(path, scenarios));
    EXPECT_FALSE(ReadSyscalls(folder.Path() + "\\none.txt", scenarios));
}

TEST(BenchReport, TheJsonHoldsEveryFigureAndQuotesTextSafely)
{
    TempFolder folder;
    const std::string path = folder.Path() + "\\results.json";
    const BenchReport report{"CPU \"9\" \\ 2", "Wine 8.0", 411648, {{"expand", {2, 4}, {1, 1}, {{"timer_ms", 100}}}},
                             SteadyState{2000, 1500, 0, 1, 0, 0, -12, 24}, true};
    ASSERT_TRUE(WriteJson(report, path));
    const std::string json = ReadFile(path);
    EXPECT_NE(json.find(R"("processor": "", "machine": "CPU \"9\" \\ 2", "wine": "Wine 8.0", "exe_bytes": 411648, "pinned": true,)"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find(R"({"name": "expand", "fernwick_ms": 3.000, "floor_ms": 1.000, "ratio": 3.000, "runs": 2, )"
                        R"("min_ratio": 2.000, "max_ratio": 4.000, "timer_ms": 100.000})"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find(R"("steady_state": {"cycles": 1500, "planned_cycles": 2000, "handles_growth": 0, )"
                        R"("windows_growth": 1, )"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find(R"("private_kib_growth": -12, "heap_bytes_growth": 24})"), std::string::npos) << json;
}

TEST(BenchReport, AReportWithoutSteadyStateHasNoneInTheFile)
{
    TempFolder folder;
    const std::string path = folder.Path() + "\\results.json";
    ASSERT_TRUE(WriteJson(BenchReport{"m", "w", 1, {}, std::nullopt}, path));
    EXPECT_EQ(ReadFile(path),
              "{\"processor\": \"\", \"machine\": \"m\", \"wine\": \"w\", \"exe_bytes\": 1, \"pinned\": false,\n "
              "\"scenarios\": []}\n");
}

TEST(BenchReport, AFileThatCannotBeWrittenIsReported)
{
    TempFolder folder;
    EXPECT_FALSE(WriteJson(BenchReport{}, folder.Path() + "\\no such folder\\results.json"));
}
