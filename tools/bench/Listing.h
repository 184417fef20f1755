// What the floors read: a folder's names as the file search gives them.
#pragma once
#include <string>
#include <vector>

struct Listing {
    std::vector<std::string> folders, files; // names only; "." and ".." left out
};

// folder: without a trailing backslash.
Listing ListFolder(const std::string& folder);
