// Identifiers the framework itself defines; included by resource scripts and C++ alike.
#pragma once

#define AFX_ID_FRAMEWORK_FIRST 0xE000       // ids from here on are the framework's own
#define AFX_IDS_APP_TITLE 0xE000            // application name string
#define AFX_IDP_FAILED_TO_CREATE_DOC 0xF104 // start-up failure message
#define AFX_IDP_INTERNAL_FAILURE 0xF108     // a handler failed: the program ends
#define AFX_IDW_PANE_FIRST 0xE900           // the view window's child id
#define IDC_STATIC (-1)                     // dialog controls nothing refers to

#define ID_APP_ABOUT 0xE140
#define ID_APP_EXIT 0xE141
