// Expanding a big folder until it is painted, collapsing a huge one, and restoring saved
// folders on a fresh tree, each against a bare tree-view control doing the least that shows
// the same rows.
#include <windows.h>
#include <commctrl.h>
#include <set>
#include <stdexcept>
#include "tools/bench/BenchApp.h"
#include "tools/bench/FloorOrder.h"
#include "tools/bench/FloorTree.h"
#include "tools/bench/Listing.h"
#include "tools/bench/Scenarios.h"

namespace {
constexpr size_t kSavedPaths = 50;
constexpr size_t kSavedDepth = 3;

// The floor of expanding a folder: the listing, the same order, the inserts with redrawing
// off, the icons and buttons of the rows drawn, and the paint.
double FloorExpand(FloorTree& floor, const FloorOrder& order, const std::string& root, const std::string& name)
{
    floor.Show(true);
    floor.DeleteAll();
    const HTREEITEM parent = floor.InsertEntry(TVI_ROOT, root, name, true);
    TreeView_SelectItem(floor.Tree(), parent);
    ::UpdateWindow(floor.Tree());
    const double start = NowMs();
    ::SendMessageA(floor.Tree(), WM_SETREDRAW, FALSE, 0);
    floor.InsertFolder(parent, root + '\\' + name, order);
    ::SendMessageA(floor.Tree(), WM_SETREDRAW, TRUE, 0);
    TreeView_Expand(floor.Tree(), parent, TVE_EXPAND);
    ::UpdateWindow(floor.Tree());
    return NowMs() - start;
}

// Fernwick's folder item named name, selected, after the queue is empty.
HTREEITEM SelectTopFolder(const BenchApp& app, const std::string& name)
{
    CFolderTreeCtrl& tree = app.Tree();
    const HTREEITEM item = FindItem(tree, TVI_ROOT, name);
    if (item == nullptr)
        throw std::runtime_error("no folder " + name + " under " + tree.m_strRootPath);
    tree.SelectItem(item);
    app.Settle();
    return item;
}

// Presses a key on the selected item until the tree is painted.
double TimeKey(const BenchApp& app, WPARAM key)
{
    const double start = NowMs();
    app.Tree().SendMessage(WM_KEYDOWN, key, 0);
    app.Tree().UpdateWindow();
    return NowMs() - start;
}
} // namespace

ScenarioResult MeasureExpand(const BenchOptions& options)
{
    const std::string folder = options.data + "\\expand";
    BenchApp app(folder);
    CFolderTreeCtrl& tree = app.Tree();
    const HTREEITEM big = SelectTopFolder(app, "Big");
    const std::string root = folder + "\\Root";
    FloorTree floor(tree.m_hWnd);
    const FloorOrder order;
    const auto fernwick = [&] {
        tree.SelectItem(big);
        app.Settle();
        const double ms = TimeKey(app, VK_RIGHT);
        if (tree.GetItemText(tree.GetChildItem(big)).empty())
            throw std::runtime_error("expanding Big showed nothing");
        return ms;
    };
    // Collapsing forgets the contents: the next run reads them again.
    const auto collapse = [&] {
        tree.SendMessage(WM_KEYDOWN, VK_LEFT, 0);
        app.Settle();
    };
    fernwick();
    FloorExpand(floor, order, root, "Big");
    CheckSameRows("expand", tree.m_hWnd, floor.Tree());
    collapse();
    return Measure("expand", options.Plan(),
                   [&] {
                       const double ms = fernwick();
                       collapse();
                       return ms;
                   },
                   [&] {
                       const double ms = FloorExpand(floor, order, root, "Big");
                       floor.Show(false);
                       return ms;
                   });
}

