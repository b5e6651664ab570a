// Selecting or deselecting every row of the file list at once.
#pragma once

// Selects every row with the per-row summary updates held back, then shows
// the summary once; the selection mode becomes "all".
void SelectAllRows();

// Deselects every row and shows the summary, unless a dialog or menu has just
// closed: the Esc that closed it must not clear the selection too.
void DeselectAllRows();
