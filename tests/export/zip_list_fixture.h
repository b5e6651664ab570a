// A file list of the test's own, listing a scratch folder that is the current
// folder, as the zip commands find it after a listing.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/dialog_answerer.h"
#include "tests/support/scratch_folder.h"

class ZipListTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Rows for the names, in order; the files are written unless told not to.
    void List(const std::vector<std::string>& names, bool writeFiles = true);
    void Select(const std::vector<int>& rows);
    // Opens the zip options dialog and hands it to the answer; the message
    // boxes it raises get the later answers, in order.
    void OpenZipOptions(DialogAnswerer::Answer answer,
                        const std::vector<DialogAnswerer::Answer>& later = {});
    // Sets the ZIP Filename text and presses Create Zip.
    static void CreateZip(HWND dialog, const std::string& fileName = "KvxZIP.zip");

    ScratchFolder folder;
    HWND form = nullptr; // the list's window; a plain one, so that the main
                         // window's class stays free for the tests that start it
    DialogAnswerer answers;
};

// An answer that presses the button (IDOK, IDYES...).
DialogAnswerer::Answer Press(int button);

// Control texts of the open zip options dialog.
std::string ZipItemText(int id);
bool ZipItemChecked(int id);
