// "xSelectFontCtrl": a drop-down list of the installed font families, each
// entry drawn in its own font. It wraps an owner-drawn combo box (child id 1)
// and talks like one: GetWindowTextA gives the chosen face name, combo box
// messages go to the inner combo box, and its notifications reach the owner
// as WM_COMMAND with the control's own id. WM_KVX_FILL_FONTS fills the list.
#pragma once
#include <windows.h>

extern const char kFontPickerClass[];

// Registers the window class; true when it is (or already was) registered.
bool RegisterFontPickerClass();
