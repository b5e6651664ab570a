// Labels drawn as hyperlinks: while the mouse moves over one it shows the
// program's hand cursor. The label's previous procedure is kept in a window
// property: "hlink" for a web address, "mlink" for an e-mail address.
#pragma once
#include <windows.h>

void SubclassWebLink(HWND label);
void SubclassMailLink(HWND label);

// The program's hand cursor (loaded at start-up, or here when it was not).
HCURSOR LinkCursor();
