// Command, control, resource and timer identifiers of Korvex, in one place.
#pragma once

// Resources.
#define IDI_KORVEX 12345
#define IDC_HAND_LINK 1040
#define IDC_SPLITTER 1041
#define IDB_NO_PREVIEW 14100
#define IDB_PREVIEW_NOT_FOUND 14101
#define IDB_PREVIEW_NOT_SUPPORTED 14102
#define IDB_HTML_TABLE 14401
#define IDB_HTML_GRID4 14402
#define IDB_HTML_GRID3 14403

// Controls of the main window.
#define ID_SCRATCH_LIST 101
#define ID_SPLITTER 101
#define ID_FILE_LIST 103
#define ID_PATH_BOX 105
#define ID_TREE_PANE 107
#define ID_PROGRESS_BAR 108
#define ID_PROGRESS_LABEL 109
#define ID_GO 111
#define ID_EXTENSION_BOX 112
#define ID_SHORTCUTS 113
#define ID_STATUS_BAR 200
#define ID_FILTER_BOX 247

// Controls of the search window.
#define ID_SEARCH_LIST 301
#define ID_SEARCH_BUTTON 302

// Main menu.
#define IDM_EXIT 9010
#define IDM_REFRESH 9021
#define IDM_BLACK_BACKGROUND 9023
#define IDM_COL_PREVIEW 9030
#define IDM_COL_FILENAME 9031
#define IDM_COL_VERSION 9032
#define IDM_COL_SIZE 9033
#define IDM_COL_MODIFIED 9034
#define IDM_COL_ATTRIBUTES 9035
#define IDM_SEPARATOR_VIEW_LAST 9036
#define IDM_SEPARATOR_VIEW 9037
#define IDM_DETAILS 9038
#define IDM_LIST 9039
#define IDM_EXPORT_HTML 9040
#define IDM_SHELL_ON 9042
#define IDM_SHELL_OFF 9043
#define IDM_COPY_MOVE_CONFIG 9044
#define IDM_CUSTOMIZE_FAVORITES 9045
#define IDM_ZIP_FILES 9046
#define IDM_NEW_FOLDER 9048
#define IDM_SEARCH_SUBFOLDERS 9049
#define IDM_FAVORITE_FIRST 9051
#define IDM_FAVORITE_LAST 9070
#define IDM_SEPARATOR_TOOLS 9060
#define IDM_ABOUT 9090

// Drop menus.
#define IDM_DROP_COPY 8001
#define IDM_DROP_MOVE 8002
#define IDM_TREE_DROP_SET_PATH 8003
#define IDM_TREE_DROP_CANCEL 8010
// Menu of files dropped on the file list (copy and move share 8001 and 8002).
#define IDM_LIST_DROP_CANCEL 8003

// Menu of the Shortcuts button: entry n has the id n.
#define IDM_SHORTCUT_FIRST 1
#define SHORTCUTS_MENU_LIMIT 49

// The About box (dialog template IDD_ABOUT).
#define IDD_ABOUT 300
#define ID_ABOUT_TITLE 101
#define ID_ABOUT_VERSION_LABEL 103
#define ID_ABOUT_DATE_LABEL 301
#define ID_ABOUT_VERSION 303
#define ID_ABOUT_DATE 304
#define ID_ABOUT_GAP_TITLE 306
#define ID_ABOUT_GAP_DATE 305
#define ID_ABOUT_IDENTIFY_LABEL 307
#define ID_ABOUT_IDENTIFY 308
#define ID_ABOUT_GAP_IDENTIFY 309
#define ID_ABOUT_PREVIEW_LABEL 310
#define ID_ABOUT_PREVIEW 311
#define ID_ABOUT_GAP_PREVIEW 312
#define ID_ABOUT_MAIL 314
#define ID_ABOUT_GAP_WEB 315
#define ID_ABOUT_WEB_LABEL 316
#define ID_ABOUT_WEB 317
#define ID_ABOUT_MAIL_LABEL 319
#define ID_ABOUT_GAP_MAIL 320
#define ID_ABOUT_THANKS 321
#define ID_ABOUT_OK 399
#define ID_ABOUT_ICON 7778

// Timers of the main window.
#define TIMER_DIALOG_CLOSED 4998
#define TIMER_SELECTION 4999
// Timer of the search window: draws the rows found since its last tick.
#define TIMER_SEARCH_ROWS 5000

// Private messages.
#define WM_KVX_TREE_SELECTION (WM_APP + 1) // the tree pane picked a folder: list it
#define WM_KVX_TREE_READY (WM_APP + 2)     // the tree pane's browser is initialised
