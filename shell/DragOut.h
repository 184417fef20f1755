// A file or folder dragged out of the program, offered to the drop target as the Explorer
// offers it: dropped on a folder it is copied, moved or linked, on a program it arrives as
// that file.
#pragma once
#include <windows.h>
#include <string>

// Runs the drag until the button is released (needs OLE on the calling thread); the effect
// the target chose, DROPEFFECT_NONE when it was refused or the file is gone.
DWORD DragOut(const std::wstring& path, HWND owner);
