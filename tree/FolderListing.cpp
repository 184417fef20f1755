#include "tree/FolderListing.h"
#include <windows.h>
#include "framework/Handles.h"
#include "framework/Path.h"
#include "tree/PathHelpers.h"

namespace {
// Calls visit for every entry the search finds, with its code page 932 name (exact or not),
// until it returns false. The wide search: the ANSI one guesses a spelling for a name the
// code page cannot spell ("Cafe" for "Café"), which may be another file's name.
template <class Visit>
void Search(const ShellPath& folder, Visit visit)
{
    const ShellPath pattern = Append(folder, EndsWithBackslash(folder.ansi.c_str()) ? "*" : "\\*");
    // No ANSI function takes a longer path; a cut one would search another folder.
    if ((pattern.IsWide() ? pattern.wide.size() : pattern.ansi.size()) >= MAX_PATH)
        return;
    WIN32_FIND_DATAW data;
    const UniqueFindHandle find(::FindFirstFileW(pattern.Wide().c_str(), &data));
    for (BOOL more = static_cast<bool>(find); more; more = ::FindNextFileW(find.get(), &data)) {
        std::string name;
        const bool spelled = ToCodePage(data.cFileName, name);
        if (!visit(data, name, spelled))
            return;
    }
}
} // namespace

ShellPath AbsoluteFolder(const ShellPath& folder)
{
    if (!folder.IsWide())
        return PathFromAnsi(AfxGetFullPathName(folder.ansi.c_str()));
    return PathFromWide(AfxGetFullPathName(folder.wide.c_str()));
}

bool PathExists(const ShellPath& path)
{
    // Asked in its own letter case: the file system ignores case, but this Wine finds a name
    // in another case only by reading the whole folder. Without wildcards a search finds what
    // the attributes are found for, and they cost less to ask.
    const std::wstring wide = path.Wide();
    if (wide.find_first_of(L"*?") == std::wstring::npos)
        return (path.IsWide() ? ::GetFileAttributesW(wide.c_str()) : ::GetFileAttributesA(path.ansi.c_str())) !=
               INVALID_FILE_ATTRIBUTES;
    WIN32_FIND_DATAW data;
    return static_cast<bool>(UniqueFindHandle(::FindFirstFileW(wide.c_str(), &data)));
}

ShellPath EntryPath(const ShellPath& folder, const FolderEntry& entry)
{
    return JoinPath(folder, entry.name, entry.wide);
}

std::vector<FolderEntry> ListFolder(const ShellPath& folder, ListingRule rule, bool withFiles, bool* hasButton)
{
    std::vector<FolderEntry> entries;
    if (hasButton != nullptr)
        *hasButton = false;
    Search(folder, [&](const WIN32_FIND_DATAW& data, std::string& name, bool spelled) {
        if (hasButton != nullptr && !*hasButton)
            *hasButton = CountsForButton(name, data.dwFileAttributes, withFiles);
        const bool directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if ((directory || withFiles) && IsListed(name, data.dwFileAttributes, rule)) {
            const ItemKind kind = KindOfEntry(name, data.dwFileAttributes);
            entries.push_back({std::move(name), data.dwFileAttributes, kind, spelled ? L"" : data.cFileName});
        }
        return true;
    });
    OrderEntries(entries, rule);
    return entries;
}

bool HasButtonEntries(const ShellPath& folder, bool withFiles)
{
    bool found = false;
    Search(folder, [&](const WIN32_FIND_DATAW& data, const std::string& name, bool) {
        found = CountsForButton(name, data.dwFileAttributes, withFiles);
        return !found;
    });
    return found;
}
