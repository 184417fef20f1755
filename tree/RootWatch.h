// The changes below the root folder, from watches that lock no folder inside it.
//
// How to use it:
//   CRootWatch watch(rootPath, [this](const RootChange& c) { ... });
//   watch.Watch(L"Games\\Arcade");   // a folder whose changes the tree needs (an expanded one)
//   watch.Unwatch(L"Games\\Arcade"); // no longer needed (collapsed, deleted)
// Reports arrive on the creating thread while it waits alertably (the message loop does), as
// completion routines: the tree already gathers a burst on a timer, and a posted message per
// report would only add a second queue in front of it. A report may destroy the watch.
// Kind::Root: the root may have gone, moved away or come back; WatchesRoot() says whether the
// path still names the watched folder. If not, make a new CRootWatch (it notices the root
// made again even when made while the root is missing).
//
// Two ways stand behind this interface, chosen in SystemWay():
// - Subtree (Windows): one watch of the root's whole subtree. Windows refuses to rename or
//   move a folder while a handle is open on a folder inside it; this way holds a handle on
//   the root alone, however many folders are shown. Watch/Unwatch cost nothing.
// - PerFolder (Wine): a subtree watch there never reports a change in a subfolder, so the
//   root and each folder asked for by Watch() have a watch of their own.
// Both also watch the root's parent (not inside the root) for the root's own name.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "tree/FolderWatch.h"

struct RootChange {
    enum class Kind {
        Folder,   // entries of one folder changed, or its watch ended (change.ended)
        Anything, // more changed than could be told: any folder below the root may have
        Root,     // the root may have gone, moved away or come back: see WatchesRoot()
    };
    Kind kind = Kind::Folder;
    std::wstring folder; // Folder: below the root, no backslash at either end; empty: the root
    FolderChange change; // Folder: the names in that folder, each with its action
};

class CRootWatch {
public:
    enum class Way { Subtree, PerFolder };
    using Callback = std::function<void(const RootChange&)>;

    // Subtree where the system reports changes in subfolders to a subtree watch: not under Wine.
    static Way SystemWay();

    // root: the root folder's full path, with or without a trailing backslash.
    CRootWatch(const std::wstring& root, Callback onChange, Way way = SystemWay());
    ~CRootWatch();
    CRootWatch(const CRootWatch&) = delete;
    CRootWatch& operator=(const CRootWatch&) = delete;

    // Is the root watched, and does its path still name the folder watched?
    bool WatchesRoot() const;
    // folder: below the root, as in RootChange. False when it cannot be watched (it went).
    bool Watch(const std::wstring& folder);
    void Unwatch(const std::wstring& folder);
    // For a process that ends: the watches are left for the system to close with it (under
    // this Wine each one closed costs several round trips), and nothing is reported any more.
    void LeaveToProcessEnd();

private:
    void OnFolderChange(const std::wstring& folder, const FolderChange& change);
    void OnSubtreeChange(const FolderChange& change);
    void OnParentChange(const FolderChange& change);
    void Report(const RootChange& change) const;

    Way m_way;
    std::wstring m_root; // ends with a backslash
    std::wstring m_name; // the root's own name in its parent; empty for a drive's root
    Callback m_onChange;
    std::unique_ptr<CFolderWatch> m_rootWatch;
    std::unique_ptr<CFolderWatch> m_parentWatch;
    std::map<std::wstring, std::unique_ptr<CFolderWatch>> m_folders; // per folder only
};

// A subtree watch's names (paths below the root) as one report per containing folder, in
// the order they came; the names in each are those of the folder's own entries.
std::vector<RootChange> ChangesByFolder(const FolderChange& subtreeChange);
