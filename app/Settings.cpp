#include "app/Settings.h"
#include <algorithm>
#include "app/PlacementText.h"
#include "framework/Handles.h"

namespace {
constexpr char kSection[] = "Settings";
constexpr char kWindowPosKey[] = "WindowPos";
constexpr char kTopMostKey[] = "TopMost";
constexpr char kDirTreeKeyPrefix[] = "DirTree";
constexpr DWORD kDirTreeBufferSize = 260;

std::string ReadValue(const char* key, DWORD bufferSize, const char* iniPath)
{
    // Zeroed: cutting a double-byte character can leave the byte before the terminator unwritten.
    std::string value(bufferSize, '\0');
    ::GetPrivateProfileStringA(kSection, key, "", value.data(), bufferSize, iniPath);
    value.erase(std::find(value.begin(), value.end(), '\0'), value.end());
    return value;
}

// The profile functions take no longer path; Wine would write a file under a mangled name.
// An empty one would mean the system's own win.ini.
bool Reachable(const std::string& iniPath)
{
    return !iniPath.empty() && iniPath.size() < MAX_PATH;
}

// A read-only file is the user's way to keep the settings as they are; some systems (Wine
// run as root) would let the profile functions write it all the same.
bool Writable(const std::string& iniPath)
{
    const DWORD attributes = ::GetFileAttributesA(iniPath.c_str());
    return Reachable(iniPath) && (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY));
}

// The profile functions write the whole file again at every change: killed in the middle,
// the program would leave it cut, with everything in it lost. The changes go to a copy,
// which then takes the file's place in one step; a start finds the old file or the new one.
class SettingsEdit {
public:
    explicit SettingsEdit(const std::string& iniPath) : m_target(iniPath), m_copy(iniPath + ".new")
    {
        const bool exists = ::GetFileAttributesA(iniPath.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (!Reachable(m_copy) || (exists && !::CopyFileA(iniPath.c_str(), m_copy.c_str(), FALSE)))
            m_copy.clear(); // no room for the copy's name: written in place
        else if (!exists)
            ::DeleteFileA(m_copy.c_str()); // left by a kill before the first file existed
    }
    ~SettingsEdit()
    {
        if (m_copy.empty())
            return;
        ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, m_copy.c_str()); // flush
        if (::GetFileAttributesA(m_copy.c_str()) != INVALID_FILE_ATTRIBUTES &&
            !::MoveFileExA(m_copy.c_str(), m_target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            ::DeleteFileA(m_copy.c_str());
    }
    SettingsEdit(const SettingsEdit&) = delete;
    SettingsEdit& operator=(const SettingsEdit&) = delete;

    const char* Path() const { return (m_copy.empty() ? m_target : m_copy).c_str(); }

private:
    const std::string m_target;
    std::string m_copy;
};

std::string DirTreeKey(int index)
{
    return kDirTreeKeyPrefix + std::to_string(index);
}

// Reading trims blanks around a value and drops quotes around it; quoting keeps such a name whole.
std::string Quoted(const std::string& folder)
{
    const auto trimmed = [](char c) { return c == ' ' || c == '\t' || c == '"' || c == '\''; };
    if (trimmed(folder.front()) || trimmed(folder.back()))
        return '"' + folder + '"';
    return folder;
}
} // namespace

bool FileExists(const std::string& path)
{
    WIN32_FIND_DATAA data;
    const UniqueFindHandle find(::FindFirstFileA(path.c_str(), &data));
    return static_cast<bool>(find);
}

bool ReadWindowPlacement(WINDOWPLACEMENT& placement, const std::string& iniPath)
{
    if (!Reachable(iniPath) || !FileExists(iniPath))
        return false;
    const std::optional<PlacementText> read =
        ScanPlacement(ReadValue(kWindowPosKey, kPlacementTextSize, iniPath.c_str()).c_str());
    if (!read)
        return false;
    placement = {sizeof placement, read->flags, read->showCmd, {read->minX, read->minY}, {read->maxX, read->maxY},
                 {read->left, read->top, read->right, read->bottom}};
    return true;
}

void WriteWindowPlacement(const WINDOWPLACEMENT& placement, const std::string& iniPath)
{
    const std::optional<std::string> text = FormatPlacement(
        {placement.flags, placement.showCmd, placement.ptMinPosition.x, placement.ptMinPosition.y,
         placement.ptMaxPosition.x, placement.ptMaxPosition.y, placement.rcNormalPosition.left,
         placement.rcNormalPosition.top, placement.rcNormalPosition.right, placement.rcNormalPosition.bottom});
    if (!text || !Writable(iniPath))
        return;
    const SettingsEdit edit(iniPath);
    ::WritePrivateProfileStringA(kSection, kWindowPosKey, text->c_str(), edit.Path());
}

bool ReadDirTreeList(std::vector<std::string>& list, const std::string& iniPath)
{
    if (!Reachable(iniPath) || !FileExists(iniPath))
        return false;
    for (int index = 0;; ++index) {
        std::string folder = ReadValue(DirTreeKey(index).c_str(), kDirTreeBufferSize, iniPath.c_str());
        if (folder.empty())
            break;
        list.push_back(std::move(folder));
    }
    return !list.empty();
}

void WriteDirTreeList(const std::vector<std::string>& list, const std::string& iniPath)
{
    if (!Writable(iniPath))
        return;
    const SettingsEdit edit(iniPath);
    int index = 0;
    for (const std::string& folder : list) {
        // An empty value would end the list there and hide the folders after it.
        if (folder.empty())
            continue;
        ::WritePrivateProfileStringA(kSection, DirTreeKey(index++).c_str(), Quoted(folder).c_str(), edit.Path());
    }
    // Advancing even when a delete fails keeps a read-only file from looping forever.
    for (;; ++index) {
        const std::string key = DirTreeKey(index);
        if (ReadValue(key.c_str(), kDirTreeBufferSize, edit.Path()).empty())
            break;
        ::WritePrivateProfileStringA(kSection, key.c_str(), nullptr, edit.Path());
    }
}

bool ReadTopMost(const std::string& iniPath)
{
    return Reachable(iniPath) && FileExists(iniPath) &&
           ::GetPrivateProfileIntA(kSection, kTopMostKey, 0, iniPath.c_str()) != 0;
}

void WriteTopMost(bool topMost, const std::string& iniPath)
{
    if (!Writable(iniPath) || !FileExists(iniPath))
        return;
    const SettingsEdit edit(iniPath);
    ::WritePrivateProfileStringA(kSection, kTopMostKey, std::to_string(static_cast<long>(topMost)).c_str(),
                                 edit.Path());
}
