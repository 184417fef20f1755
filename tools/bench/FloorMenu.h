// What the menu floors share: a folder's level as a menu first shows it, the program's own
// items below, and a menu opened by the real menu loop until its first screen is painted.
#pragma once
#include <windows.h>
#include <string>

// The program's own commands below the folders: six separators and six items.
void AppendFixedItems(HMENU menu);
// One folder's level as the menu first shows it: its folders as empty submenus, then its files.
void AppendLevel(HMENU menu, const std::string& folder, UINT& nextId);
// Opens a menu under the real menu loop, which fills it, lays it out and paints its first
// screen before it reads the key that closes it. Its time in milliseconds.
double OpenAndPaint(HMENU menu, HWND owner, POINT at = {0, 0});
