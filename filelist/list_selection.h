// Selecting or deselecting every row of the file list at once.
#pragma once
#include <windows.h>

// Selects every row with the per-row summary updates held back, then shows
// the summary once; the selection mode becomes "all".
void SelectAllRows();

// Deselects every row and shows the summary, unless a dialog or menu has just
// closed: the Esc that closed it must not clear the selection too.
void DeselectAllRows();

// The two radio buttons of an export dialog's "Files To ..." group, at their
// places in the group: "All n Displayed File(s) From Current Directory" and
// "Only k Selected File(s) From Current Directory". "Only" is checked when
// some but not every row is selected, "All" otherwise.
void CreateFilesChoice(HWND group, int allId, int onlyId);
