// Lists the current folder into the main window's file list.
#pragma once

// Rebuilds the rows, thumbnails, counters and summary for the current folder.
// Runs on the main thread only.
void BuildFileList();
