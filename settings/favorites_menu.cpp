#include "settings/favorites_menu.h"

#include <windows.h>

#include <string>

#include "runtime/file_facts.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/ids.h"
#include "runtime/strings.h"

void RefreshFavoritesMenu() {
    if (!Win.favoritesMenu) return;
    for (int n = 1; n <= 20; ++n) {
        const std::string& favorite = Settings.favorites[n];
        std::string label;
        if (favorite.empty())
            label = "--Undefined--";
        else if (PathExists(WithTrailingBackslash(favorite)))
            label = MenuItemText(favorite);
        else
            label = "***Invalid Directory***";
        ModifyMenuA(Win.favoritesMenu, IDM_FAVORITE_FIRST + n - 1, MF_BYCOMMAND | MF_STRING,
                    IDM_FAVORITE_FIRST + n - 1, label.c_str());
    }
}
