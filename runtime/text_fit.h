// Keeping the texts of a fixed dialog layout readable in fonts wider than the
// one the layout was made for (under Wine the default GUI font is wider than
// Windows' own): a label, check box or radio button whose text does not fit
// its width on one line gets the same face a little smaller, down to a floor.
// Positions and sizes stay as they are; where the text fits, nothing changes.
#pragma once
#include <windows.h>

#include <string>

void FitTextToWidth(HWND control);
// The same for a text the control is yet to show.
void FitTextToWidth(HWND control, const std::string& text);
// The same for every label, check box and radio button in the window, its
// group boxes' children included.
void FitTextsToWidths(HWND window);
