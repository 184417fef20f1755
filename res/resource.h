// Resource and command identifiers of Fernwick.
#pragma once
#include "framework/AfxRes.h"

#define IDR_MAINFRAME 129
#define IDR_ITEM_MENU 131

#define IDC_FOLDER_TREE 1002
#define IDC_FIND_PANEL 1010

#define IDD_ABOUTBOX 100
#define IDC_SITE_NAME 1000
#define IDC_LINK 1001
#define IDC_COPYRIGHT 1002
#define IDC_VERSION 1003

// The maker's web page: the About box's link shows it and opens it.
#define FERNWICK_WEB_PAGE "https://fernwick.example.org/"

#define IDS_ABOUT_VERSION 300   // "%s Version %s": application name, version
#define IDS_ABOUT_COPYRIGHT 301
#define IDS_LINK_OPEN_FAILED 302  // put in front of the reason
#define IDS_LINK_ERROR_OTHER 303  // "... (%d) ...": a result code without a text of its own
#define IDS_LINK_ERROR_FIRST 320  // + the shell's or WinExec's result code, 0 to 32
#define IDS_HOTKEY_TAKEN 304      // put in front of the hotkey, as the settings file writes it

// The find box's hint, and what it says beside it: how far the index is, how many were found.
#define IDS_FIND_CUE 360
#define IDS_FIND_BUILDING 361     // "%u": entries indexed so far
#define IDS_FIND_COUNT 362        // "%u": entries found

// Tray menu commands; each one's caption is the string of the same id.
#define ID_TRAY_RESTORE 100
#define ID_TRAY_MINIMIZE 101
#define ID_TRAY_EXIT 102
// File item i of the tray menu is ID_TRAY_ITEM_FIRST + i, below the framework's own ids.
#define ID_TRAY_ITEM_FIRST 32800

#define ID_VIEW_TOPMOST 32771
#define ID_FILE_REFRESH 32772
#define ID_OPEN_LINK_TARGET 32773
#define ID_FILE_OPEN_ROOT 32774
#define ID_VIEW_STARTUP 32775

// Start with Windows: FormatMessage texts, %1 the shortcut's path or its program, %2 why.
#define IDS_STARTUP_REPLACE_OTHER 400
#define IDS_STARTUP_REPLACE_UNREADABLE 401
#define IDS_STARTUP_CREATE_FAILED 402
#define IDS_STARTUP_REMOVE_FAILED 403
