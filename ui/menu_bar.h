// The main window's menu bar.
#pragma once

// Builds the menu bar, attaches it to the main window and keeps the View and
// Favorites popups in Win.
void BuildMenuBar();
