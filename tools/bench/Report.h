// The benchmark's figures: one table on standard output and the same in a JSON file.
#pragma once
#include <optional>
#include <string>
#include <vector>
#include "tools/bench/Measure.h"
#include "tools/bench/Scenarios.h"

struct BenchReport {
    std::string machine;
    std::string wine;
    long long exeBytes = 0;
    std::vector<ScenarioResult> scenarios;
    std::optional<SteadyState> steady;
    bool pinned = false; // the benchmark, its Wine server and its display on one CPU
    std::string processor{}; // as the host names it; empty when not given
};

// The processor's name and count, and Wine's version, as this process sees them.
std::string MachineName();
std::string WineVersion();
// The size of a file in bytes, or -1.
long long FileBytes(const std::string& path);

// Gives each scenario named in the file its system calls, from lines "NAME FERNWICK FLOOR";
// false when the file cannot be read or a line is not of that form.
bool ReadSyscalls(const std::string& path, std::vector<ScenarioResult>& scenarios);

void PrintTable(const BenchReport& report);
bool WriteJson(const BenchReport& report, const std::string& path);
