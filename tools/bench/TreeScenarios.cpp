// Expanding a big folder until it is painted, and restoring saved folders on a fresh tree.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <stdexcept>
#include "framework/Handles.h"
#include "tools/bench/BenchApp.h"
#include "tools/bench/FloorTree.h"
#include "tools/bench/Listing.h"
#include "tools/bench/Scenarios.h"
#include "tree/PathHelpers.h"

namespace {
constexpr size_t kSavedPaths = 50;

int IconIndex(const std::string& path)
{
    SHFILEINFOA info{};
    ::SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    return info.iIcon;
}

// The floor of expanding a folder: the listing, one first-entry probe per subfolder, the
// inserts with redrawing off, the icons of the items on screen, and the paint.
double FloorExpand(const FloorTree& floor, const std::string& folder)
{
    floor.Show(true);
    TreeView_DeleteAllItems(floor.Tree());
    const HTREEITEM parent = floor.Insert(TVI_ROOT, "Big", 0);
    const double start = NowMs();
    const Listing listing = ListFolder(folder);
    for (const std::string& name : listing.folders) {
        WIN32_FIND_DATAA data;
        UniqueFindHandle probe(::FindFirstFileA((folder + '\\' + name + "\\*").c_str(), &data));
    }
    ::SendMessageA(floor.Tree(), WM_SETREDRAW, FALSE, 0);
    // The parent takes the first row.
    const UINT rows = TreeView_GetVisibleCount(floor.Tree());
    const size_t onScreen = rows > 0 ? rows - 1 : 0;
    size_t inserted = 0;
    for (const auto* names : {&listing.folders, &listing.files})
        for (const std::string& name : *names)
            floor.Insert(parent, name, inserted++ < onScreen ? IconIndex(folder + '\\' + name) : 0);
    ::SendMessageA(floor.Tree(), WM_SETREDRAW, TRUE, 0);
    TreeView_Expand(floor.Tree(), parent, TVE_EXPAND);
    ::UpdateWindow(floor.Tree());
    const double ms = NowMs() - start;
    floor.Show(false);
    return ms;
}

// The first `count` deepest folders three levels down, in the tree's order, relative to
// root, each with the positions of its folders among their siblings.
struct SavedPath {
    std::string path;
    std::vector<int> positions;
};

void CollectDeepest(const std::string& root, const SavedPath& parent, size_t count, std::vector<SavedPath>& out)
{
    Listing listing = ListFolder(root + '\\' + parent.path);
    SortNoCase(listing.folders);
    for (size_t i = 0; i < listing.folders.size() && out.size() < count; ++i) {
        SavedPath child{parent.path.empty() ? listing.folders[i] : parent.path + '\\' + listing.folders[i],
                        parent.positions};
        child.positions.push_back(static_cast<int>(i));
        if (child.positions.size() == 3)
            out.push_back(child);
        else
            CollectDeepest(root, child, count, out);
    }
}

HTREEITEM NthChild(const CFolderTreeCtrl& tree, HTREEITEM parent, int n)
{
    HTREEITEM h = tree.GetChildItem(parent);
    for (int i = 0; i < n && h != nullptr; ++i)
        h = tree.GetNextSiblingItem(h);
    return h;
}
} // namespace

ScenarioResult MeasureExpand(const BenchOptions& options)
{
    const std::string folder = options.data + "\\expand";
    BenchApp app(folder);
    CFolderTreeCtrl& tree = app.Tree();
    const HTREEITEM big = FindItem(tree, TVI_ROOT, "Big");
    if (big == nullptr)
        throw std::runtime_error("no folder Big under " + folder + "\\Root");
    const FloorTree floor(tree.m_hWnd);
    const auto fernwick = [&] {
        tree.SelectItem(big);
        app.Settle();
        const double start = NowMs();
        tree.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
        tree.UpdateWindow();
        const double ms = NowMs() - start;
        if (tree.GetItemText(tree.GetChildItem(big)).empty())
            throw std::runtime_error("expanding Big showed nothing");
        // Collapsing forgets the contents: the next run reads them again.
        tree.SendMessage(WM_KEYDOWN, VK_LEFT, 0);
        app.Settle();
        return ms;
    };
    return Measure("expand", options.Runs(), fernwick, [&] { return FloorExpand(floor, folder + "\\Root\\Big"); });
}

ScenarioResult MeasureRestore(const BenchOptions& options)
{
    const std::string folder = options.data + "\\tray";
    BenchApp app(folder);
    CFolderTreeCtrl& tree = app.Tree();
    const std::string root = tree.m_strRootPath;
    std::vector<SavedPath> saved;
    CollectDeepest(folder + "\\Root", {}, kSavedPaths, saved);
    if (saved.empty())
        throw std::runtime_error("no folders three levels deep under " + folder + "\\Root");
    const auto freshTree = [&] {
        tree.DisplayTree(root, TRUE);
        app.Settle();
    };
    const auto fernwick = [&] {
        freshTree();
        const double start = NowMs();
        for (const SavedPath& entry : saved)
            tree.ExpandToPath(entry.path);
        const double ms = NowMs() - start;
        if (tree.GetItemPath(tree.GetSelectedItem()) != root + saved.back().path)
            throw std::runtime_error("restoring did not reach " + saved.back().path);
        return ms;
    };
    // The same expansions and selections, each item found by its place among its siblings.
    const auto floor = [&] {
        freshTree();
        const double start = NowMs();
        tree.SetRedraw(FALSE);
        for (const SavedPath& entry : saved) {
            HTREEITEM item = TVI_ROOT;
            for (int position : entry.positions) {
                item = NthChild(tree, item, position);
                if (item == nullptr)
                    throw std::runtime_error("the floor found no item for " + entry.path);
                tree.Expand(item, TVE_EXPAND);
            }
            tree.SelectItem(item);
        }
        tree.SetRedraw(TRUE);
        return NowMs() - start;
    };
    return Measure("restore", options.Runs(), fernwick, floor);
}
