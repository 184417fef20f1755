// Fernwick.exe started and closed over a settings file that grew: stale "DirTree" keys that
// name no folder and another program's 100 KB line, against the same start and exit with no
// settings file. The one-read, one-write file makes both linear in the file's size.
#include <windows.h>
#include <fstream>
#include <stdexcept>
#include "app/FernwickApp.h"
#include "tools/bench/Scenarios.h"
#include "tools/bench/StartedProcess.h"

namespace {
constexpr int kStaleKeys[] = {300, 3000, 30000};
constexpr int kSmokeStaleKeys = 30;
constexpr int kComparedKeys = 3000; // the pair the ratio is of
constexpr size_t kLongLine = 100 * 1024;

void WriteGrownSettings(const std::string& ini, int staleKeys)
{
    std::string text = "[Other]\r\nLong=" + std::string(kLongLine, 'x') + "\r\n[Settings]\r\n";
    for (int i = 0; i < staleKeys; ++i)
        text += "DirTree" + std::to_string(i) + "=Gone\\Folder" + std::to_string(i) + "\r\n";
    std::ofstream file(ini, std::ios::binary | std::ios::trunc);
    file << text;
    if (!file.flush())
        throw std::runtime_error("cannot write " + ini);
}

struct StartAndExit {
    double startMs;
    double exitMs;
};

StartAndExit Time(const std::string& program, const std::string& folder)
{
    const double start = NowMs();
    StartedProcess process(program, folder);
    if (!process.WaitUntilShownAndIdle())
        throw std::runtime_error(program + " never showed its window");
    const double shown = NowMs();
    if (!process.Close())
        throw std::runtime_error(program + " did not end when closed");
    return {shown - start, NowMs() - shown};
}
} // namespace

ScenarioResult MeasureSettings(const BenchOptions& options)
{
    const std::string folder = options.data + "\\settings";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    ::CreateDirectoryA((folder + "\\Root").c_str(), nullptr);
    ::CreateDirectoryA((folder + "\\Root\\Folder").c_str(), nullptr);
    const std::string ini = folder + '\\' + kSettingsFileName;
    const std::string fernwick = ProgramBesideThis("Fernwick.exe");

    ScenarioResult result{"settings", {}, {}, {}};
    const std::vector<int> counts = options.smoke ? std::vector<int>{kSmokeStaleKeys}
                                                  : std::vector<int>(std::begin(kStaleKeys), std::end(kStaleKeys));
    const auto measure = [&](int staleKeys, std::vector<double>& starts, std::vector<double>& exits) {
        // A warm-up run first; each run finds the file as it grew, since a save drops the stale keys.
        for (int run = 0; run <= options.Runs(); ++run) {
            ::DeleteFileA(ini.c_str());
            if (staleKeys >= 0)
                WriteGrownSettings(ini, staleKeys);
            const StartAndExit times = Time(fernwick, folder);
            if (run == 0)
                continue;
            starts.push_back(times.startMs);
            exits.push_back(times.exitMs);
        }
    };
    std::vector<double> noneStarts;
    std::vector<double> noneExits;
    measure(-1, noneStarts, noneExits);
    result.figures.push_back({"start_ms_no_file", Median(noneStarts)});
    result.figures.push_back({"exit_ms_no_file", Median(noneExits)});
    for (int count : counts) {
        Progress("settings: %d stale keys and a 100 KB line", count);
        std::vector<double> starts;
        std::vector<double> exits;
        measure(count, starts, exits);
        result.figures.push_back({"start_ms_" + std::to_string(count), Median(starts)});
        result.figures.push_back({"exit_ms_" + std::to_string(count), Median(exits)});
        if (count == kComparedKeys || options.smoke) {
            result.fernwickMs = exits;
            result.floorMs = noneExits;
        }
    }
    ::DeleteFileA(ini.c_str());
    return result;
}
