// Copying or moving files into a folder through the shell, which asks before
// overwriting and shows its own progress.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// FO_COPY or FO_MOVE of the files into the folder, with undo allowed. Each
// file is given its own destination in the folder, which every shell honours
// for several files at once (Wine's refuses to move several files to one
// folder named alone). Returns the shell's result, 0 when it succeeded.
int TransferFilesToFolder(UINT operation, const std::vector<std::string>& files,
                          const std::string& folder);
