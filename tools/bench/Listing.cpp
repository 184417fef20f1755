#include "tools/bench/Listing.h"
#include "framework/Handles.h"
#include "tools/bench/FloorOrder.h"

namespace {
void CollectDeepest(const std::string& root, const std::string& parent, size_t depth, size_t count,
                    const FloorOrder& order, std::vector<std::string>& out)
{
    Listing listing = ListFolder(parent.empty() ? root : root + '\\' + parent);
    order.Sort(listing.folders);
    for (size_t i = 0; i < listing.folders.size() && out.size() < count; ++i) {
        const std::string child = parent.empty() ? listing.folders[i] : parent + '\\' + listing.folders[i];
        if (depth == 1)
            out.push_back(child);
        else
            CollectDeepest(root, child, depth - 1, count, order, out);
    }
}
} // namespace

Listing ListFolder(const std::string& folder)
{
    Listing listing;
    WIN32_FIND_DATAA data;
    UniqueFindHandle find(::FindFirstFileA((folder + "\\*").c_str(), &data));
    for (bool more = static_cast<bool>(find); more; more = ::FindNextFileA(find.get(), &data)) {
        const std::string name = data.cFileName;
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            listing.files.push_back(name);
        else if (name != "." && name != "..")
            listing.folders.push_back(name);
    }
    return listing;
}

std::vector<std::string> DeepestFolders(const std::string& root, size_t depth, size_t count, const FloorOrder& order)
{
    std::vector<std::string> out;
    CollectDeepest(root, {}, depth, count, order, out);
    return out;
}
