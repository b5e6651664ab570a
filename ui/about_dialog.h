// The About box: the program's name, version and date, the releases it
// identifies and previews, and two links.
#pragma once
#include <windows.h>

#include <string>

// Shows the About box modally over the owner.
void ShowAboutBox(HWND owner);

// What a click on a link opens: the web address as it is, the e-mail address
// after "mailto:". Empty for any other control.
std::string AboutLinkTarget(int id, const std::string& text);

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
