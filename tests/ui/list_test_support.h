// What the tests of the file list's actions share: reading menus, pointing
// at rows, selecting, pressing keys, and seeing which files the shell opened.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// A menu's texts joined with "|", a submenu's in brackets after its entry,
// the default item starred.
std::string Texts(HMENU menu);
// The ids of a menu's commands, in order.
std::vector<int> Ids(HMENU menu);
// The screen point in the middle of a row's name.
POINT RowPoint(int row);
// A point of the list's client area below its last row.
POINT BelowTheRows();
void Select(const std::vector<int>& rows);
int SelectedCount();
// A key pressed in the list, as the window's message loop hands it over.
void KeyDown(WPARAM key);
// Sends the message that opens a menu and returns the menu's texts, read
// while it is shown; the menu is then dismissed.
std::string RightClick(HWND to, UINT msg, WPARAM wParam, LPARAM lParam);
// Runs the open search window's search for a text in the drawings'
// properties ("" for names only) and returns the rows' names.
std::vector<std::string> SearchFor(const std::string& text);
// The texts of a column of the open search window's rows.
std::vector<std::string> SearchResultColumn(int column);

// Runs an action inside the next listing, as its first row goes into the
// list: a listing of a few hundred drawings may add all its rows between two
// of its looks at its messages, so a timer could come too late.
class AtFirstRow {
  public:
    explicit AtFirstRow(std::function<void()> action);
    ~AtFirstRow();
    bool ran() const;
};

// Opening a .dwg or .bak copies it into a folder, so that a test sees which
// files the shell was asked to open.
class OpenRecorder {
  public:
    explicit OpenRecorder(const std::string& into);
    ~OpenRecorder();
};
