#include "ui/menu_bar.h"

#include <windows.h>

#include "runtime/app_state.h"
#include "runtime/ids.h"

static HMENU AddPopup(HMENU bar, int position, const char* title) {
    HMENU popup = CreatePopupMenu();
    InsertMenuA(bar, position, MF_BYPOSITION | MF_POPUP | MF_STRING,
                reinterpret_cast<UINT_PTR>(popup), title);
    return popup;
}

static void AddItem(HMENU menu, int id, const char* text, bool checked = false) {
    AppendMenuA(menu, MF_STRING | (checked ? MF_CHECKED : MF_UNCHECKED), id, text);
}

static void AddSeparator(HMENU menu, int id) {
    AppendMenuA(menu, MF_SEPARATOR, id, nullptr);
}

void BuildMenuBar() {
    HMENU bar = CreateMenu();

    HMENU file = AddPopup(bar, 0, "&File");
    AddItem(file, IDM_EXIT, "E&xit");

    HMENU view = AddPopup(bar, 1, "&View");
    AddItem(view, IDM_BLACK_BACKGROUND, "Display Black Background");
    AddSeparator(view, IDM_SEPARATOR_VIEW);
    AddItem(view, IDM_COL_PREVIEW, "Preview", true);
    AddItem(view, IDM_COL_FILENAME, "FileName", true);
    AddItem(view, IDM_COL_VERSION, "Version", true);
    AddItem(view, IDM_COL_SIZE, "Size", true);
    AddItem(view, IDM_COL_MODIFIED, "Modified", true);
    AddItem(view, IDM_COL_ATTRIBUTES, "Attributes", true);
    AddItem(view, IDM_COL_TITLE, "Title");
    AddItem(view, IDM_COL_AUTHOR, "Author");
    AddItem(view, IDM_COL_LAST_SAVED_BY, "Last Saved By");
    AddSeparator(view, IDM_SEPARATOR_VIEW);
    AddItem(view, IDM_LIST, "&List");
    AddItem(view, IDM_DETAILS, "&Details", true);
    AddSeparator(view, IDM_SEPARATOR_VIEW_LAST);
    AddItem(view, IDM_REFRESH, "&Refresh");

    HMENU tools = AddPopup(bar, 2, "&Tools");
    AddItem(tools, IDM_EXPORT_HTML, "Export &HTML ...");
    AddSeparator(tools, IDM_SEPARATOR_TOOLS);
    AddItem(tools, IDM_SHELL_ON, "Enable Shell Integration");
    AddItem(tools, IDM_SHELL_OFF, "Disable Shell Integration");
    AddSeparator(tools, IDM_SEPARATOR_TOOLS);
    AddItem(tools, IDM_COPY_MOVE_CONFIG, "Copy&To/MoveTo Configuration...");
    AddSeparator(tools, IDM_SEPARATOR_TOOLS);
    AddItem(tools, IDM_ZIP_FILES, "&Zip Files ...");
    AddSeparator(tools, IDM_SEPARATOR_TOOLS);
    AddItem(tools, IDM_NEW_FOLDER, "Create New Folder...");
    AddSeparator(tools, IDM_SEPARATOR_TOOLS);
    AddItem(tools, IDM_SEARCH_SUBFOLDERS, "Search Sub-Folders For Dwg Files");
    AddSeparator(tools, IDM_SEPARATOR_TOOLS);
    AddItem(tools, IDM_CLEAR_INDEX, "Clear Drawing Index");

    HMENU favorites = AddPopup(bar, 3, "F&avorites");
    for (int id = IDM_FAVORITE_FIRST; id <= IDM_FAVORITE_LAST; ++id)
        AddItem(favorites, id, "-");
    AddSeparator(favorites, IDM_SEPARATOR_TOOLS);
    AddItem(favorites, IDM_CUSTOMIZE_FAVORITES, "&Customize Favorites...");

    HMENU help = AddPopup(bar, 4, "&Help");
    AddItem(help, IDM_ABOUT, "&About");

    Win.viewMenu = view;
    Win.favoritesMenu = favorites;
    SetMenu(Win.main, bar);
}
