// CFindPanel: the find box and its list of results, a child window that can live in the main
// window or in the find window of its own. The box is a Unicode edit control, so it takes
// every name the system has, typed or pasted; the list is virtual and asks only for the rows
// it draws.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include "framework/Wnd.h"
#include "search/FindResults.h"
#include "search/SearchIndex.h"
#include "tree/ShellIcons.h"

class CFindPanel : public CWnd {
public:
    CFindPanel(CSearchIndex& index, CShellIcons& icons) : m_index(index), m_icons(icons) {}

    // Made hidden, as a child of parent.
    BOOL Create(HWND parent, UINT nID);
    // An empty box with the focus; the index looks for changes on disk.
    void Begin();
    // The results again, when the index changed since they were found.
    void Refresh();
    // The box's and the list's font; the icons of the scale.
    void SetLook(HFONT hFont, UINT nDpi);

    // Esc: the search ends.
    std::function<void()> onCancel;
    // Enter opened the entry.
    std::function<void()> onOpened;
    // Ctrl+Enter: the entry's place in the tree (its path below the root by real names).
    std::function<void(const std::wstring& relative)> onReveal;
    // The index has work: listing or checking waits for the owner's next slice.
    std::function<void()> onIndexWork;

    HWND Box() const { return m_hBox; }
    HWND List() const { return m_hList; }
    const CFindResults& Results() const { return m_results; }
    int Selected() const;
    // What the status beside the box shows: how far the index is, or how many were found.
    std::wstring Status() const;
    // The text a row shows for the entry: a shortcut without its extension.
    std::wstring Caption(std::uint32_t entry) const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

private:
    void Layout(int cx, int cy);
    void OnTextChanged();
    // The index looks for changes on disk now, and its work is driven from here on.
    void CheckIndex();
    void Show(std::size_t count);
    void Select(int row);
    void Move(int rows);
    void OpenSelected(bool reveal);
    LRESULT OnListNotify(NMHDR* header);
    // The entry of a row by its real path; empty for no row.
    std::wstring RowPath(int row) const;
    // The entry's Explorer menu at pt (screen): the right click's, the Apps key's, Shift+F10's.
    void ShowEntryMenu(int row, POINT pt);
    int IconOf(std::uint32_t entry);
    void UpdateStatus();

    CSearchIndex& m_index;
    CShellIcons& m_icons;
    CFindResults m_results;
    HWND m_hBox = nullptr;
    HWND m_hStatus = nullptr;
    HWND m_hList = nullptr;
    std::unordered_map<std::uint32_t, int> m_iconOf; // entry -> system image, for one generation
    std::uint64_t m_iconGeneration = 0;
    std::u16string m_shownText;
    ULONGLONG m_lastCheck = 0;
    UINT m_nDpi = USER_DEFAULT_SCREEN_DPI;
};
