// The test helper that answers dialogs, exercised on message boxes.
#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

#include "runtime/win_helpers.h"
#include "tests/support/dialog_answerer.h"

namespace {

TEST(DialogAnswerer, AnswersNestedDialogsInOrder) {
    int inner = 0;
    DialogAnswerer answers;
    answers.Add([&](HWND dlg) {
        inner = ShowMessage("Second", "Inner", MB_YESNO);
        ClickButton(dlg, IDRETRY);
    });
    answers.Add([](HWND dlg) { ClickButton(dlg, IDYES); });
    EXPECT_EQ(IDRETRY, ShowMessage("First", "Outer", MB_RETRYCANCEL));
    EXPECT_EQ(IDYES, inner);
    ASSERT_EQ(2, answers.Answered());
    EXPECT_EQ("Outer", answers.Seen(0).caption);
    EXPECT_EQ("First", answers.Seen(0).text);
    EXPECT_EQ("Inner", answers.Seen(1).caption);
    EXPECT_EQ(0, answers.Pending());
}

TEST(DialogAnswerer, ClickButtonRefusesMissingButtons) {
    bool clickedMissing = true;
    DialogAnswerer answers;
    answers.Add([&](HWND dlg) {
        clickedMissing = ClickButton(dlg, IDRETRY);
        ClickButton(dlg, IDOK);
    });
    EXPECT_EQ(IDOK, ShowMessage("Only OK", "", MB_OK));
    EXPECT_FALSE(clickedMissing);
}

TEST(DialogAnswerer, CancelsAndReportsAnUnexpectedDialog) {
    int result = 0;
    EXPECT_NONFATAL_FAILURE(
        {
            DialogAnswerer answers;
            result = ShowMessage("Surprise", "Error", MB_OKCANCEL);
        },
        "unexpected dialog \"Error\": Surprise");
    EXPECT_EQ(IDCANCEL, result);
}

TEST(DialogAnswerer, ReportsAnswersLeftUnused) {
    EXPECT_NONFATAL_FAILURE(
        {
            DialogAnswerer answers;
            answers.Add([](HWND dlg) { ClickButton(dlg, IDOK); });
        },
        "never appeared");
}

} // namespace
