// Copying or moving files into a folder through the shell, which asks before
// overwriting and shows its own progress.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

// FO_COPY or FO_MOVE of the files into the folder, with undo allowed and any
// further flags. Wine's shell cancels a move of several files into one folder
// without doing anything (and with a destination per file it overwrites
// without asking), so there the files are moved one at a time, stopping at
// the first one refused. True when the shell did everything asked.
bool TransferFilesToFolder(UINT operation, const std::vector<std::string>& files,
                           const std::string& folder, FILEOP_FLAGS extraFlags = 0);
