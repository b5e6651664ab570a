// Helpers of the settings tests: the lines of a file, and a minimal main
// window with the file list and the View menu that the settings are applied to.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/dwg_builder.h"
#include "tests/support/scratch_folder.h"

// The file's lines split at CR LF.
std::vector<std::string> FileLines(const std::string& path);

// A top-level window with a report-view list of seven columns and a menu bar
// whose View popup holds "Display Black Background" and the six column items;
// registered in Win.main, Win.list and Win.viewMenu while it lives.
class MainWindowFixture {
  public:
    MainWindowFixture();
    ~MainWindowFixture();
    MainWindowFixture(const MainWindowFixture&) = delete;
    MainWindowFixture& operator=(const MainWindowFixture&) = delete;

    int ColumnWidth(int column) const;
    // The window's outer rectangle on the screen.
    RECT WindowRect() const;
    bool IsChecked(UINT id) const;
};
