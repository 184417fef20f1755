// Finding under the root, over the tray_open tree (100,000 files in about 11,000 folders):
// a key typed into the find box until the list is painted with its results, the index
// built, and a file made in a folder never expanded until a search finds it; each against a
// floor written apart from Fernwick's find classes.
#include <windows.h>
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>
#include "ResourceCount.h"
#include "framework/Handles.h"
#include "tools/bench/BenchApp.h"
#include "tools/bench/FloorFind.h"
#include "tools/bench/FloorFindBox.h"
#include "tools/bench/Pump.h"
#include "tools/bench/Scenarios.h"

namespace {
constexpr double kIndexTimeoutMs = 600000;
// Between two keys the loop runs on, as it does while a user types: the index's own work
// (its look at the disk a second after the last) comes in between.
constexpr double kKeyGapMs = 30;
constexpr UINT kProbe = WM_APP + 77;

// Typed a key at a time: whole names, folders and names, letters in order, romaji and words
// that find nothing, prefixes of every length.
const wchar_t* const kQueries[] = {
    L"file",      L"file00007", L"d03 e07",   L"f42 file3", L"thousand", L"thou file9",       L"fl7t",  L"ftxt",
    L"txt",       L"d0 e0 f0",  L"memo",      L"tsu-ru",    L"zzz",      L"e05 f99 file00001", L"0000",  L"le0000",
    L"f5 9.txt",  L"D09",       L"file00999", L"e1f2",      L"fe",       L"thousand file005",
};

double Percentile99(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto at = static_cast<size_t>(std::ceil(0.99 * static_cast<double>(values.size()))) - 1;
    return values[std::min(at, values.size() - 1)];
}

std::wstring WithoutBackslash(std::wstring path)
{
    while (!path.empty() && path.back() == L'\\')
        path.pop_back();
    return path;
}

void MakeFile(const std::wstring& path)
{
    UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file)
        throw std::runtime_error("cannot make a file (error " + std::to_string(::GetLastError()) + ")");
}

// The program over the tray_open tree, its index built.
struct FindBench {
    explicit FindBench(const BenchOptions& options) : app(options.data + "\\trayopen")
    {
        Finder().BuildNow();
        PumpUntil([this] { return !Index().Busy(); }, "the index", kIndexTimeoutMs);
    }
    CFinder& Finder() const { return app.View().m_finder; }
    CSearchIndex& Index() const { return Finder().m_index; }
    CFindPanel& Panel() const { return Finder().m_panel; }
    // Ctrl+F's find panel, shown and painted.
    void BeginSearch() const
    {
        app.View().BeginSearch();
        PumpUntil(NothingToPaint, "the find panel");
    }
    BenchApp app;
};

// Types one query into a box a key at a time after emptying it, the loop running on between
// keys; each key's time goes to keys.
void TypeQuery(HWND box, const std::wstring& query, double gapMs, std::vector<double>& keys)
{
    ::SetWindowTextW(box, L"");
    PumpUntil(NothingToPaint, "an empty box");
    PumpFor(gapMs);
    for (const wchar_t key : query) {
        keys.push_back(TypeKey(box, key));
        PumpFor(gapMs);
    }
}

// What one side shows after a key: how many it found in all, the rows its list has, and the
// paths of the entries it shows, best first.
struct Shown {
    std::size_t total = 0;
    int rows = 0;
    std::vector<std::wstring> paths;
    bool operator==(const Shown&) const = default;
};

// Every query typed a key at a time into one side's box, and what it showed after each key.
std::vector<Shown> ShownAtEachKey(HWND window, HWND box, const std::function<Shown()>& read)
{
    FocusBox(window, box);
    std::vector<Shown> shown;
    for (const wchar_t* query : kQueries) {
        ::SetWindowTextW(box, L"");
        for (const wchar_t* key = query; *key != 0; ++key) {
            TypeKey(box, *key);
            shown.push_back(read());
        }
    }
    return shown;
}

// Each key of the queries finds the same entries in the same order on both sides, and both
// lists show them.
void CheckSameResults(const FindBench& bench, const FloorFind& floor, const FloorFindBox& box)
{
    const std::vector<Shown> fernwick = ShownAtEachKey(bench.app.Frame(), bench.Panel().Box(), [&] {
        Shown shown{bench.Panel().Results().Total(), ListView_GetItemCount(bench.Panel().List()), {}};
        for (const std::uint32_t entry : bench.Panel().Results().Entries())
            shown.paths.push_back(bench.Index().RelativePath(entry));
        return shown;
    });
    const std::vector<Shown> least = ShownAtEachKey(box.Window(), box.Box(), [&] {
        Shown shown{box.Total(), ListView_GetItemCount(box.List()), {}};
        for (const std::uint32_t entry : box.Rows())
            shown.paths.push_back(floor.RelativePath(entry));
        return shown;
    });
    size_t key = 0;
    for (const wchar_t* query : kQueries)
        for (const wchar_t* typed = query; *typed != 0; ++typed, ++key)
            if (fernwick.at(key) != least.at(key))
                throw std::runtime_error("find_key: the floor shows otherwise than Fernwick after \"" +
                                         std::string(query, typed + 1) + "\" (" + std::to_string(least[key].total) +
                                         " found, Fernwick " + std::to_string(fernwick[key].total) + ")");
}
} // namespace

