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
#define ID_SEARCH_PROPERTY_TEXT 303
#define ID_SEARCH_PROPERTY_LABEL 304

// Controls of the HTML options dialog.
#define ID_HTML_FORMAT_GROUP 210
#define ID_HTML_TABLE_PICTURE 211
#define ID_HTML_GRID4_PICTURE 212
#define ID_HTML_GRID3_PICTURE 213
#define ID_HTML_LAYOUT1 214
#define ID_HTML_LAYOUT4 215
#define ID_HTML_LAYOUT3 216
#define ID_HTML_DISPLAY_GROUP 217
#define ID_HTML_SHOW_PREVIEW 218 // 218..223: preview, file name, version, size, date, attributes
#define ID_HTML_SHOW_ATTRIBUTES 223
#define ID_HTML_FONT_LABEL 224
#define ID_HTML_FILE_GROUP 226
#define ID_HTML_FILENAME_LABEL 227
#define ID_HTML_FOLDER_LABEL 228
#define ID_HTML_FILENAME 229
#define ID_HTML_FOLDER 230
#define ID_HTML_BROWSE 231
#define ID_HTML_FILES_GROUP 232
#define ID_HTML_ALL_FILES 233
#define ID_HTML_SELECTED_FILES 234
#define ID_HTML_OK 238
#define ID_HTML_CANCEL 239
#define ID_HTML_HEADER_GROUP 240
#define ID_HTML_SHOW_HEADER 241
#define ID_HTML_FOLDER_HEADER 242
#define ID_HTML_CUSTOM_HEADER 243
#define ID_HTML_FOLDER_HEADER_TEXT 244
#define ID_HTML_CUSTOM_HEADER_TEXT 245
#define ID_HTML_PROGRESS 246
#define ID_HTML_TITLE_GROUP 248
#define ID_HTML_TITLE_LABEL 249
#define ID_HTML_TITLE 250
#define ID_HTML_RESTORE_TITLE 251

// The font picker: its inner combo box, and the message that fills it.
#define ID_FONT_PICKER_COMBO 1
#define WM_KVX_FILL_FONTS (WM_USER + 10)

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
#define IDM_COL_TITLE 9026
#define IDM_COL_AUTHOR 9027
#define IDM_COL_LAST_SAVED_BY 9028
// The View menu item of list column 1..9; 0 for none.
inline int ColumnItemId(int column) {
    return column >= 1 && column <= 6   ? IDM_COL_PREVIEW + column - 1
           : column >= 7 && column <= 9 ? IDM_COL_TITLE + column - 7
                                        : 0;
}
// The list column of a View menu item; 0 for none.
inline int ColumnOfItem(int id) {
    return id >= IDM_COL_PREVIEW && id <= IDM_COL_ATTRIBUTES    ? id - IDM_COL_PREVIEW + 1
           : id >= IDM_COL_TITLE && id <= IDM_COL_LAST_SAVED_BY ? id - IDM_COL_TITLE + 7
                                                                : 0;
}
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
#define IDM_CLEAR_INDEX 9047
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

// Context menu of the file list.
#define IDM_LIST_OPEN 7101
#define IDM_LIST_ENLARGE 7102
#define IDM_LIST_SELECT_ALL 7103
#define IDM_LIST_DELETE 7104
#define IDM_LIST_EXPORT_HTML 7105
#define IDM_LIST_ZIP_FILES 7106
#define IDM_LIST_NEW_FOLDER 7107
#define IDM_LIST_PROPERTIES 7108
#define IDM_LIST_ZIP_ONE 7109
#define IDM_COPY_TO_BASE 7110 // + target 1..5
#define IDM_COPY_BROWSE 7116
#define IDM_COPY_CUSTOMIZE 7117
#define IDM_COPY_NEW_FOLDER 7118
#define IDM_MOVE_TO_BASE 7120 // + target 1..5
#define IDM_MOVE_BROWSE 7126
#define IDM_MOVE_CUSTOMIZE 7127
#define IDM_MOVE_NEW_FOLDER 7128

// Dialog templates of the enlarged view and the two list dialogs of the
// Tools and Favorites menus, and their controls.
#define IDD_ENLARGED_VIEW 301
#define IDD_COPY_MOVE_OPTIONS 303
#define IDD_FAVORITES 304
// Save and Cancel of both dialogs are IDOK and IDCANCEL.
#define ID_FAVORITE_EDIT 1001    // + row 0..19
#define ID_FAVORITE_BROWSE 1021  // + row 0..19
#define ID_FAVORITE_CURRENT 1041 // + row 0..19
#define ID_FAVORITES_GROUP 1061
#define ID_COPY_TO_CHECK 1101  // + row 0..4
#define ID_COPY_TO_EDIT 1106   // + row 0..4
#define ID_COPY_TO_BROWSE 1111 // + row 0..4
#define ID_MOVE_TO_CHECK 1121  // + row 0..4
#define ID_MOVE_TO_EDIT 1126   // + row 0..4
#define ID_MOVE_TO_BROWSE 1131 // + row 0..4
#define ID_COPY_TO_GROUP 1141
#define ID_MOVE_TO_GROUP 1142

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

// Buttons of the question asked when names are taken in a destination folder.
#define ID_TAKEN_TEXT 401
#define ID_TAKEN_REPLACE 402
#define ID_TAKEN_KEEP_BOTH 403
#define ID_TAKEN_SKIP 404

// Timers of the main window.
#define TIMER_DIALOG_CLOSED 4998
#define TIMER_SELECTION 4999
// Timer of the search window: draws the rows found since its last tick.
#define TIMER_SEARCH_ROWS 5000

// Private messages.
#define WM_KVX_TREE_SELECTION (WM_APP + 1) // the tree pane picked a folder: list it
#define WM_KVX_TREE_READY (WM_APP + 2)     // the tree pane's browser is initialised
#define WM_KVX_THUMBNAILS (WM_APP + 3)     // thumbnails for the list's rows wait to be taken

// Messages the tree pane's thread posts to the pane's container, so that what
// the tree asks of the main thread's windows is done there, without the tree
// waiting for it.
#define WM_KVX_TREE_MOUSE (WM_APP + 20) // a mouse message of the tree, for the tooltip
#define WM_KVX_TREE_KEY (WM_APP + 21)   // Esc or Ctrl+A released in the tree
#define WM_KVX_TREE_GO (WM_APP + 22)    // go to the folder in lParam (a new std::string)

// Messages of the tree pane's own hidden window, on the pane's thread.
#define WM_KVX_TREE_WORK (WM_APP + 30)   // the next slice of reading folders into the tree
#define WM_KVX_TREE_SELECT (WM_APP + 31) // select the folder in lParam (a std::string*)
#define WM_KVX_TREE_END (WM_APP + 32)    // the pane is closed: end its windows and thread
