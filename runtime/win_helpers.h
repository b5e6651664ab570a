// Window and dialog helpers used by every window of Korvex: control creators
// with fixed default styles and the default GUI font, a message box on the
// active window, a text-input box, centring, the message pump, text and font
// helpers, the shared tooltip and the operating-system version code.
// Coordinates are pixels.
#pragma once
#include <windows.h>

#include <string>

// Common-control style missing from the MinGW headers.
#ifndef CCS_NOHILITE
#define CCS_NOHILITE 0x10L
#endif

// Font given to every control a creator makes; DEFAULT_GUI_FONT when null.
extern HFONT DefaultControlFont;
// The font the creators give their controls.
HFONT ControlFont();

// Creators: style 0 means the creator's default style. For the creators whose
// extended style is "WS_EX_... when -1 is passed", exStyle -1 selects it.
HWND CreateForm(const char* text, HWND parent, int x, int y, int w, int h, DWORD style = 0,
                DWORD exStyle = 0);
HWND CreateStatusBar(HWND parent, int id, int parts, const int* rightEdges, DWORD style = 0);
HWND CreateButton(const char* text, HWND parent, int id, int x, int y, int w, int h,
                  DWORD style = 0, int exStyle = 0);
HWND CreateEdit(const char* text, HWND parent, int id, int x, int y, int w, int h, DWORD style = 0,
                int exStyle = 0);
HWND CreateLabel(const char* text, HWND parent, int id, int x, int y, int w, int h, DWORD style = 0,
                 DWORD exStyle = 0);
HWND CreateGroupBox(const char* text, HWND parent, int id, int x, int y, int w, int h,
                    DWORD style = 0, DWORD exStyle = 0);
HWND CreateCheckBox(const char* text, HWND parent, int id, int x, int y, int w, int h,
                    DWORD style = 0, DWORD exStyle = 0);
HWND CreateRadioButton(const char* text, HWND parent, int id, int x, int y, int w, int h,
                       DWORD style = 0, DWORD exStyle = 0);
HWND CreateComboBox(const char* text, HWND parent, int id, int x, int y, int w, int h,
                    DWORD style = 0, int exStyle = 0);
HWND CreateListBox(const char* text, HWND parent, int id, int x, int y, int w, int h,
                   DWORD style = 0, int exStyle = 0);
// Image from a bitmap resource id (resourceId != 0) or else from a .bmp file,
// loaded at the control's size. The control does not delete its image: take it
// back with STM_GETIMAGE when the control goes, if it matters.
HWND CreateBitmapLabel(int resourceId, const char* bmpFile, HWND parent, int id, int x, int y,
                       int w, int h, DWORD style = 0, DWORD exStyle = 0);
HWND CreateIconLabel(int iconResourceId, HWND parent, int id, int x, int y, int w, int h,
                     DWORD style, DWORD exStyle = 0);
HWND CreateControl(const char* className, const char* text, HWND parent, int id, int x, int y,
                   int w, int h, DWORD style = 0, DWORD exStyle = 0);
HWND CreateProgressBar(HWND parent, int id, int x, int y, int w, int h, DWORD style = 0,
                       int exStyle = 0);

// MessageBoxA owned by the active window.
int ShowMessage(const std::string& text, const std::string& caption, UINT flags);
// The system's sentence for an error code, without its line break.
std::string SystemErrorText(DWORD error);

// Modal text-input box on the active window: the edit's text on "OK" (at most
// 2047 characters), "" on "CANCEL" or close.
std::string InputBox(const std::string& title, const std::string& prompt,
                     const std::string& defaultText);

// Modeless dialog from a template in memory; null when a dialog of the same
// procedure is still open (or creation fails).
HWND ShowModelessDialog(const DLGTEMPLATE* tmpl, HWND owner, DLGPROC proc, LPARAM param);

// Inserts a string entry (or, with MFT_SEPARATOR, a separator) at a position
// of a popup menu, as the drop menus are built.
void InsertMenuEntry(HMENU menu, UINT position, UINT id, const std::string& text,
                     UINT type = MFT_STRING);

// Centres on the work area (reference null), over one window, or over the
// span of two; then keeps the window on the screen.
void CenterWindow(HWND wnd, HWND reference = nullptr, HWND reference2 = nullptr);

// Removes and dispatches every pending message of this thread. A quit request
// is left in the queue for the main loop.
void PumpMessages();

SIZE TextExtent(HWND wnd, const std::string& text);
// The window's text (a control's contents, a window's title).
std::string WindowText(HWND wnd);
HFONT MakeFont(const std::string& face, int points, bool bold = false, bool italic = false,
               bool underline = false, bool strikeOut = false);
// The same with a weight between the normal and the bold one (FW_...).
HFONT MakeWeightedFont(const std::string& face, int points, int weight, bool italic = false,
                       bool underline = false, bool strikeOut = false);

// Operating-system version code (0 unknown, 1-3 Windows 9x, 4-11 NT 3.51 to 6.2+,
// -1 other platform).
int OsVersionCode();
int OsVersionCodeFor(DWORD platformId, DWORD major, DWORD minor);

// The shared tooltip: one window reused for every control. The tooltip
// watches the control's mouse messages itself, unless the control's own
// procedure hands them over with RelayToolTipEvent (relayed): the file list
// does, because a subclass of the tooltip's costs a property look-up on
// every message, and the list gets tens of thousands while it fills and sorts.
void SetToolTip(HWND control, const std::string& tip, bool relayed = false);
// Hands one mouse message of a relayed control to the shared tooltip.
void RelayToolTipEvent(HWND control, UINT msg, WPARAM wParam, LPARAM lParam);
