// Files dropped on a window, as the shell hands them over.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

// A drop of the files at a point of the window's client area. The receiver
// frees it with DragFinish.
HDROP MakeDrop(const std::vector<std::string>& files, POINT pt = {});
