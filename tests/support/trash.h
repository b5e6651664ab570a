// Where files deleted to the recycle bin land when the tests run under Wine.
#pragma once
#include <string>

// The files folder of the user's trash (Windows path, trailing backslash),
// "" when the run has no Wine home folder.
std::string TrashFilesFolder();
