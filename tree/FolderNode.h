// One listed entry of the folder tree's model: what the listing said of it, and where it is.
#pragma once
#include <memory>
#include <vector>
#include "tree/FolderEntry.h"

struct FolderNode {
    FolderEntry entry;            // the name in both forms as the listing gave it, kind, attributes
    FolderNode* parent = nullptr; // null for the root, whose path the model holds
    std::vector<std::unique_ptr<FolderNode>> children; // in listing order; empty until listed
    bool listed = false; // its children are those of its last listing, not yet forgotten
};
