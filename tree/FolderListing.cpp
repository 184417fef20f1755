#include "tree/FolderListing.h"
#include <windows.h>
#include "framework/Handles.h"
#include "framework/Path.h"
#include "tree/PathHelpers.h"

namespace {
// Calls visit for every entry the search finds, until it returns false.
template <class Visit>
void Search(const std::string& folder, Visit visit)
{
    const std::string pattern = JoinPath(folder, "*");
    // No ANSI function takes a longer path; a cut one would search another folder.
    if (pattern.size() >= MAX_PATH)
        return;
    WIN32_FIND_DATAA data;
    const UniqueFindHandle find(::FindFirstFileA(pattern.c_str(), &data));
    for (BOOL more = static_cast<bool>(find); more && visit(data); more = ::FindNextFileA(find.get(), &data)) {
    }
}
} // namespace

std::string AbsoluteFolder(const std::string& folder)
{
    return AfxGetFullPathName(folder.c_str());
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    return EndsWithBackslash(folder.c_str()) ? folder + name : folder + '\\' + name;
}

std::vector<FolderEntry> ListFolder(const std::string& folder, ListingRule rule, bool withFiles, bool* hasButton)
{
    std::vector<FolderEntry> entries;
    if (hasButton != nullptr)
        *hasButton = false;
    Search(folder, [&](const WIN32_FIND_DATAA& data) {
        if (hasButton != nullptr && !*hasButton)
            *hasButton = CountsForButton(data.cFileName, data.dwFileAttributes, withFiles);
        const bool directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if ((directory || withFiles) && IsListed(data.cFileName, data.dwFileAttributes, rule))
            entries.push_back({data.cFileName, data.dwFileAttributes, KindOfEntry(data.cFileName, data.dwFileAttributes)});
        return true;
    });
    OrderEntries(entries, rule);
    return entries;
}

bool HasButtonEntries(const std::string& folder, bool withFiles)
{
    bool found = false;
    Search(folder, [&](const WIN32_FIND_DATAA& data) {
        found = CountsForButton(data.cFileName, data.dwFileAttributes, withFiles);
        return !found;
    });
    return found;
}
