// What the rows of the favourites and targets dialogs share: a "..." button
// that fills its edit from the folder browser, and "Save" taking the focus
// back as the default button afterwards.
#pragma once
#include <windows.h>

// Opens the folder browser at the edit's folder; a chosen folder replaces the
// edit's text, a cancelled browser leaves it.
void BrowseIntoEdit(HWND edit);
// The pressed button gives the default-button look back to "Save" (IDOK),
// which takes the focus.
void RestoreSaveButton(HWND dlg, HWND pressed);
