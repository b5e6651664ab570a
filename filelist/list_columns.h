// The file list's columns, the two view modes and the selection summary.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

// Extended styles, font, first image list and the columns.
void SetUpFileList();
void EnterListMode();
void EnterDetailMode();
// The switch of the mode in the "ViewMode" setting.
void ApplyViewMode();
// Shows or hides list column 1..9 (View menu items 9030..9035, 9026..9028).
// True when the Preview column came back, or a property column came while
// none was shown: the caller then lists the folder again, so that the rows
// get their thumbnails or their properties.
bool ToggleColumn(int column);
// Whether one of the drawing's property columns (Title, Author, Last Saved
// By) is shown: only then does a listing read the properties.
bool PropertyColumnsShown();
// Recomputes status bar part 1: "n File(s) Selected = k KB".
void UpdateSelectionSummary();
// The selection text for a count and a byte total.
std::string SelectionSummaryText(int selected, unsigned long long bytes);
// Adds a placeholder picture from the resources to the image list, black and
// white swapped when asked, stretched to width x height; its index, or -1 when
// it cannot be loaded or stretched.
int AddPlaceholderImage(HIMAGELIST images, int resourceId, int width, int height,
                        bool swapBlackWhite);
// An image list of the thumbnail size holding the No Preview! image.
HIMAGELIST CreateThumbnailImageList(int width, int height);