ScenarioResult MeasureFindKey(const BenchOptions& options)
{
    FindBench bench(options);
    bench.BeginSearch();
    FloorFind floor(WithoutBackslash(bench.Index().Root()));
    if (!floor.AsciiOnly())
        throw std::runtime_error("find_key: the floor's search needs names of ASCII only");
    RECT panel{}, frame{};
    ::GetClientRect(bench.Panel().m_hWnd, &panel);
    ::GetWindowRect(bench.app.Frame(), &frame);
    FloorFindBox box(floor, reinterpret_cast<HFONT>(::SendMessageW(bench.Panel().List(), WM_GETFONT, 0, 0)),
                     {panel.right, panel.bottom});
    box.ShowAt({frame.right + 16, frame.top});
    PumpUntil(NothingToPaint, "the floor's find box");
    CheckSameResults(bench, floor, box);

    const double gap = options.smoke ? 0 : kKeyGapMs;
    std::vector<double> fernwickKeys, floorKeys;
    int fernwickRuns = 0, floorRuns = 0;
    const auto typeAll = [&](HWND window, HWND typedInto, std::vector<double>& all, int& runs) {
        FocusBox(window, typedInto);
        std::vector<double> keys;
        for (const wchar_t* query : kQueries)
            TypeQuery(typedInto, query, gap, keys);
        if (runs++ > 0) // not the warm-up's
            all.insert(all.end(), keys.begin(), keys.end());
        return Median(keys);
    };
    ScenarioResult result = Measure(
        "find_key", options.Plan(),
        [&] { return typeAll(bench.app.Frame(), bench.Panel().Box(), fernwickKeys, fernwickRuns); },
        [&] { return typeAll(box.Window(), box.Box(), floorKeys, floorRuns); });
    if (options.OneSide())
        return result;
    result.figures.emplace_back("p99_ms", Percentile99(fernwickKeys));
    result.figures.emplace_back("floor_p99_ms", Percentile99(floorKeys));
    result.figures.emplace_back("max_ms", fernwickKeys.empty() ? 0 : *std::max_element(fernwickKeys.begin(), fernwickKeys.end()));
    result.figures.emplace_back("keys", static_cast<double>(fernwickKeys.size()));
    result.figures.emplace_back("entries", bench.Index().LiveCount());
    return result;
}

ScenarioResult MeasureFindIndex(const BenchOptions& options)
{
    FindBench bench(options);
    CSearchIndex& index = bench.Index();
    const std::wstring root = index.Root();
    const DWORD thread = ::GetCurrentThreadId();
    std::vector<double> longestGaps;
    // Built through the program's loop; all along, a message is posted to the thread again as
    // soon as the last one comes back: the longest it waited is the loop's longest gap.
    const auto fernwick = [&] {
        index.Reset(root);
        const double start = NowMs();
        bench.Finder().Wake();
        double posted = NowMs(), longest = 0;
        ::PostThreadMessageW(thread, kProbe, 0, 0);
        PumpUntil(
            [&] {
                MSG probe;
                if (::PeekMessageW(&probe, nullptr, kProbe, kProbe, PM_REMOVE)) {
                    longest = std::max(longest, NowMs() - posted);
                    posted = NowMs();
                    ::PostThreadMessageW(thread, kProbe, 0, 0);
                }
                return !index.Busy();
            },
            "the index", kIndexTimeoutMs);
        const double ms = NowMs() - start;
        MSG left;
        while (::PeekMessageW(&left, nullptr, kProbe, kProbe, PM_REMOVE)) {
        }
        longestGaps.push_back(longest);
        return ms;
    };
    size_t floorEntries = 0, floorUnits = 0;
    const auto floor = [&] {
        const double start = NowMs();
        const FloorFind walk(WithoutBackslash(root));
        const double ms = NowMs() - start;
        floorEntries = walk.Size();
        floorUnits = walk.NameUnits();
        return ms;
    };
    ScenarioResult result = Measure("find_index", options.Plan(), fernwick, floor);
    if (options.OneSide())
        return result;
    if (floorEntries != index.LiveCount() || floorUnits * sizeof(char16_t) != index.NameBytes())
        throw std::runtime_error("find_index: the floor walks " + std::to_string(floorEntries) + " entries, the index holds " +
                                 std::to_string(index.LiveCount()));
    result.figures.emplace_back("entries", index.LiveCount());
    result.figures.emplace_back("longest_gap_ms", *std::max_element(longestGaps.begin(), longestGaps.end()));
    result.figures.emplace_back("median_longest_gap_ms", Median(longestGaps));

    // What an index holds, from the heap's own count: one built alone, beside the program's.
    const long long heapBefore = HeapBytes();
    auto alone = std::make_unique<CSearchIndex>();
    alone->Reset(root);
    while (alone->Step(1000)) {
    }
    const double entries = alone->LiveCount();
    const double heap = static_cast<double>(HeapBytes() - heapBefore);
    result.figures.emplace_back("heap_bytes_per_entry", heap / entries);
    result.figures.emplace_back("name_bytes_per_entry", static_cast<double>(alone->NameBytes()) / entries);
    result.figures.emplace_back("beyond_name_bytes_per_entry", (heap - static_cast<double>(alone->NameBytes())) / entries);
    result.figures.emplace_back("counted_beyond_name_bytes_per_entry", static_cast<double>(alone->OverheadBytes()) / entries);
    return result;
}

