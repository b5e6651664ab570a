// Copying and moving files into a folder, and sending files to the recycle
// bin. No file is ever replaced unasked: names taken in the folder are one
// question for the whole batch, and what the user agrees to replace goes to
// the recycle bin first.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Copies (move false) or moves the files into the folder, asking about taken
// names with `owner` as the question's owner. Files that already lie in the
// folder are copied beside themselves as "Copy of ..." and left alone by a
// move. What could not be done is reported at the end, naming the files.
// True when every file was copied or moved.
bool TransferFilesToFolder(HWND owner, bool move, const std::vector<std::string>& files,
                           const std::string& folder);

// Sends the files to the recycle bin. With confirm the shell asks first, as
// for the Delete key; without, only a file the bin cannot take (one that
// would be deleted for good) is asked about. Paths too long for the shell go
// by their short form; a file that has none is reported and kept. True when
// every file is gone from its folder.
bool SendToTrash(HWND owner, const std::vector<std::string>& paths, bool confirm);
