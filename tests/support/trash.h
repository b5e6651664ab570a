// Where files deleted to the recycle bin land when the tests run under Wine.
#pragma once
#include <string>

// The files folder of the user's trash (Windows path, trailing backslash),
// "" when the run has no Wine home folder.
std::string TrashFilesFolder();
// The contents of the file of that name (no folder) last sent to the trash,
// whatever name the trash stored it under; "" when there is none.
std::string TrashedContents(const std::string& name);
