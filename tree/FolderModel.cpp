#include "tree/FolderModel.h"
#include <algorithm>
#include <map>
#include <tuple>
#include <windows.h>
#include "tree/FolderListing.h"

namespace {
// A child is the same one while its name, in both forms, and its kind stay.
using Key = std::tuple<std::string, std::wstring, int>;

Key KeyOf(const FolderEntry& entry)
{
    return {entry.name, entry.wide, entry.kind};
}

// A reported name in the two forms a listing gives it.
std::pair<std::string, std::wstring> ListedName(const std::wstring& reported)
{
    std::string name;
    if (ToCodePage(reported, name))
        return {name, {}};
    return {name, reported};
}
} // namespace

void CFolderModel::SetRoot(const ShellPath& root)
{
    Forget(m_root);
    m_rootPath = root;
}

ShellPath CFolderModel::PathOf(const FolderNode& node) const
{
    std::vector<const FolderNode*> chain;
    for (const FolderNode* n = &node; n != nullptr && n != &m_root; n = n->parent)
        chain.push_back(n);
    ShellPath path = m_rootPath;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        path = EntryPath(path, (*it)->entry);
    return path;
}

FolderDiff CFolderModel::List(FolderNode& folder, bool withFiles, bool* hasButton)
{
    FolderDiff diff;
    diff.removed = std::move(folder.children);
    folder.children.clear();
    folder.listed = true;
    for (FolderEntry& entry : ListFolder(PathOf(folder), ListingRule::Tree, withFiles, hasButton)) {
        folder.children.push_back(std::make_unique<FolderNode>(FolderNode{std::move(entry), &folder, {}}));
        diff.added.push_back(folder.children.back().get());
    }
    Tell(folder, diff);
    return diff;
}

FolderDiff CFolderModel::Relist(FolderNode& folder, bool withFiles,
                                const std::vector<std::pair<std::wstring, std::wstring>>& renames)
{
    std::map<Key, std::unique_ptr<FolderNode>> old;
    for (std::unique_ptr<FolderNode>& child : folder.children)
        old.emplace(KeyOf(child->entry), std::move(child));
    folder.children.clear();
    // A renamed child is found under its new name: it keeps its node, and with it its children.
    std::map<Key, std::unique_ptr<FolderNode>> moved;
    for (const auto& [from, to] : renames) {
        const auto [fromName, fromWide] = ListedName(from);
        const auto [toName, toWide] = ListedName(to);
        for (int kind = kindFolder; kind <= kindInternetShortcut; ++kind) {
            const auto it = old.find({fromName, fromWide, kind});
            if (it == old.end())
                continue;
            moved.emplace(Key{toName, toWide, kind}, std::move(it->second));
            old.erase(it);
            break;
        }
    }
    FolderDiff diff;
    for (FolderEntry& entry : ListFolder(PathOf(folder), ListingRule::Tree, withFiles)) {
        const Key key = KeyOf(entry);
        std::unique_ptr<FolderNode> node;
        std::vector<FolderNode*>* told = &diff.added;
        if (auto it = old.find(key); it != old.end()) {
            node = std::move(it->second);
            old.erase(it);
            told = &diff.kept;
        } else if (auto renamed = moved.find(key); renamed != moved.end()) {
            node = std::move(renamed->second);
            moved.erase(renamed);
            told = &diff.renamed;
        } else {
            node = std::make_unique<FolderNode>(FolderNode{{}, &folder, {}});
        }
        node->entry = std::move(entry);
        told->push_back(node.get());
        folder.children.push_back(std::move(node));
    }
    for (auto* left : {&old, &moved})
        for (auto& [key, node] : *left)
            diff.removed.push_back(std::move(node));
    Tell(folder, diff);
    return diff;
}

void CFolderModel::Forget(FolderNode& folder)
{
    folder.listed = false;
    if (folder.children.empty())
        return;
    FolderDiff diff;
    diff.removed = std::move(folder.children);
    folder.children.clear();
    Tell(folder, diff);
}

void CFolderModel::RemoveListener(CFolderModelListener* listener)
{
    m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), listener), m_listeners.end());
}

void CFolderModel::Tell(const FolderNode& folder, const FolderDiff& diff) const
{
    for (CFolderModelListener* listener : m_listeners)
        listener->OnFolderChanged(folder, diff);
}

namespace {
std::wstring WideName(const FolderEntry& entry)
{
    return entry.wide.empty() ? FromCodePage(entry.name) : entry.wide;
}
} // namespace

std::wstring CFolderModel::RelativePath(const FolderNode& node)
{
    std::wstring path;
    for (const FolderNode* n = &node; n->parent != nullptr; n = n->parent)
        path = path.empty() ? WideName(n->entry) : WideName(n->entry) + L'\\' + path;
    return path;
}

FolderNode* CFolderModel::Find(const std::wstring& relative)
{
    FolderNode* node = FindEntry(relative);
    return node != nullptr && (node == &m_root || node->entry.kind == kindFolder) ? node : nullptr;
}

FolderNode* CFolderModel::FindEntry(const std::wstring& relative)
{
    // A file has no children: a path through one finds nothing.
    FolderNode* node = &m_root;
    for (size_t start = 0; node != nullptr && start < relative.size();) {
        const size_t end = std::min(relative.find(L'\\', start), relative.size());
        const std::wstring_view name(relative.data() + start, end - start);
        FolderNode* found = nullptr;
        for (const std::unique_ptr<FolderNode>& child : node->children) {
            const std::wstring wide = WideName(child->entry);
            if (::CompareStringOrdinal(wide.c_str(), static_cast<int>(wide.size()), name.data(),
                                       static_cast<int>(name.size()), TRUE) == CSTR_EQUAL) {
                found = child.get();
                break;
            }
        }
        node = found;
        start = end + 1;
    }
    return node;
}
