// A file made in an expanded folder until its item is in the tree, against the floor of one
// notification and one insert; then a thousand changes, counting what the process holds.
#include <windows.h>
#include <commctrl.h>
#include <stdexcept>
#include "AlertableWait.h"
#include "ResourceCount.h"
#include "framework/Handles.h"
#include "tools/bench/BenchApp.h"
#include "tools/bench/FloorTree.h"
#include "tools/bench/Scenarios.h"

namespace {
constexpr int kChangeRounds = 50; // of ten files made and ten deleted
constexpr int kSmokeRounds = 2;

void MakeFile(const std::string& path)
{
    UniqueFileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file)
        throw std::runtime_error("cannot make " + path);
}

// The least that shows a new file: one folder's notification, then one insert.
struct FloorWatch {
    UniqueFileHandle folder;
    OVERLAPPED overlapped{};
    alignas(DWORD) BYTE buffer[4096];
    bool done = false;

    static void CALLBACK Completed(DWORD, DWORD, OVERLAPPED* overlapped)
    {
        CONTAINING_RECORD(overlapped, FloorWatch, overlapped)->done = true;
    }
};

double FloorLive(const FloorTree& floor, const std::string& folder, const std::string& file)
{
    FloorWatch watch;
    watch.folder.reset(::CreateFileA(folder.c_str(), FILE_LIST_DIRECTORY,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr));
    if (!watch.folder ||
        !::ReadDirectoryChangesW(watch.folder.get(), watch.buffer, sizeof watch.buffer, FALSE,
                                 FILE_NOTIFY_CHANGE_FILE_NAME, nullptr, &watch.overlapped, FloorWatch::Completed))
        throw std::runtime_error("the floor cannot watch " + folder);
    TreeView_DeleteAllItems(floor.Tree());
    const double start = NowMs();
    MakeFile(folder + '\\' + file);
    if (!WaitAlertably([&] { return watch.done; }))
        throw std::runtime_error("the floor heard of no change");
    floor.Insert(TVI_ROOT, file, 0);
    const double ms = NowMs() - start;
    ::DeleteFileA((folder + '\\' + file).c_str());
    watch.folder.reset();
    WaitAlertably([&] { return watch.done; }); // the cancelled request completes too
    return ms;
}
} // namespace

ScenarioResult MeasureLive(const BenchOptions& options)
{
    const std::string data = options.data + "\\start";
    BenchApp app(data);
    CFolderTreeCtrl& tree = app.Tree();
    const HTREEITEM dir = FindItem(tree, TVI_ROOT, "Dir00000");
    if (dir == nullptr)
        throw std::runtime_error("no folder Dir00000 under " + data + "\\Root");
    tree.SelectItem(dir);
    tree.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    app.Settle();
    const std::string folder = tree.GetItemPath(dir);
    const FloorTree floor(tree.m_hWnd);
    const auto fernwick = [&] {
        const double start = NowMs();
        MakeFile(folder + "\\live.txt");
        if (!WaitAlertably([&] { return FindItem(tree, dir, "live.txt") != nullptr; }))
            throw std::runtime_error("the new file never showed");
        const double ms = NowMs() - start;
        ::DeleteFileA((folder + "\\live.txt").c_str());
        WaitAlertably([&] { return FindItem(tree, dir, "live.txt") == nullptr; });
        return ms;
    };
    ScenarioResult result = Measure("live", options.Plan(), fernwick, [&] { return FloorLive(floor, folder, "floor.txt"); });
    if (options.OneSide())
        return result;
    result.figures.emplace_back("timer_ms", CFolderTreeCtrl::kChangeQuietMs);

    // A thousand changes leave nothing behind.
    const auto round = [&](int n) {
        for (int i = 0; i < 10; ++i)
            MakeFile(folder + "\\change" + std::to_string(i) + ".txt");
        WaitAlertably([&] { return FindItem(tree, dir, "change9.txt") != nullptr; });
        for (int i = 0; i < 10; ++i)
            ::DeleteFileA((folder + "\\change" + std::to_string(i) + ".txt").c_str());
        WaitAlertably([&] { return FindItem(tree, dir, "change0.txt") == nullptr; });
        if ((n + 1) % 10 == 0)
            Progress("live: %d changes", (n + 1) * 20);
    };
    round(0);
    const ResourceCount before = CountResources();
    const long long privateBefore = PrivateBytes();
    const int rounds = options.smoke ? kSmokeRounds : kChangeRounds;
    for (int n = 0; n < rounds; ++n)
        round(n);
    const ResourceCount after = CountResources();
    result.figures.emplace_back("changes", rounds * 20);
    result.figures.emplace_back("handles_growth", after.kernelHandles - before.kernelHandles);
    result.figures.emplace_back("windows_growth", after.windows - before.windows);
    result.figures.emplace_back("private_kib_growth", static_cast<double>(PrivateBytes() - privateBefore) / 1024);
    return result;
}