ScenarioResult MeasureFindFresh(const BenchOptions& options)
{
    FindBench bench(options);
    CFernwickView& view = bench.app.View();
    ::SetForegroundWindow(bench.app.Frame());
    const FloorFind walk(WithoutBackslash(bench.Index().Root()));
    // The floor's record of every folder's time, in the order the index keeps its folders.
    struct Folder {
        std::wstring path;
        FILETIME time;
    };
    std::vector<Folder> folders;
    std::vector<size_t> deepest; // folders with no folder inside: never expanded in the tree
    for (std::uint32_t e = 0; e < walk.Size(); ++e) {
        if (!walk.IsFolder(e))
            continue;
        WIN32_FILE_ATTRIBUTE_DATA data{};
        const std::wstring path = walk.Root() + L'\\' + walk.RelativePath(e);
        ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
        folders.push_back({path, data.ftLastWriteTime});
        if (walk.Parent(e) != FloorFind::kTop && walk.Parent(walk.Parent(e)) != FloorFind::kTop)
            deepest.push_back(folders.size() - 1);
    }
    if (deepest.empty())
        throw std::runtime_error("find_fresh: no folder two levels down");
    // Run i of each side makes its file in the same folder, spread over the tree.
    const auto folderOf = [&](int run) -> Folder& { return folders[deepest[static_cast<size_t>(run) * 997 % deepest.size()]]; };
    int fernwickRun = 0, floorRun = 0;
    const auto fernwick = [&] {
        const int run = fernwickRun++;
        const std::wstring query = L"fresh" + std::to_wstring(run);
        const std::wstring path = folderOf(run).path + L'\\' + query + L".txt";
        const double start = NowMs();
        MakeFile(path);
        view.BeginSearch();
        SendKeys(query);
        PumpUntil(
            [&] {
                const std::vector<std::uint32_t>& found = bench.Panel().Results().Entries();
                return !found.empty() && bench.Index().Name(found[0]) == std::u16string(query.begin(), query.end()) + u".txt" &&
                       NothingToPaint();
            },
            "find_fresh: the new file found");
        const double ms = NowMs() - start;
        ::DeleteFileW(path.c_str());
        view.EndSearch();
        PumpUntil([&] { return !bench.Index().Busy() && NothingToPaint(); }, "the index at rest");
        return ms;
    };
    // Each folder's time read in turn until one has changed, that one listed, the name found.
    const auto floor = [&] {
        const int run = floorRun++;
        const std::wstring name = L"floor" + std::to_wstring(run) + L".txt";
        Folder& made = folderOf(run);
        const double start = NowMs();
        MakeFile(made.path + L'\\' + name);
        bool found = false;
        for (Folder& folder : folders) {
            WIN32_FILE_ATTRIBUTE_DATA data{};
            ::GetFileAttributesExW(folder.path.c_str(), GetFileExInfoStandard, &data);
            if (::CompareFileTime(&data.ftLastWriteTime, &folder.time) == 0)
                continue;
            folder.time = data.ftLastWriteTime;
            WIN32_FIND_DATAW entry;
            const HANDLE find = ::FindFirstFileExW((folder.path + L"\\*").c_str(), FindExInfoBasic, &entry,
                                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
            if (find == INVALID_HANDLE_VALUE)
                continue;
            do
                found = found || name == entry.cFileName;
            while (::FindNextFileW(find, &entry));
            ::FindClose(find);
            if (found)
                break;
        }
        const double ms = NowMs() - start;
        if (!found)
            throw std::runtime_error("find_fresh: the floor never found its file");
        ::DeleteFileW((made.path + L'\\' + name).c_str());
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ::GetFileAttributesExW(made.path.c_str(), GetFileExInfoStandard, &data);
        made.time = data.ftLastWriteTime;
        return ms;
    };
    ScenarioResult result = Measure("find_fresh", options.Plan(), fernwick, floor);
    if (!options.OneSide())
        result.figures.emplace_back("folders", static_cast<double>(folders.size()));
    return result;
}
