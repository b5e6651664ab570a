// Lists the current folder into the main window's file list.
#pragma once

// Rebuilds the rows, thumbnails, counters and summary for the current folder.
// Runs on the main thread only. Asked for while a listing runs, it
// supersedes that listing: the newer one runs once the older has returned.
void BuildFileList();

// The progress label is as wide as the layout makes it: the longest text of a
// listing of planned drawings is fitted to it, in a smaller size of its font
// where that text would not fit.
void FitProgressLabel(int planned);
