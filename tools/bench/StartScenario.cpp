// Fernwick.exe started as a process until its window is shown and idle, against a minimal
// program that shows the same rows.
#include <windows.h>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include "app/FernwickApp.h"
#include "app/Settings.h"
#include "tools/bench/BenchApp.h"
#include "tools/bench/FloorOrder.h"
#include "tools/bench/FloorStart.h"
#include "tools/bench/FloorTree.h"
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

// The floor program's tree is the one FillStartTree makes: made here beside Fernwick's own,
// started in this process with the same settings, it must show the same rows.
void CheckSameStart(const std::string& folder, const std::vector<std::string>& saved, const FloorOrder& order)
{
    const BenchApp app(folder, saved);
    FloorTree floor(app.Tree().m_hWnd);
    FillStartTree(floor, order, folder + "\\Root", saved.size());
    CheckSameRows("start", app.Tree().m_hWnd, floor.Tree());
}

// The file's bytes; empty when it cannot be read.
std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Puts the bytes back in one write, so that the run's own calls are not outweighed by its setup.
void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + path);
}
} // namespace

ScenarioResult MeasureStart(const BenchOptions& options)
{
    const std::string folder = options.data + "\\start";
    const FloorOrder order;
    Listing root = ListFolder(folder + "\\Root");
    order.Sort(root.folders);
    std::vector<std::string> saved(root.folders.begin(),
                                   root.folders.begin() + static_cast<long>(std::min(root.folders.size(), kSavedFolders)));
    CheckSameStart(folder, saved, order);
    const std::string ini = folder + '\\' + kSettingsFileName;
    ::DeleteFileA(ini.c_str());
    WriteDirTreeList(saved, ini);
    const std::string settings = ReadBytes(ini);
    const std::string fernwick = ProgramBesideThis("Fernwick.exe");
    const std::string floor = ProgramBesideThis("FloorApp.exe") + ' ' + std::to_string(saved.size());
    return Measure(
        "start", options.Plan(),
        [&] {
            // The same saved folders and no saved placement at every start.
            WriteBytes(ini, settings);
            return TimeStart(fernwick, folder);
        },
        [&] { return TimeStart(floor, folder); });
}
