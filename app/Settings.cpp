#include "app/Settings.h"
#include <algorithm>
#include <cctype>
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
    bool exists;
};

SaveTarget WhereItLives(const std::wstring& given)
{
    const UniqueFileHandle file(::CreateFileW(given.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                              nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file)
        return {given, false, false};
    BY_HANDLE_FILE_INFORMATION info{};
    const bool otherNames = ::GetFileInformationByHandle(file.get(), &info) && info.nNumberOfLinks > 1;
    const std::wstring real = FinalPath(file.get());
    if (real.empty())
        return {given, otherNames || (::GetFileAttributesW(given.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT) != 0, true};
    return {real, otherNames, true};
}

// A file not made yet is made empty first, by its name, which follows a symbolic link to a
// target not made yet as the profile functions' own write would; then the save replaces
// the target and the link stays.
SaveTarget MadeWhereItLives(const std::wstring& given)
{
    const UniqueFileHandle made(::CreateFileW(given.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!made)
        return {given, false, false};
    return WhereItLives(given);
}

// Whether the file holds what WritePrivateProfileSectionW would lose: a comment (it drops
// those in the section), or the section's name twice (it empties all but the first). Told
// from the bytes, erring towards yes: any ";" or any second "settings" will do.
bool HoldsMoreThanTheSection(const std::wstring& path)
{
    const UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart > kLargestSection)
        return true;
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && !::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return true;
    bytes.resize(read);
    // A file in UTF-16 spells its ASCII with a NUL beside each letter.
    std::erase(bytes, '\0');
    if (bytes.find(';') != std::string::npos)
        return true;
    for (char& c : bytes)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::size_t first = bytes.find("settings");
    return first != std::string::npos && bytes.find("settings", first + 1) != std::string::npos;
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
    if (!::CopyFileW(path.c_str(), copy.c_str(), FALSE)) {
        ::DeleteFileW(copy.c_str());
        return {};
    }
    return copy;
}

// One change the key-by-key writes would make to the file: a value written, or the key
// deleted.
struct KeyWrite {
    std::u16string key;
    std::optional<std::u16string> value;
};

const wchar_t* Text(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

// The profile functions still decide the file's form. They write it whole at every change,
// so the changes go in one call of the section where that keeps everything; else one call
// per change.
void Write(const ProfileSection& section, const std::vector<KeyWrite>& writes, bool keyByKey, const std::wstring& path)
{
    if (keyByKey) {
        for (const KeyWrite& write : writes)
            ::WritePrivateProfileStringW(kSection, Text(write.key), write.value ? Text(*write.value) : nullptr,
                                         path.c_str());
    } else {
        ::WritePrivateProfileSectionW(kSection, Text(section.Lines()), path.c_str());
    }
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

// The writes of a save, made on the section in memory as they go; those that change
// nothing are left out.
class Changes {
public:
    explicit Changes(ProfileSection& section) : m_section(section) {}
    void Set(const std::u16string& key, const std::u16string& value)
    {
        if (m_section.Set(key, value))
            m_writes.push_back({key, value});
    }
    void Remove(const std::u16string& key)
    {
        if (m_section.Remove(key))
            m_writes.push_back({key, std::nullopt});
    }
    const std::vector<KeyWrite>& Writes() const { return m_writes; }

private:
    ProfileSection& m_section;
    std::vector<KeyWrite> m_writes;
};

void ChangeFolders(Changes& changes, const ProfileSection& section, const std::vector<std::string>& list)
{
    std::size_t index = 0;
    for (const std::string& folder : list) {
        // An empty value would end the list there and hide the folders after it.
        if (!folder.empty())
            changes.Set(DirTreeKey(index++), Utf16(Quoted(folder)));
    }
    // The stale run after the list, up to the first key that reads empty.
    for (;; ++index) {
        const std::u16string key = DirTreeKey(index);
        if (section.Value(key, kDirTreeBufferSize).empty())
            break;
        changes.Remove(key);
    }
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

void SaveSettings(const SettingsToSave& save, const std::string& iniPath)
{
    if (!Writable(iniPath))
        return;
    const std::wstring given = Wide(iniPath);
    SaveTarget target = WhereItLives(given);
    ProfileSection section = target.exists ? ReadSection(target.path) : ProfileSection();
    Changes changes(section);
    if (save.placement) {
        const WINDOWPLACEMENT& p = *save.placement;
        // Text too long to read back whole is not written.
        if (const std::optional<std::string> text = FormatPlacement(
                {p.flags, p.showCmd, p.ptMinPosition.x, p.ptMinPosition.y, p.ptMaxPosition.x, p.ptMaxPosition.y,
                 p.rcNormalPosition.left, p.rcNormalPosition.top, p.rcNormalPosition.right, p.rcNormalPosition.bottom}))
            changes.Set(kWindowPosKey, Utf16(*text));
    }
    if (save.folders)
        ChangeFolders(changes, section, *save.folders);
    // Key by key, the writes before it would have made the file.
    if (save.topMost && (target.exists || !changes.Writes().empty()))
        changes.Set(kTopMostKey, *save.topMost ? u"1" : u"0");
    if (changes.Writes().empty())
        return;

    if (!target.exists && !(target = MadeWhereItLives(given)).exists)
        return;
    const bool keyByKey = section.HasBareLine() || HoldsMoreThanTheSection(target.path);
    const std::wstring copy = target.inPlace ? std::wstring() : CopyBeside(target.path);
    if (copy.empty()) {
        Write(section, changes.Writes(), keyByKey, target.path);
        return;
    }
    Write(section, changes.Writes(), keyByKey, copy);
    Flush(copy);
    if (!::MoveFileExW(copy.c_str(), target.path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        ::DeleteFileW(copy.c_str());
}

void WriteDirTreeList(const std::vector<std::string>& list, const std::string& iniPath)
{
    SaveSettings({std::nullopt, list, std::nullopt}, iniPath);
}
