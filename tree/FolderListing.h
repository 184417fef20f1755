// A folder read from disk under one of the two listing rules: the one place where the tree
// and the tray menu search a folder.
#pragma once
#include <string>
#include <vector>
#include "tree/FolderEntry.h"
#include "tree/ShellPath.h"

// The folder's entries, ordered by the rule; files only when withFiles. Names come as the
// wide search gives them: each one code page 932 cannot spell keeps its wide form too.
// Empty when the folder cannot be searched. *hasButton, when asked for: what
// HasButtonEntries would say.
std::vector<FolderEntry> ListFolder(const ShellPath& folder, ListingRule rule, bool withFiles = true,
                                    bool* hasButton = nullptr);
// Whether the tree shows an expand button for the folder; the search stops at the first entry
// that gives one.
bool HasButtonEntries(const ShellPath& folder, bool withFiles);
// The folder made absolute, as the file search reports the paths of its entries.
ShellPath AbsoluteFolder(const ShellPath& folder);
// Does the path name an entry? A path with wildcards: does it match one?
bool PathExists(const ShellPath& path);
// The entry's path in folder.
ShellPath EntryPath(const ShellPath& folder, const FolderEntry& entry);
