// The folders under one root as they were last listed, free of any window: the tree draws
// it, and whatever else follows the disk listens to its changes.
#pragma once
#include <memory>
#include <string>
#include <utility>
#include <vector>
#include "tree/FolderNode.h"
#include "tree/ShellPath.h"

// What a folder's listing changed. Removed nodes live as long as this does, so that whoever
// hears of them can still find what stood for them.
struct FolderDiff {
    std::vector<FolderNode*> added;
    std::vector<FolderNode*> kept;
    std::vector<FolderNode*> renamed; // kept under their new names, children and all
    std::vector<std::unique_ptr<FolderNode>> removed;
};

class CFolderModelListener {
public:
    // The folder's children changed: listed, listed again, or forgotten.
    virtual void OnFolderChanged(const FolderNode& folder, const FolderDiff& diff) = 0;

protected:
    ~CFolderModelListener() = default;
};

class CFolderModel {
public:
    // Starts over at this root: every node goes.
    void SetRoot(const ShellPath& root);
    const ShellPath& RootPath() const { return m_rootPath; }
    FolderNode& Root() { return m_root; }
    const FolderNode& Root() const { return m_root; }
    // The entry's full path, from the root's and the names of its folders.
    ShellPath PathOf(const FolderNode& node) const;
    // The entry's path below the root by real names, as a watch reports it; empty for the root.
    static std::wstring RelativePath(const FolderNode& node);
    // The listed folder at that path below the root (letter case aside), or null.
    FolderNode* Find(const std::wstring& relative);
    // The entry at that path below the root, a file or a folder, where its folders are
    // listed; or null.
    FolderNode* FindEntry(const std::wstring& relative);

    // Replaces the folder's children by a fresh listing. *hasButton, when asked for: whether
    // the folder holds what gives it an expand button in the tree.
    FolderDiff List(FolderNode& folder, bool withFiles, bool* hasButton = nullptr);
    // Lists the folder again: a child still there by name and kind keeps its node (and its
    // children); renames (old name, new name, as reported) keep the renamed one's node too.
    FolderDiff Relist(FolderNode& folder, bool withFiles,
                      const std::vector<std::pair<std::wstring, std::wstring>>& renames = {});
    // The folder's children go (it was collapsed).
    void Forget(FolderNode& folder);

    void AddListener(CFolderModelListener* listener) { m_listeners.push_back(listener); }
    void RemoveListener(CFolderModelListener* listener);

private:
    void Tell(const FolderNode& folder, const FolderDiff& diff) const;

    ShellPath m_rootPath;
    FolderNode m_root;
    std::vector<CFolderModelListener*> m_listeners;
};
