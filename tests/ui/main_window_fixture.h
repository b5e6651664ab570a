// The real main window of Korvex, built in the test process with a settings
// file and temporary folder of the test's own.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/win_helpers.h"
#include "tests/support/scratch_folder.h"

class MainWindowTest : public ::testing::Test {
  protected:
    // One main window for the whole suite: building it starts the tree pane.
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    // Lists a folder the way the tree pane does and waits for the summary.
    static void ListFolder(const std::string& folder);
    // Runs the list build directly for the current folder.
    static void Relist();
    static void SelectExtension(const std::string& text);

    static std::string StatusText(int part);
    static std::string Title();
    static std::vector<std::string> Column(int column);
    static int RowImage(int row, int column);
    static int ImageCount();
    // The colour at the centre of an image of the list's image list.
    static uint32_t ImageCentre(int image);
    static SIZE ImageSize();

    static ScratchFolder* settingsHome; // program folder and temporary folder
};
