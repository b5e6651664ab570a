// The zip options dialog: the archive's name and folder, the files to pack,
// progress and cancel.
#pragma once
#include <windows.h>

// Shows the dialog modally over the main window; returns when it has ended.
void ShowZipOptionsDialog();

// A control of the open dialog by id, also inside its group boxes; null when
// the dialog is not open.
HWND ZipOptionsItem(int id);

// Esc in the dialog: stops a running zip before its next file, or else
// closes the dialog.
void ZipOptionsEscape();

// The Esc handling of the dialog's edits and push buttons.
void SubclassZipEscape(HWND control);
