// A main window for the folder tree pane: a top-level window with a file
// list, whose procedure does what the program's main window does with the
// pane's messages.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/drop_maker.h"
#include "tests/support/pump_until.h"
#include "tests/support/scratch_folder.h"

// What the test main window has received.
struct MainWindowLog {
    int selections = 0; // WM_KVX_TREE_SELECTION
    int readies = 0;    // WM_KVX_TREE_READY
    int f5Keys = 0;     // WM_KEYUP VK_F5
};
extern MainWindowLog MainLog;

class TreePaneTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Creates the pane where start-up puts it.
    void CreatePane();
    // Creates the pane with the window already built and waits for its first
    // navigation to be done.
    void CreateReadyPane();
    // Navigates and waits for the listing request the selection sends.
    void NavigateAndWait(const std::string& path);

    static HWND Tree();
    // A folder made for the tests before any pane exists, without a trailing
    // backslash: the browser lists a folder's children when it first opens
    // it, so a folder made later under an opened one is not in the tree.
    static std::string Folder(const std::string& name);
    static std::string SelectedItemPath();
    static void WritePathSetting(const std::string& path);

    ScratchFolder scratch; // holds the settings file
};
