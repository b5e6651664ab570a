// The enlarged view: the last extracted preview at three times its size.
#pragma once
#include <windows.h>

// Modal; closes at once when there is no preview to show.
void ShowEnlargedView(HWND owner);
