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

// Controls of the Zip Options dialog.
#define ID_ZIP_FILES_GROUP 30610
#define ID_ZIP_ALL 30611
#define ID_ZIP_SELECTED 30612
#define ID_ZIP_FILE_GROUP 30613
#define ID_ZIP_NAME_LABEL 30614
#define ID_ZIP_NAME 30615
#define ID_ZIP_FOLDER_LABEL 30616
#define ID_ZIP_FOLDER 30617
#define ID_ZIP_BROWSE 30618
#define ID_ZIP_NOTICE 30619
#define ID_ZIP_LINK 30620
#define ID_ZIP_PROGRESS 30621
#define ID_ZIP_CREATE 30698
#define ID_ZIP_CANCEL 30699

// Drop menus.
#define IDM_DROP_COPY 8001
#define IDM_DROP_MOVE 8002
#define IDM_TREE_DROP_SET_PATH 8003
#define IDM_TREE_DROP_CANCEL 8010

// Timers of the main window.
#define TIMER_DIALOG_CLOSED 4998
#define TIMER_SELECTION 4999
// Timer of the search window: draws the rows found since its last tick.
#define TIMER_SEARCH_ROWS 5000

// Private messages.
#define WM_KVX_TREE_SELECTION (WM_APP + 1) // the tree pane picked a folder: list it
#define WM_KVX_TREE_READY (WM_APP + 2)     // the tree pane's browser is initialised
