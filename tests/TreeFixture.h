// A real folder tree control in a window of its own, over a folder the test builds.
#pragma once
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "TempFolder.h"
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

    // The texts of an item's children (TVI_ROOT: the top level).
    std::vector<std::string> Texts(HTREEITEM parent = TVI_ROOT) const
    {
        std::vector<std::string> texts;
        for (HTREEITEM h = tree.GetChildItem(parent); h != nullptr; h = tree.GetNextSiblingItem(h))
            texts.push_back(tree.GetItemText(h));
        return texts;
    }

    // The item at a path of display texts, one level per entry.
    HTREEITEM Item(const std::vector<std::string>& texts) const
    {
        HTREEITEM current = TVI_ROOT;
        for (const std::string& text : texts) {
            HTREEITEM found = nullptr;
            for (HTREEITEM h = tree.GetChildItem(current); h != nullptr && found == nullptr;
                 h = tree.GetNextSiblingItem(h))
                if (tree.GetItemText(h) == text)
                    found = h;
            if (found == nullptr)
                return nullptr;
            current = found;
        }
        return current;
    }

    // What a user's arrow keys do: they always notify, unlike a repeated TVM_EXPAND.
    void UserExpand(HTREEITEM item) const { Key(item, VK_RIGHT); }
    void UserCollapse(HTREEITEM item) const { Key(item, VK_LEFT); }
    void Key(HTREEITEM item, WPARAM key) const
    {
        tree.SelectItem(item);
        tree.SendMessage(WM_KEYDOWN, key, 0);
    }
    bool IsExpanded(HTREEITEM item) const { return (tree.GetItemState(item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0; }
    bool HasPlaceholderOnly(HTREEITEM item) const
    {
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
