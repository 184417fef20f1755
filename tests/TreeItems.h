// A tree control read and driven as a user sees it, for the fixtures over a tree alone and
// over the whole program alike.
#pragma once
#include <string>
#include <vector>
#include "framework/TreeCtrl.h"

// The texts of an item's children (TVI_ROOT: the top level).
inline std::vector<std::string> ChildTexts(const CTreeCtrl& tree, HTREEITEM parent = TVI_ROOT)
{
    std::vector<std::string> texts;
    for (HTREEITEM h = tree.GetChildItem(parent); h != nullptr; h = tree.GetNextSiblingItem(h))
        texts.push_back(tree.GetItemText(h));
    return texts;
}

// The item at a path of display texts, one level per entry; null where one is missing.
inline HTREEITEM ItemAt(const CTreeCtrl& tree, const std::vector<std::string>& texts, HTREEITEM parent = TVI_ROOT)
{
    HTREEITEM current = parent;
    for (const std::string& text : texts) {
        HTREEITEM h = tree.GetChildItem(current);
        while (h != nullptr && tree.GetItemText(h) != text)
            h = tree.GetNextSiblingItem(h);
        if (h == nullptr)
            return nullptr;
        current = h;
    }
    return current;
}

// What a user's key does on an item: the arrows always notify, unlike a repeated TVM_EXPAND.
inline void PressKey(const CTreeCtrl& tree, HTREEITEM item, WPARAM key)
{
    tree.SelectItem(item);
    tree.SendMessage(WM_KEYDOWN, key, 0);
}

inline bool IsExpanded(const CTreeCtrl& tree, HTREEITEM item)
{
    return (tree.GetItemState(item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}
