// CFinder: finding anything under the root by typing. It holds the index and builds it and
// keeps it up with the disk in slices between the thread's messages, through a window of
// no size that only receives messages; the main window's find panel and the find window
// read it.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <string_view>
#include "framework/Wnd.h"
#include "search/FindPanel.h"
#include "search/FindWindow.h"
#include "search/SearchIndex.h"

class CFinder : public CWnd {
public:
    explicit CFinder(CShellIcons& icons) : m_panel(m_index, icons), m_window(m_index, icons) {}

    // The main window's panel is made hidden, as a child of parent, by the first search:
    // a start that finds nothing makes no windows for it.
    BOOL Create(HWND parent, UINT panelId);
    BOOL MakePanel();
    // The index follows root from now on (empty: no root), built from a moment later or
    // from the first search, whichever comes first; the same root again is only checked
    // for changes.
    void SetRoot(const std::wstring& root);
    // The find window near a screen point, from anywhere: the hotkey's, /find's.
    void ShowFindWindow(POINT point) { m_window.ShowNear(point); }

    // What the folder model or a watch says: a folder below the root (relative; "" for the
    // root) changed, was made or removed; or the root itself changed. Either is relisted
    // within a few slices.
    void FolderChanged(std::wstring_view relative);
    void RootChanged();

    // Asks for the next slice of the index's work.
    void Wake();
    // Starts a new root's index now rather than later.
    void BuildNow();

    CSearchIndex m_index;
    CFindPanel m_panel;   // in the main window, over the tree while a search is on
    CFindWindow m_window; // the hotkey's

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnStep();

    std::uint64_t m_shownGeneration = 0;
    ULONGLONG m_lastShown = 0;
    bool m_stepping = false;
    bool m_buildDeferred = false; // a new root's index waits for its first timer
    HWND m_panelParent = nullptr;
    UINT m_panelId = 0;
};
