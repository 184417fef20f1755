#include "tools/bench/FloorStart.h"
#include "tools/bench/FloorOrder.h"
#include "tools/bench/FloorTree.h"

void FillStartTree(FloorTree& floor, const FloorOrder& order, const std::string& root, size_t expandedFolders)
{
    HWND tree = floor.Tree();
    ::SendMessageA(tree, WM_SETREDRAW, FALSE, 0);
    size_t expanded = 0;
    const auto folders = floor.InsertFolder(TVI_ROOT, root, order, [&](const std::string&) {
        return expanded++ < expandedFolders;
    });
    for (size_t i = 0; i < folders.size() && i < expandedFolders; ++i)
        floor.InsertFolder(folders[i].second, root + '\\' + folders[i].first, order);
    TreeView_SelectItem(tree, TreeView_GetRoot(tree));
    ::SendMessageA(tree, WM_SETREDRAW, TRUE, 0);
}
