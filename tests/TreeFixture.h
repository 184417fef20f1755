// A real folder tree control in a window of its own, over a folder the test builds.
#pragma once
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>
#include "TempFolder.h"
#include "TreeItems.h"
#include "framework/WinApp.h"
#include "tree/FolderTreeCtrl.h"

class TreeHost : public CWnd {
};

class TreeFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        RECT rect{0, 0, 300, 400};
        ASSERT_TRUE(host.CreateEx(0, nullptr, "host", WS_POPUP | WS_VISIBLE, rect, nullptr, nullptr));
        ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, rect, &host,
                                1002));
        root = folder.MakeFolder("Root");
    }

    std::vector<std::string> Texts(HTREEITEM parent = TVI_ROOT) const { return ChildTexts(tree, parent); }
    BOOL Show(const std::string& rootPath, BOOL showFiles = TRUE) { return tree.DisplayTree(PathFromAnsi(rootPath), showFiles); }
    // One saved path restored on its own, as a restore of a list restores each.
    bool ExpandToPath(const std::string& path) { return tree.RestoreExpanded({path}) == 1; }
    HTREEITEM Item(const std::vector<std::string>& texts) const { return ItemAt(tree, texts); }
    void UserExpand(HTREEITEM item) const { PressKey(tree, item, VK_RIGHT); }
    void UserCollapse(HTREEITEM item) const { PressKey(tree, item, VK_LEFT); }
    // Every item in order as the control holds it: text, kind, icons, children, and the
    // expansion and selection states.
    std::vector<std::string> Snapshot() const
    {
        std::vector<std::string> items;
        const std::function<void(HTREEITEM, int)> walk = [&](HTREEITEM parent, int depth) {
            for (HTREEITEM h = tree.GetChildItem(parent); h != nullptr; h = tree.GetNextSiblingItem(h)) {
                char text[MAX_PATH] = {};
                TVITEMA item{};
                item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_STATE;
                item.hItem = h;
                item.pszText = text;
                item.cchTextMax = sizeof text;
                item.stateMask = TVIS_EXPANDED | TVIS_EXPANDEDONCE | TVIS_SELECTED;
                tree.GetItem(&item);
                items.push_back(std::string(static_cast<size_t>(depth), ' ') + text + " kind " +
                                std::to_string(item.lParam) + " icons " + std::to_string(item.iImage) + "/" +
                                std::to_string(item.iSelectedImage) + " children " + std::to_string(item.cChildren) +
                                " state " + std::to_string(item.state & item.stateMask));
                walk(h, depth + 1);
            }
        };
        walk(TVI_ROOT, 0);
        return items;
    }

    // The tree as a user reads it, one line per item: its depth, text, "+" when expanded and
    // "*" when selected (a placeholder shows as its depth alone).
    std::vector<std::string> Outline() const
    {
        std::vector<std::string> lines;
        const std::function<void(HTREEITEM, size_t)> walk = [&](HTREEITEM parent, size_t depth) {
            for (HTREEITEM h = tree.GetChildItem(parent); h != nullptr; h = tree.GetNextSiblingItem(h)) {
                const UINT state = tree.GetItemState(h, TVIS_EXPANDED | TVIS_SELECTED);
                lines.push_back(std::string(depth, ' ') + tree.GetItemText(h) + (state & TVIS_EXPANDED ? " +" : "") +
                                (state & TVIS_SELECTED ? " *" : ""));
                walk(h, depth + 1);
            }
        };
        walk(TVI_ROOT, 0);
        return lines;
    }

    bool IsExpanded(HTREEITEM item) const { return ::IsExpanded(tree, item); }
    // Asked as the control asks when it draws the item's button.
    bool HasButton(HTREEITEM item) const
    {
        TVITEMA tv{};
        tv.mask = TVIF_CHILDREN;
        tv.hItem = item;
        return tree.GetItem(&tv) && tv.cChildren != 0;
    }
    bool HasPlaceholderOnly(HTREEITEM item) const
    {
        if (!HasButton(item))
            return false;
        HTREEITEM first = tree.GetChildItem(item);
        return first != nullptr && tree.GetItemText(first).empty() && tree.GetNextSiblingItem(first) == nullptr;
    }

    CWinApp app;
    TempFolder folder;
    std::string root;
    TreeHost host;
    CFolderTreeCtrl tree;
};

using Names = std::vector<std::string>;
