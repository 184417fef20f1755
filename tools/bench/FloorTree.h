// Where the floors insert: a bare tree-view control in a window of its own, with the folder
// tree's styles and the shell's image list. An entry's icons and expand button are asked
// for only when the control first draws it, its icons by type where all files of the type
// look alike.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>
#include "framework/Handles.h"

class FloorOrder;

// Kept here rather than in framework/Handles.h: no product window is owned this way.
struct WindowTraits {
    using Handle = HWND;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::DestroyWindow(h); }
};

// One drawn row as a user sees it.
struct DrawnRow {
    std::string text;
    int image = 0;
    int selectedImage = 0;
    bool button = false;
    bool expanded = false;
    bool selected = false;

    bool operator==(const DrawnRow&) const = default;
};
// The rows a user can scroll to, from the top, at most limit of them.
std::vector<DrawnRow> VisibleRows(HWND tree, size_t limit);
// A floor's result must be Fernwick's: the same rows from the top, with the same texts,
// icons, buttons, expansion and selection. Throws std::runtime_error naming the first
// difference.
void CheckSameRows(const char* scenario, HWND fernwick, HWND floor);

class FloorTree {
public:
    // A hidden pop-up over the screen rectangle of likeTree; throws std::runtime_error when
    // the control cannot be made.
    explicit FloorTree(HWND likeTree);
    // A main window: shown by the caller, it ends the message loop when it closes.
    FloorTree(const char* title, HMENU menu);
    FloorTree(const FloorTree&) = delete; // its window keeps its address
    FloorTree& operator=(const FloorTree&) = delete;

    HWND Tree() const { return m_tree; }
    HWND Frame() const { return m_frame.get(); }
    // Shown only while the floor runs, so it never covers Fernwick's window.
    void Show(bool shown) const;
    HTREEITEM Insert(HTREEITEM parent, const std::string& text, int image) const;
    // An entry of folder, inserted last under parent.
    HTREEITEM InsertEntry(HTREEITEM parent, const std::string& folder, const std::string& name, bool isFolder,
                          UINT state = 0);
    // The folder's entries under parent, folders first, each group in the floors' order; the
    // folders for which expanded() holds are inserted expanded (their children are the
    // caller's). Returns the folder items by name.
    std::vector<std::pair<std::string, HTREEITEM>> InsertFolder(
        HTREEITEM parent, const std::string& folder, const FloorOrder& order,
        const std::function<bool(const std::string&)>& expanded = nullptr);
    void DeleteAll();

private:
    struct Entry {
        std::string path;
        bool isFolder;
    };

    void Make(DWORD style, const RECT& rect, HMENU menu, const char* title);
    static LRESULT CALLBACK FrameProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void OnGetDispInfo(TVITEMA& item);
    int IconOf(const Entry& entry, bool open);

    UniqueHandle<WindowTraits> m_frame;
    HWND m_tree = nullptr; // the frame's child: it goes with it
    bool m_mainWindow = false;
    std::vector<Entry> m_entries; // an entry's item data is its index here
    std::unordered_map<std::string, int> m_iconByType; // upper-case extension, or "\\" and "\\open" for folders
};
