// Fernwick.exe started as a process until its window is shown and idle, against a minimal
// program that shows a tree-view control of as many plain items.
#include <windows.h>
#include <algorithm>
#include <stdexcept>
#include "app/FernwickApp.h"
#include "app/Settings.h"
#include "framework/Path.h"
#include "tools/bench/Listing.h"
#include "tools/bench/Scenarios.h"
#include "tools/bench/StartedProcess.h"

namespace {
constexpr size_t kSavedFolders = 50;

double TimeStart(const std::string& commandLine, const std::string& directory)
{
    const double start = NowMs();
    const StartedProcess process(commandLine, directory);
    if (!process.WaitUntilShownAndIdle())
        throw std::runtime_error(commandLine + " never showed its window");
    return NowMs() - start;
}

std::string ProgramBesideThis(const char* name)
{
    const std::string self = AfxGetModuleFileName();
    return '"' + self.substr(0, self.rfind('\\') + 1) + name + '"';
}
} // namespace

ScenarioResult MeasureStart(const BenchOptions& options)
{
    const std::string folder = options.data + "\\start";
    const Listing root = ListFolder(folder + "\\Root");
    std::vector<std::string> saved = root.folders;
    std::sort(saved.begin(), saved.end());
    saved.resize(std::min(saved.size(), kSavedFolders));
    const std::string ini = folder + '\\' + kSettingsFileName;
    const std::string fernwick = ProgramBesideThis("Fernwick.exe");
    const std::string floor =
        ProgramBesideThis("FloorApp.exe") + ' ' + std::to_string(root.folders.size() + root.files.size());
    return Measure(
        "start", options.Runs(),
        [&] {
            // The same saved folders and no saved placement at every start.
            ::DeleteFileA(ini.c_str());
            WriteDirTreeList(saved, ini);
            return TimeStart(fernwick, folder);
        },
        [&] { return TimeStart(floor, folder); });
}
