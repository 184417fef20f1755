#include "tree/FolderWatch.h"
#include <windows.h>
#include "framework/Handles.h"
#include "framework/ShellCalls.h"
#include "framework/WinApp.h"

namespace {
constexpr DWORD kFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                          FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_LAST_WRITE;

// A folder opened for its identity or its changes; other programs may still rename or delete it.
HANDLE OpenFolder(const std::wstring& folder, DWORD access, DWORD flags)
{
    return ::CreateFileW(folder.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
}

bool SameFile(HANDLE a, HANDLE b)
{
    BY_HANDLE_FILE_INFORMATION x{}, y{};
    return ::GetFileInformationByHandle(a, &x) && ::GetFileInformationByHandle(b, &y) &&
           x.dwVolumeSerialNumber == y.dwVolumeSerialNumber && x.nFileIndexHigh == y.nFileIndexHigh &&
           x.nFileIndexLow == y.nFileIndexLow;
}
} // namespace

static_assert(static_cast<DWORD>(ChangeAction::Added) == FILE_ACTION_ADDED &&
              static_cast<DWORD>(ChangeAction::RenamedTo) == FILE_ACTION_RENAMED_NEW_NAME);

// The system writes into the buffer and the record until the request completes, which may
// be after the watch is gone: an ended request frees itself when its completion runs.
// Until then it holds only memory: its handle is closed with the watch.
struct CFolderWatch::Request {
    OVERLAPPED overlapped{};
    UniqueFileHandle folder;
    Callback onChange; // empty once the watch is gone
    bool subtree = false;
    // More at once is an overflow, which lists a folder anyway; a subtree's costs every
    // expanded folder, so it gets room for a burst.
    std::vector<DWORD> buffer;

    bool Arm()
    {
        return g_shellCalls.ReadDirectoryChangesW(folder.get(), buffer.data(),
                                                  static_cast<DWORD>(buffer.size() * sizeof(DWORD)), subtree, kFilter,
                                                  nullptr, &overlapped, Completed) != 0;
    }

    static void CALLBACK Completed(DWORD error, DWORD bytes, OVERLAPPED* overlapped)
    {
        auto* request = CONTAINING_RECORD(overlapped, Request, overlapped);
        if (!request->onChange) {
            delete request;
            return;
        }
        FolderChange change;
        // No bytes: the system's own buffer ran over, and it says so instead of naming them.
        change.overflow = error == ERROR_NOTIFY_ENUM_DIR || (error == ERROR_SUCCESS && bytes == 0);
        if (error == ERROR_SUCCESS)
            Read(reinterpret_cast<const BYTE*>(request->buffer.data()), bytes, change);
        change.ended = (error != ERROR_SUCCESS && error != ERROR_NOTIFY_ENUM_DIR) || !request->Arm();
        if (change.ended)
            request->folder.reset(); // a folder being deleted is gone only once no handle holds it
        // Last: the callback may end the watch, and with it this request.
        Callback onChange = request->onChange;
        AfxCallGuarded([&] { onChange(change); }); // a completion routine is a call from the system
    }

    static void Read(const BYTE* buffer, DWORD bytes, FolderChange& change)
    {
        for (DWORD offset = 0; offset + sizeof(FILE_NOTIFY_INFORMATION) <= bytes;) {
            const auto* info = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer + offset);
            change.names.emplace_back(info->FileName, info->FileNameLength / sizeof(WCHAR));
            change.actions.push_back(static_cast<ChangeAction>(info->Action));
            if (info->NextEntryOffset == 0)
                break;
            offset += info->NextEntryOffset;
        }
    }
};

CFolderWatch::CFolderWatch(const std::wstring& folder, Callback onChange, bool subtree) : m_request(new Request)
{
    constexpr size_t kFolderBuffer = 4096 / sizeof(DWORD), kSubtreeBuffer = 65536 / sizeof(DWORD);
    m_request->folder.reset(OpenFolder(folder, FILE_LIST_DIRECTORY, FILE_FLAG_OVERLAPPED));
    m_request->onChange = std::move(onChange);
    m_request->subtree = subtree;
    m_request->buffer.resize(subtree ? kSubtreeBuffer : kFolderBuffer);
    if (m_request->folder && !m_request->Arm())
        m_request->folder.reset();
}

CFolderWatch::~CFolderWatch()
{
    if (m_request == nullptr)
        return; // left to the process's end
    if (!m_request->folder) {
        delete m_request; // nothing is pending
        return;
    }
    // Closing the handle ends the pending request, whose completion then frees the memory.
    m_request->onChange = nullptr;
    m_request->folder.reset();
}

void CFolderWatch::LeaveToProcessEnd()
{
    if (m_request != nullptr && m_request->folder) {
        m_request->onChange = nullptr; // a change that still comes frees the request
        m_request = nullptr;
    }
}

bool CFolderWatch::Active() const
{
    return m_request != nullptr && m_request->folder;
}

bool CFolderWatch::Watches(const std::wstring& folder) const
{
    const UniqueFileHandle now(OpenFolder(folder, 0, 0));
    return Active() && now && SameFile(now.get(), m_request->folder.get());
}

std::vector<std::pair<std::wstring, std::wstring>> RenamePairs(const FolderChange& change)
{
    std::vector<std::pair<std::wstring, std::wstring>> pairs;
    const std::wstring* from = nullptr;
    for (size_t i = 0; i < change.names.size() && i < change.actions.size(); ++i) {
        if (change.actions[i] == ChangeAction::RenamedTo && from != nullptr)
            pairs.emplace_back(*from, change.names[i]);
        from = change.actions[i] == ChangeAction::RenamedFrom ? &change.names[i] : nullptr;
    }
    return pairs;
}