ScenarioResult MeasureCollapse(const BenchOptions& options)
{
    const std::string folder = options.data + "\\collapse";
    BenchApp app(folder);
    CFolderTreeCtrl& tree = app.Tree();
    const HTREEITEM huge = SelectTopFolder(app, "Huge");
    const std::string root = folder + "\\Root";
    FloorTree floor(tree.m_hWnd);
    const FloorOrder order;
    // Each run collapses a folder expanded just before, with the whole listing in it.
    const auto fernwick = [&] {
        tree.SelectItem(huge);
        tree.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
        app.Settle();
        if (tree.GetItemText(tree.GetChildItem(huge)).empty())
            throw std::runtime_error("expanding Huge showed nothing");
        return TimeKey(app, VK_LEFT);
    };
    // The floor: the control drops the folder's items in one message, keeping its button.
    HTREEITEM parent = nullptr;
    const auto floorRun = [&] {
        FloorExpand(floor, order, root, "Huge");
        parent = TreeView_GetRoot(floor.Tree());
        const double start = NowMs();
        TreeView_Expand(floor.Tree(), parent, TVE_COLLAPSE | TVE_COLLAPSERESET);
        ::UpdateWindow(floor.Tree());
        return NowMs() - start;
    };
    fernwick();
    floorRun();
    CheckSameRows("collapse", tree.m_hWnd, floor.Tree());
    if (TreeView_GetChild(floor.Tree(), parent) != nullptr)
        throw std::runtime_error("the floor's collapse kept the items");
    return Measure("collapse", options.Plan(), fernwick, [&] {
        const double ms = floorRun();
        floor.Show(false);
        return ms;
    });
}

ScenarioResult MeasureRestore(const BenchOptions& options)
{
    const std::string folder = options.data + "\\tray";
    BenchApp app(folder);
    CFolderTreeCtrl& tree = app.Tree();
    const std::string root = tree.m_strRootPath;
    const FloorOrder order;
    const std::vector<std::string> saved = DeepestFolders(folder + "\\Root", kSavedDepth, kSavedPaths, order);
    if (saved.empty())
        throw std::runtime_error("no folders three levels deep under " + folder + "\\Root");
    const auto fernwick = [&] {
        tree.DisplayTree(PathFromAnsi(root), TRUE);
        app.Settle();
        const double start = NowMs();
        tree.RestoreExpanded(saved);
        const double ms = NowMs() - start;
        if (tree.GetItemPath(tree.GetSelectedItem()) != root + saved.back())
            throw std::runtime_error("restoring did not reach " + saved.back());
        return ms;
    };

    // The floor lists each folder on the saved paths once, inserts its entries, those on a
    // path already expanded, and selects the last path's folder at the end.
    std::set<std::string> onPaths;
    for (const std::string& path : saved)
        for (size_t slash = path.find('\\'); ; slash = path.find('\\', slash + 1)) {
            onPaths.insert(path.substr(0, slash));
            if (slash == std::string::npos)
                break;
        }
    FloorTree floor(tree.m_hWnd);
    const std::string floorRoot = folder + "\\Root";
    const auto floorRun = [&] {
        floor.Show(true);
        floor.DeleteAll();
        const auto top = floor.InsertFolder(TVI_ROOT, floorRoot, order);
        ::UpdateWindow(floor.Tree());
        const double start = NowMs();
        ::SendMessageA(floor.Tree(), WM_SETREDRAW, FALSE, 0);
        HTREEITEM last = nullptr;
        const std::function<void(const std::string&, HTREEITEM)> fill = [&](const std::string& relative, HTREEITEM item) {
            last = item;
            const auto folders = floor.InsertFolder(item, floorRoot + '\\' + relative, order, [&](const std::string& name) {
                return onPaths.count(relative + '\\' + name) != 0;
            });
            for (const auto& [name, child] : folders)
                if (onPaths.count(relative + '\\' + name) != 0)
                    fill(relative + '\\' + name, child);
        };
        for (const auto& [name, item] : top) {
            if (onPaths.count(name) == 0)
                continue;
            TVITEMA expanded{};
            expanded.mask = TVIF_STATE | TVIF_CHILDREN;
            expanded.hItem = item;
            expanded.state = expanded.stateMask = TVIS_EXPANDED | TVIS_EXPANDEDONCE;
            expanded.cChildren = 1;
            TreeView_SetItem(floor.Tree(), &expanded);
            fill(name, item);
        }
        TreeView_SelectItem(floor.Tree(), last);
        ::SendMessageA(floor.Tree(), WM_SETREDRAW, TRUE, 0);
        ::UpdateWindow(floor.Tree());
        return NowMs() - start;
    };
    fernwick();
    floorRun();
    // Both from the top: restoring scrolls each its own way to the selection.
    TreeView_SelectSetFirstVisible(tree.m_hWnd, tree.GetRootItem());
    TreeView_SelectSetFirstVisible(floor.Tree(), TreeView_GetRoot(floor.Tree()));
    CheckSameRows("restore", tree.m_hWnd, floor.Tree());
    return Measure("restore", options.Plan(), fernwick, [&] {
        const double ms = floorRun();
        floor.Show(false);
        return ms;
    });
}
