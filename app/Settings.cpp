#include "app/Settings.h"
#include <algorithm>
#include "app/PlacementText.h"
#include "app/ProfileSection.h"
#include "framework/Handles.h"

namespace {
constexpr wchar_t kSection[] = L"Settings";
constexpr char16_t kWindowPosKey[] = u"WindowPos";
constexpr char16_t kTopMostKey[] = u"TopMost";
constexpr char16_t kHotkeyKey[] = u"Hotkey";
constexpr char kDirTreeKeyPrefix[] = "DirTree";
constexpr std::size_t kDirTreeBufferSize = 260;
// Past this the file is no settings file; its section is taken as empty.
constexpr DWORD kLargestSection = DWORD{1} << 28;

std::wstring Wide(const std::string& text)
{
    std::wstring wide(text.size(), L'\0'); // a code page 932 character is never two UTF-16 units
    wide.resize(static_cast<std::size_t>(::MultiByteToWideChar(
        CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), static_cast<int>(wide.size()))));
    return wide;
}

std::u16string Utf16(const std::string& text)
{
    const std::wstring wide = Wide(text);
    return {wide.begin(), wide.end()};
}

// As GetPrivateProfileStringA hands a value on into `size` bytes: a character that would
// not fit whole is left out, and the zeroed buffer ends the text there.
std::string Ansi(const std::u16string& value, std::size_t size)
{
    std::string text(size - 1, '\0');
    ::WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(value.data()), static_cast<int>(value.size()),
                          text.data(), static_cast<int>(text.size()), nullptr, nullptr);
    text.erase(std::find(text.begin(), text.end(), '\0'), text.end());
    return text;
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

std::u16string DirTreeKey(std::size_t index)
{
    return Utf16(kDirTreeKeyPrefix + std::to_string(index));
}

// Reading trims blanks around a value and drops quotes around it; quoting keeps such a name whole.
std::string Quoted(const std::string& folder)
{
    const auto trimmed = [](char c) { return c == ' ' || c == '\t' || c == '"' || c == '\''; };
    if (trimmed(folder.front()) || trimmed(folder.back()))
        return '"' + folder + '"';
    return folder;
}

// The whole section in one call, with room for every character the file can hold.
ProfileSection ReadSection(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) || data.nFileSizeHigh != 0)
        return {};
    for (DWORD size = data.nFileSizeLow + 64; size <= kLargestSection; size *= 2) {
        std::wstring lines(size, L'\0');
        const DWORD length = ::GetPrivateProfileSectionW(kSection, lines.data(), size, path.c_str());
        if (length + 2 < size) // else it was cut
            return ProfileSection(std::u16string(lines.begin(), lines.begin() + length));
    }
    return {};
}

// Where the file really is: a symbolic link (or a folder on the way) leads to its target,
// which Wine reports as the handle's final path but never as a reparse point.
std::wstring FinalPath(HANDLE file)
{
    std::wstring path(MAX_PATH, L'\0');
    const DWORD length = ::GetFinalPathNameByHandleW(file, path.data(), MAX_PATH, VOLUME_NAME_DOS);
    if (length == 0 || length >= MAX_PATH)
        return {};
    path.resize(length);
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0)
        return L"\\\\" + path.substr(8);
    return path.rfind(L"\\\\?\\", 0) == 0 ? path.substr(4) : path;
}

// Where a save goes, and whether it must write the file where it is: replacing a file
// that has other names would leave them with the old settings, and replacing a link
// whose target cannot be told would turn it into a plain file.
struct SaveTarget {
    std::wstring path;
    bool inPlace;
};

