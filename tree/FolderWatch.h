// Change notifications for one folder, or for its whole subtree. They arrive through a
// completion routine, which the system runs on the watching thread whenever that thread
// waits alertably (the message loop does): no thread and no wait handle per watch.
#pragma once
#include <functional>
#include <string>
#include <utility>
#include <vector>

// What happened to a name; the values are the system's FILE_ACTION_* codes.
enum class ChangeAction : unsigned long { Added = 1, Removed, Modified, RenamedFrom, RenamedTo };

struct FolderChange {
    std::vector<std::wstring> names; // the entries that changed, as the system reports them
    // actions[i] happened to names[i]; a rename is RenamedFrom followed by RenamedTo.
    std::vector<ChangeAction> actions;
    bool overflow = false;           // more changed than could be told: any entry may have
    bool ended = false;              // the watch stopped (the folder went): no more will come
};
// The renames of a change as pairs of old and new name, in the order they came.
std::vector<std::pair<std::wstring, std::wstring>> RenamePairs(const FolderChange& change);

class CFolderWatch {
public:
    using Callback = std::function<void(const FolderChange&)>;

    // Starts watching; Active() tells whether the folder could be watched. A subtree watch
    // names what changed by its path below the folder.
    CFolderWatch(const std::wstring& folder, Callback onChange, bool subtree = false);
    ~CFolderWatch();
    CFolderWatch(const CFolderWatch&) = delete;
    CFolderWatch& operator=(const CFolderWatch&) = delete;

    // Hands the watch to the system, which closes it with the process: nothing is reported
    // any more, and nothing is left to do when the watch goes. Only for a process that ends.
    void LeaveToProcessEnd();

    bool Active() const;
    // Is the watched folder still the one the path names (not moved away or replaced)?
    bool Watches(const std::wstring& folder) const;

private:
    struct Request;
    Request* m_request; // owned here until closed or left; then by its last completion
};
