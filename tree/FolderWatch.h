// Change notifications for one folder, not its subfolders. They arrive through a completion
// routine, which the system runs on the watching thread whenever that thread waits
// alertably (the message loop does): no thread and no wait handle per folder.
#pragma once
#include <functional>
#include <string>
#include <utility>
#include <vector>

struct FolderChange {
    std::vector<std::wstring> names; // the entries that changed, as the system reports them
    std::vector<std::pair<std::wstring, std::wstring>> renames; // old and new name of each rename
    bool overflow = false;           // more changed than could be told: any entry may have
    bool ended = false;              // the watch stopped (the folder went): no more will come
};

class CFolderWatch {
public:
    using Callback = std::function<void(const FolderChange&)>;

    // Starts watching; Active() tells whether the folder could be watched.
    CFolderWatch(const std::wstring& folder, Callback onChange);
    ~CFolderWatch();
    CFolderWatch(const CFolderWatch&) = delete;
    CFolderWatch& operator=(const CFolderWatch&) = delete;

    bool Active() const;
    // Is the watched folder still the one the path names (not moved away or replaced)?
    bool Watches(const std::wstring& folder) const;

private:
    struct Request;
    Request* m_request; // owned here until cancelled; then by its last completion
};
