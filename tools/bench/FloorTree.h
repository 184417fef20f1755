// Where the floor of an expansion inserts: a bare tree-view control in a window of its own,
// with the folder tree's styles and the shell's image list, over the same screen rectangle.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>
#include "framework/Handles.h"

// Kept here rather than in framework/Handles.h: no product window is owned this way.
struct WindowTraits {
    using Handle = HWND;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::DestroyWindow(h); }
};

class FloorTree {
public:
    // Hidden at first; throws std::runtime_error when the control cannot be made.
    explicit FloorTree(HWND likeTree);

    HWND Tree() const { return m_tree; }
    // Shown only while the floor runs, so it never covers Fernwick's window.
    void Show(bool shown) const;
    HTREEITEM Insert(HTREEITEM parent, const std::string& text, int image) const;

private:
    UniqueHandle<WindowTraits> m_frame;
    HWND m_tree = nullptr; // the frame's child: it goes with it
};
