// What the floors read: a folder's names as the file search gives them.
#pragma once
#include <string>
#include <vector>

class FloorOrder;

struct Listing {
    std::vector<std::string> folders, files; // names only; "." and ".." left out
};

// folder: without a trailing backslash.
Listing ListFolder(const std::string& folder);

// The first count folders `depth` levels down below root, in the tree's order, relative to
// root as the settings file saves them.
std::vector<std::string> DeepestFolders(const std::string& root, size_t depth, size_t count, const FloorOrder& order);
