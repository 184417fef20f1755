// Resource and command identifiers of Fernwick.
#pragma once
#include "framework/AfxRes.h"

#define IDR_MAINFRAME 129
#define IDR_ITEM_MENU 131

#define IDC_FOLDER_TREE 1002

#define ID_VIEW_TOPMOST 32771
#define ID_FILE_REFRESH 32772
#define ID_OPEN_LINK_TARGET 32773
#define ID_FILE_OPEN_ROOT 32774
