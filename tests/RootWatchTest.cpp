// The root's watch over real folders: the per-folder way as it runs here, and what the
// subtree way holds open, seen through the handles of this process and the watch calls made.
#include <gtest/gtest.h>
#include <windows.h>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>
#include "AlertableWait.h"
#include "TempFolder.h"
#include "framework/ShellCalls.h"
#include "tree/RootWatch.h"

namespace {
using FileId = std::pair<DWORD, unsigned long long>; // volume, file index

std::wstring Wide(const std::string& text)
{
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<size_t>(::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                                          wide.data(), static_cast<int>(wide.size()))));
    return wide;
}

bool IdOf(HANDLE handle, FileId& id)
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle, &info))
        return false;
    id = {info.dwVolumeSerialNumber, (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
    return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

FileId FolderId(const std::string& path)
{
    FileId id{};
    HANDLE h = ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE) << path;
    IdOf(h, id);
    ::CloseHandle(h);
    return id;
}

// Every folder this process holds a handle on, found by probing handle values.
std::multiset<FileId> OpenFolders()
{
    std::multiset<FileId> folders;
    for (UINT_PTR value = 4; value < 0x10000; value += 4) {
        DWORD flags = 0;
        FileId id{};
        HANDLE h = reinterpret_cast<HANDLE>(value);
        if (::GetHandleInformation(h, &flags) && IdOf(h, id))
            folders.insert(id);
    }
    return folders;
}

struct WatchCall {
    FileId folder;
    BOOL subtree;
};
std::vector<WatchCall>* g_watchCalls = nullptr;

BOOL WINAPI RecordWatch(HANDLE folder, LPVOID buffer, DWORD size, BOOL subtree, DWORD filter, LPDWORD bytes,
                        LPOVERLAPPED overlapped, LPOVERLAPPED_COMPLETION_ROUTINE completion)
{
    FileId id{};
    IdOf(folder, id);
    g_watchCalls->push_back({id, subtree});
    return ::ReadDirectoryChangesW(folder, buffer, size, subtree, filter, bytes, overlapped, completion);
}

class RootWatchTest : public ::testing::Test {
protected:
    void SetUp() override { root = folder.MakeFolder("Root"); }

    std::unique_ptr<CRootWatch> Watch(CRootWatch::Way way)
    {
        return std::make_unique<CRootWatch>(Wide(root), [this](const RootChange& c) { reports.push_back(c); }, way);
    }
    // Waits for a report that the test accepts; false when none came.
    template <class Accept>
    bool Reported(Accept accept, DWORD timeoutMs = 5000)
    {
        return WaitAlertably([&] {
            for (const RootChange& c : reports)
                if (accept(c))
                    return true;
            return false;
        }, timeoutMs);
    }
    bool ReportedRoot()
    {
        return Reported([](const RootChange& c) { return c.kind == RootChange::Kind::Root; });
    }
    // A report of that folder holding these names with these actions, one after the other
    // (a file made is also written: more may come around them).
    static bool Names(const RootChange& c, const wchar_t* folder, std::vector<std::wstring> names,
                      std::vector<ChangeAction> actions)
    {
        if (c.kind != RootChange::Kind::Folder || c.folder != folder)
            return false;
        for (size_t start = 0; start + names.size() <= c.change.names.size(); ++start) {
            size_t i = 0;
            while (i < names.size() && c.change.names[start + i] == names[i] && c.change.actions[start + i] == actions[i])
                ++i;
            if (i == names.size())
                return true;
        }
        return false;
    }

    // What was reported, for a failure's message.
    std::string Told() const
    {
        std::string text;
        for (const RootChange& c : reports) {
            text += "\n" + std::to_string(static_cast<int>(c.kind)) + " [" + Narrow(c.folder) + "]";
            for (size_t i = 0; i < c.change.names.size(); ++i)
                text += " " + Narrow(c.change.names[i]) + ":" + std::to_string(static_cast<int>(c.change.actions[i]));
        }
        return text;
    }
    static std::string Narrow(const std::wstring& wide) { return std::string(wide.begin(), wide.end()); }

    TempFolder folder;
    std::string root;
    std::vector<RootChange> reports;
};

TEST_F(RootWatchTest, PerFolderReportsTheWatchedFoldersNamesAndRenamePairs)
{
    folder.MakeFile("Root\\Games\\Arcade\\pong.txt");
    folder.MakeFolder("Root\\Tools");
    const auto watch = Watch(CRootWatch::Way::PerFolder);
    ASSERT_TRUE(watch->WatchesRoot());
    ASSERT_TRUE(watch->Watch(L"Games\\Arcade"));
    EXPECT_FALSE(watch->Watch(L"Missing"));

    folder.MakeFile("Root\\Games\\Arcade\\new.txt");
    EXPECT_TRUE(Reported([](const RootChange& c) {
        return Names(c, L"Games\\Arcade", {L"new.txt"}, {ChangeAction::Added});
    })) << Told();

    reports.clear();
    ASSERT_TRUE(::MoveFileA((root + "\\Games\\Arcade\\pong.txt").c_str(), (root + "\\Games\\Arcade\\ping.txt").c_str()));
    EXPECT_TRUE(Reported([](const RootChange& c) {
        return Names(c, L"Games\\Arcade", {L"pong.txt", L"ping.txt"},
                     {ChangeAction::RenamedFrom, ChangeAction::RenamedTo});
    })) << Told();

    // The root's own entries come without asking; a folder no longer asked for is silent.
    watch->Unwatch(L"Games\\Arcade");
    reports.clear();
    folder.MakeFile("Root\\Games\\Arcade\\later.txt");
    ASSERT_TRUE(::MoveFileA((root + "\\Tools").c_str(), (root + "\\Apps").c_str()));
    EXPECT_TRUE(Reported([](const RootChange& c) {
        return Names(c, L"", {L"Tools", L"Apps"}, {ChangeAction::RenamedFrom, ChangeAction::RenamedTo});
    })) << Told();
    WaitAlertably([] { return false; }, 300);
    for (const RootChange& c : reports)
        EXPECT_TRUE(c.kind == RootChange::Kind::Folder && c.folder.empty()) << "only the root's own entries";
}

// Left to the process's end and gone, the watches report nothing, even when a change still
// completes their requests.
TEST_F(RootWatchTest, WatchesLeftToTheProcessEndAreSilentOnceGone)
{
    folder.MakeFolder("Root\\Games");
    auto watch = Watch(CRootWatch::Way::PerFolder);
    ASSERT_TRUE(watch->Watch(L"Games"));
    watch->LeaveToProcessEnd();
    watch.reset();
    folder.MakeFile("Root\\Games\\new.txt");
    folder.MakeFile("Root\\new.txt");
    WaitAlertably([] { return false; }, 500);
    EXPECT_TRUE(reports.empty()) << Told();
}

TEST_F(RootWatchTest, TheRootDeletedMovedAwayAndMadeAgainIsReported)
{
    folder.MakeFile("Root\\Games\\pong.txt");
    ASSERT_FALSE(UnixPath(root).empty());
    auto watch = Watch(CRootWatch::Way::PerFolder);
    ASSERT_TRUE(watch->Watch(L"Games"));

    // Deleted by another program.
    ASSERT_TRUE(StartOnLinuxSide("rm -rf '" + UnixPath(root) + "'"));
    EXPECT_TRUE(ReportedRoot());
    EXPECT_TRUE(WaitAlertably([&] { return !watch->WatchesRoot(); }));

    // Made again: the same watch hears of it, and a new one follows the new folder.
    reports.clear();
    folder.MakeFolder("Root");
    EXPECT_TRUE(ReportedRoot());
    watch = Watch(CRootWatch::Way::PerFolder);
    EXPECT_TRUE(watch->WatchesRoot());
    folder.MakeFile("Root\\new.txt");
    EXPECT_TRUE(Reported([](const RootChange& c) { return Names(c, L"", {L"new.txt"}, {ChangeAction::Added}); }))
        << Told();

    // Moved away, and another folder by that name: not the one watched.
    reports.clear();
    ASSERT_TRUE(::MoveFileA(root.c_str(), (root + "-gone").c_str()));
    EXPECT_TRUE(ReportedRoot());
    EXPECT_FALSE(watch->WatchesRoot());
    folder.MakeFolder("Root");
    EXPECT_FALSE(watch->WatchesRoot());
    watch.reset();
    RemoveTree(root + "-gone");
}

TEST_F(RootWatchTest, TheSubtreeWayHoldsTheRootAloneHoweverManyFoldersAreWatched)
{
    const std::vector<std::wstring> shown = {L"A", L"A\\B", L"A\\B\\C", L"D", L"E"};
    for (const char* name : {"A\\B\\C\\x.txt", "D\\y.txt", "E\\z.txt"})
        folder.MakeFile(std::string("Root\\") + name);
    const FileId rootId = FolderId(root), parentId = FolderId(folder.Path());
    const std::multiset<FileId> before = OpenFolders();
    std::vector<WatchCall> calls;
    const CShellCallsScope scope;
    g_watchCalls = &calls;
    g_shellCalls.ReadDirectoryChangesW = RecordWatch;

    const auto held = [&](CRootWatch::Way way) {
        calls.clear();
        const auto watch = Watch(way);
        for (const std::wstring& name : shown)
            EXPECT_TRUE(watch->Watch(name));
        std::multiset<FileId> now = OpenFolders();
        for (const FileId& id : before)
            if (const auto it = now.find(id); it != now.end())
                now.erase(it);
        return now;
    };
    const std::multiset<FileId> subtree = held(CRootWatch::Way::Subtree);
    EXPECT_EQ(subtree, (std::multiset<FileId>{rootId, parentId})) << "nothing inside the root but the root";
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_TRUE(calls[0].folder == rootId && calls[0].subtree) << "the root's whole subtree";
    EXPECT_TRUE(calls[1].folder == parentId && !calls[1].subtree);

    const std::multiset<FileId> perFolder = held(CRootWatch::Way::PerFolder);
    EXPECT_EQ(perFolder.size(), 2 + shown.size()) << "the way this Wine needs holds each folder";
    EXPECT_EQ(calls.size(), 2 + shown.size());
    g_watchCalls = nullptr;
}

TEST_F(RootWatchTest, TheSubtreeWayReportsTheRootsOwnEntriesAndItsDeparture)
{
    const auto watch = Watch(CRootWatch::Way::Subtree);
    folder.MakeFile("Root\\new.txt");
    EXPECT_TRUE(Reported([](const RootChange& c) { return Names(c, L"", {L"new.txt"}, {ChangeAction::Added}); }))
        << Told();
    ASSERT_TRUE(::MoveFileA(root.c_str(), (root + "-gone").c_str()));
    EXPECT_TRUE(ReportedRoot());
    EXPECT_FALSE(watch->WatchesRoot());
    RemoveTree(root + "-gone");
}

TEST(RootWatchNames, ASubtreesPathsArePerContainingFolderInOrder)
{
    FolderChange change;
    change.names = {L"a.txt", L"Games\\Arcade\\pong.txt", L"Games\\Arcade\\ping.txt", L"Games\\Sub", L"b.txt",
                    L"Games\\Old", L"Tools\\Old"};
    change.actions = {ChangeAction::Added,   ChangeAction::RenamedFrom, ChangeAction::RenamedTo, ChangeAction::Added,
                      ChangeAction::Removed, ChangeAction::RenamedFrom, ChangeAction::RenamedTo};
    const std::vector<RootChange> reports = ChangesByFolder(change);
    const std::vector<std::pair<std::wstring, std::vector<std::wstring>>> expected = {
        {L"", {L"a.txt"}},      {L"Games\\Arcade", {L"pong.txt", L"ping.txt"}},
        {L"Games", {L"Sub"}},   {L"", {L"b.txt"}},
        {L"Games", {L"Old"}},   {L"Tools", {L"Old"}},
    };
    ASSERT_EQ(reports.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(reports[i].folder, expected[i].first);
        EXPECT_EQ(reports[i].change.names, expected[i].second);
    }
    EXPECT_EQ(reports[1].change.actions, (std::vector<ChangeAction>{ChangeAction::RenamedFrom, ChangeAction::RenamedTo}));
    EXPECT_EQ(reports[5].change.actions, std::vector<ChangeAction>{ChangeAction::RenamedTo})
        << "a move between folders: the new name follows the old one's report";
}
} // namespace
