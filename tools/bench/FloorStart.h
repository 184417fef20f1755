// What the floor of Fernwick.exe's start shows: the root's entries, the first saved ones of
// its folders expanded, the first row selected.
#pragma once
#include <string>

class FloorOrder;
class FloorTree;

void FillStartTree(FloorTree& floor, const FloorOrder& order, const std::string& root, size_t expandedFolders);
