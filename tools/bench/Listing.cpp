#include "tools/bench/Listing.h"
#include "framework/Handles.h"

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
