// The floor's find box: a Unicode edit, a status and an owner-data report list of two
// columns in a popup window of its own, laid out as Fernwick's find panel is. A key typed
// into the edit searches a FloorFind and shows the best entries: the list asks only for the
// rows it draws, each with its name, its folder in grey and its icon by type.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>
#include "tools/bench/FloorFind.h"
#include "tools/bench/FloorTree.h"

class FloorFindBox {
public:
    // Hidden; the list's font and the popup's client size are given.
    FloorFindBox(FloorFind& find, HFONT font, SIZE client);
    FloorFindBox(const FloorFindBox&) = delete;
    FloorFindBox& operator=(const FloorFindBox&) = delete;

    HWND Window() const { return m_window.get(); }
    HWND Box() const { return m_box; }
    HWND List() const { return m_list; }
    const std::vector<std::uint32_t>& Rows() const { return m_rows; }
    std::size_t Total() const { return m_total; }
    // Shown at a screen point: in front, with an empty box that has the focus.
    void ShowAt(POINT point);

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnNotify(NMHDR* header);
    void OnTextChanged();
    int IconOf(std::uint32_t entry);

    FloorFind& m_find;
    UniqueHandle<WindowTraits> m_window;
    HWND m_box = nullptr;
    HWND m_status = nullptr;
    HWND m_list = nullptr;
    std::vector<std::uint32_t> m_rows;
    std::size_t m_total = 0;
    std::unordered_map<std::wstring, int> m_iconOfType; // by extension; folders under L"\\"
    std::wstring m_text; // a row's text, while the list copies it
};
