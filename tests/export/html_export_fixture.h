// The real main window with folders of made-up drawings listed in it, for the
// HTML export and its options dialog. Pages are recorded, not opened.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/dialog_answerer.h"
#include "tests/support/scratch_folder.h"

// The pages the export handed to the browser since the test began.
extern std::vector<std::string> OpenedPages;

class HtmlExportTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    // Lists a folder in the main window and waits for the listing's summary.
    static void ListFolder(const std::string& folder);
    static void SelectExtension(const std::string& text);
    // Opens the dialog from the main menu (its answers queued first); the
    // answer runs with it open.
    static void OpenDialog();
    static void RunDialog(DialogAnswerer& answers, std::function<void(HWND dialog)> answer);

    // A dialog control, wherever it sits among the group boxes.
    static HWND Control(HWND dialog, int id);
    // Clicks a button the way the mouse does: its own notification to its parent.
    static void Click(HWND dialog, int id);
    static bool Checked(HWND dialog, int id);
    static std::string HtmlValue(const std::string& key);

    static ScratchFolder* home;
};

// A control of a dialog, wherever it sits among the group boxes.
HWND DialogControl(HWND dialog, int id);

// A drawing of release 2000 whose preview is a width x height 8-bit picture
// drawn with the given colour.
std::string DrawingWithPreview(int width, int height, uint32_t color);
