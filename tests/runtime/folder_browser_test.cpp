#include <gtest/gtest.h>

#include "runtime/folder_browser.h"
#include "tests/support/dialog_answerer.h"
#include "tests/support/scratch_folder.h"

TEST(FolderBrowser, StartsAtTheGivenFolderAndGivesNothingWhenCancelled) {
    ScratchFolder scratch;
    const std::string folder = Unslashed(scratch.path());
    DialogAnswerer answers;
    answers.Add([](HWND dlg) { ClickButton(dlg, IDOK); });
    EXPECT_STRCASEEQ(folder.c_str(), BrowseForFolder(folder).c_str());

    answers.Add([](HWND dlg) { ClickButton(dlg, IDCANCEL); });
    EXPECT_EQ("", BrowseForFolder(folder));
    EXPECT_EQ(2, answers.Answered());
}