SaveTarget WhereItLives(const std::wstring& given)
{
    const UniqueFileHandle file(::CreateFileW(given.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                              nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file)
        return {given, false}; // a new file has nothing to keep
    BY_HANDLE_FILE_INFORMATION info{};
    const bool otherNames = ::GetFileInformationByHandle(file.get(), &info) && info.nNumberOfLinks > 1;
    const std::wstring real = FinalPath(file.get());
    if (real.empty())
        return {given, otherNames || (::GetFileAttributesW(given.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT) != 0};
    return {real, otherNames};
}

// A copy of the file under a name no file has, in its own folder so that it can take the
// file's place in one step; empty when none can be made.
std::wstring CopyBeside(const std::wstring& path)
{
    const std::wstring folder = path.substr(0, path.find_last_of(L'\\') + 1);
    std::wstring copy(MAX_PATH, L'\0');
    if (folder.empty() || !::GetTempFileNameW(folder.c_str(), L"Fwk", 0, copy.data()))
        return {};
    copy.resize(copy.find(L'\0'));
    const bool exists = ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (exists && !::CopyFileW(path.c_str(), copy.c_str(), FALSE)) {
        ::DeleteFileW(copy.c_str());
        return {};
    }
    return copy;
}

void WriteSection(const ProfileSection& section, const std::wstring& path)
{
    const std::u16string lines = section.Lines();
    ::WritePrivateProfileSectionW(kSection, reinterpret_cast<const wchar_t*>(lines.c_str()), path.c_str());
    // Out of the system's cache: the file may be replaced under it.
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
}

// On the disk before it takes the file's place, or a crash could leave an empty file.
void Flush(const std::wstring& path)
{
    const UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (file)
        ::FlushFileBuffers(file.get());
}

// One save. The profile functions still decide the file's form; they write it whole at
// every change, so all of them are made in memory first and written in one call.
template <class Change>
void Save(const std::string& iniPath, Change change)
{
    if (!Writable(iniPath))
        return;
    const SaveTarget target = WhereItLives(Wide(iniPath));
    ProfileSection section = ReadSection(target.path);
    change(section);
    const std::wstring copy = target.inPlace ? std::wstring() : CopyBeside(target.path);
    if (copy.empty()) {
        WriteSection(section, target.path);
        return;
    }
    WriteSection(section, copy);
    Flush(copy);
    if (!::MoveFileExW(copy.c_str(), target.path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        ::DeleteFileW(copy.c_str());
}
} // namespace

bool FileExists(const std::string& path)
{
    WIN32_FIND_DATAA data;
    const UniqueFindHandle find(::FindFirstFileA(path.c_str(), &data));
    return static_cast<bool>(find);
}

SavedSettings ReadSettings(const std::string& iniPath)
{
    SavedSettings saved;
    if (!Reachable(iniPath) || !FileExists(iniPath))
        return saved;
    const ProfileSection section = ReadSection(Wide(iniPath));
    if (const std::optional<PlacementText> read =
            ScanPlacement(Ansi(section.Value(kWindowPosKey, kPlacementTextSize), kPlacementTextSize).c_str()))
        saved.placement = WINDOWPLACEMENT{sizeof(WINDOWPLACEMENT), read->flags, read->showCmd,
                                          {read->minX, read->minY}, {read->maxX, read->maxY},
                                          {read->left, read->top, read->right, read->bottom}};
    saved.topMost = section.Int(kTopMostKey, 0) != 0;
    if (section.Has(kHotkeyKey))
        saved.hotkey = Ansi(section.Value(kHotkeyKey, kHotkeyTextSize), kHotkeyTextSize);
    for (std::size_t index = 0;; ++index) {
        std::string folder = Ansi(section.Value(DirTreeKey(index), kDirTreeBufferSize), kDirTreeBufferSize);
        if (folder.empty())
            break;
        saved.folders.push_back(std::move(folder));
    }
    return saved;
}

void WriteWindowPlacement(const WINDOWPLACEMENT& placement, const std::string& iniPath)
{
    const std::optional<std::string> text = FormatPlacement(
        {placement.flags, placement.showCmd, placement.ptMinPosition.x, placement.ptMinPosition.y,
         placement.ptMaxPosition.x, placement.ptMaxPosition.y, placement.rcNormalPosition.left,
         placement.rcNormalPosition.top, placement.rcNormalPosition.right, placement.rcNormalPosition.bottom});
    if (!text)
        return;
    Save(iniPath, [&](ProfileSection& section) { section.Set(kWindowPosKey, Utf16(*text)); });
}

void WriteDirTreeList(const std::vector<std::string>& list, const std::string& iniPath)
{
    Save(iniPath, [&](ProfileSection& section) {
        std::size_t index = 0;
        for (const std::string& folder : list) {
            // An empty value would end the list there and hide the folders after it.
            if (!folder.empty())
                section.Set(DirTreeKey(index++), Utf16(Quoted(folder)));
        }
        // The stale run after the list, up to the first key that reads empty.
        for (;; ++index) {
            const std::u16string key = DirTreeKey(index);
            if (section.Value(key, kDirTreeBufferSize).empty())
                break;
            section.Remove(key);
        }
    });
}

void WriteTopMost(bool topMost, const std::string& iniPath)
{
    if (!FileExists(iniPath))
        return;
    Save(iniPath, [&](ProfileSection& section) { section.Set(kTopMostKey, topMost ? u"1" : u"0"); });
}
