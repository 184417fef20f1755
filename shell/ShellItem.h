// One file or folder as the shell knows it: its item id list, its parent folder and its
// child id there, for the shell's own objects on it (menu, data object). By the real name,
// so names code page 932 cannot spell work as any other.
#pragma once
#include <windows.h>
#include <shlobj.h>
#include <string>
#include "framework/ComPtr.h"

class CShellItem {
public:
    explicit CShellItem(const std::wstring& path);
    ~CShellItem();
    CShellItem(const CShellItem&) = delete;
    CShellItem& operator=(const CShellItem&) = delete;

    // False when the shell cannot find the file (gone since, or never there).
    bool IsValid() const { return m_parent.get() != nullptr; }
    PCIDLIST_ABSOLUTE IdList() const { return m_idList; }
    // One of the shell's objects for the item (IContextMenu, IDataObject...); S_OK or why not.
    HRESULT GetUIObject(HWND owner, REFIID riid, void** object) const;

private:
    PIDLIST_ABSOLUTE m_idList = nullptr;
    ComPtr<IShellFolder> m_parent;
    PCUITEMID_CHILD m_child = nullptr; // inside m_idList
};
