// Group boxes that hold buttons. The buttons are the group box's children, so
// their notifications reach the group box and not the dialog; the shared
// group-box procedure hands every WM_COMMAND on to the group box's parent (the
// dialog, which handles its own button ids) and then to the group box's own
// procedure, kept in the property "GRPCB".
#pragma once
#include <windows.h>

void SubclassGroupBox(HWND groupBox);
