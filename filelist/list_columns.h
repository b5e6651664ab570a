// The file list's columns, the two view modes and the selection summary.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

// Extended styles, font, first image list and the seven columns.
void SetUpFileList();
void EnterListMode();
void EnterDetailMode();
// Shows or hides list column 1..6 (View menu items 9030..9035).
void ToggleColumn(int column);
// Recomputes status bar part 1: "n File(s) Selected = k KB".
void UpdateSelectionSummary();
// The selection text for a count and a byte total.
std::string SelectionSummaryText(int selected, unsigned long long bytes);
// An image list of the thumbnail size holding the No Preview! image.
HIMAGELIST CreateThumbnailImageList(int width, int height);
