#include <gtest/gtest.h>

#include "export/zip_options.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/ids.h"
#include "tests/export/zip_list_fixture.h"
#include "tests/export/zip_readers.h"
#include "tests/support/dialog_answerer.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/main_window_start.h"
#include "tests/support/pump_until.h"
#include "tests/support/unix_command.h"
#include "ui/tree_pane.h"

namespace {

// The Tools menu's zip command opens the dialog over the main window, on the
// listed folder and its selection; afterwards the list has the focus again.
TEST(ZipFilesCommand, OpensTheZipOptionsOverTheMainWindow) {
    ScratchFolder home, drawings;
    ASSERT_TRUE(StartMainWindow(home));
    std::string folder = drawings.path();
    for (const char* name : {"plan.dwg", "site.dwg"})
        WriteBytes(folder + name, MakeDrawingWithoutImages("AC1015", 300));
    NavigateTo(folder);
    ASSERT_TRUE(PumpUntil([] { return !ListingActive && ListView_GetItemCount(Win.list) == 2; }));
    ListView_SetItemState(Win.list, 0, LVIS_SELECTED, LVIS_SELECTED);
    DialogAnswerer answers;
    answers.Add([](HWND dlg) {
        EXPECT_EQ(Win.main, GetWindow(dlg, GW_OWNER));
        EXPECT_TRUE(SendMessageA(ZipOptionsItem(ID_ZIP_SELECTED), BM_GETCHECK, 0, 0));
        SetWindowTextA(ZipOptionsItem(ID_ZIP_NAME), "chosen");
        ClickButton(dlg, ID_ZIP_CREATE);
    });
    SendMessageA(Win.main, WM_COMMAND, IDM_ZIP_FILES, 0);
    EXPECT_TRUE(DialogClosed);
    EXPECT_EQ(Win.list, GetFocus());
    char first[250] = {};
    ListView_GetItemText(Win.list, 0, 2, first, sizeof first);
    EXPECT_EQ("", CheckArchive(folder + "chosen.zip", {Expect(first, folder + first)}));
    CloseMainWindow();
}

bool asked;

// The listing pumps messages as it goes: the user's commands come in then.
void CALLBACK AskWhileListing(HWND, UINT, UINT_PTR, DWORD) {
    if (asked || !ListingActive) return;
    asked = true;
    SendMessageA(Win.main, WM_COMMAND, IDM_ZIP_FILES, 0);
    SendMessageA(Win.main, WM_COMMAND, IDM_EXPORT_HTML, 0);
}

// An export asked for while the folder is still being listed is refused with
// a message; asked for once the listing is complete, it covers every row.
TEST(ZipFilesCommand, AskedForDuringAListingIsRefusedUntilItIsComplete) {
    ScratchFolder home, drawings;
    ASSERT_TRUE(StartMainWindow(home));
    const int count = 2000;
    const std::string drawing = MakeDrawingWithoutImages("AC1015", 300);
    for (int i = 0; i < count; ++i)
        ASSERT_TRUE(WriteBytes(drawings.file("d" + std::to_string(i) + ".dwg"), drawing));
    DialogAnswerer answers;
    answers.Add(Press(IDOK));
    answers.Add(Press(IDOK));
    asked = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 1, AskWhileListing);
    NavigateTo(drawings.path());
    ASSERT_TRUE(PumpUntil([] { return asked && !ListingActive; }));
    KillTimer(nullptr, timer);
    ASSERT_EQ(2, answers.Answered());
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(0u, answers.Seen(i).text.find("The folder is still being listed.")) << i;
    answers.Add([](HWND dlg) { ClickButton(dlg, ID_ZIP_CREATE); });
    SendMessageA(Win.main, WM_COMMAND, IDM_ZIP_FILES, 0);
    UnixRun listed = RunUnixCommand("unzip -Z1 " + ShellQuote(UnixPath(drawings.file("KvxZIP.zip"))) +
                                    " | wc -l");
    EXPECT_EQ(std::to_string(count) + "\n", listed.output);
    CloseMainWindow();
}

HWND closedMain;

// Closes the main window once the zip's bar has moved, as the user would.
void CALLBACK CloseWhenTheBarMoves(HWND, UINT, UINT_PTR id, DWORD) {
    if (!SendMessageA(ZipOptionsItem(ID_ZIP_PROGRESS), PBM_GETPOS, 0, 0)) return;
    KillTimer(nullptr, id);
    PostMessageA(closedMain, WM_CLOSE, 0, 0);
}

// Closing the main window during a zip asks; Yes stops the run, leaves no
// archive, and the window closes once the run has ended.
TEST(ZipFilesCommand, ClosingDuringAZipAsksAndYesStopsIt) {
    ScratchFolder home, drawings;
    ASSERT_TRUE(StartMainWindow(home));
    ASSERT_TRUE(ExtendFile(drawings.file("big.dwg"), 256 << 20));
    NavigateTo(drawings.path());
    ASSERT_TRUE(PumpUntil([] { return !ListingActive && ListView_GetItemCount(Win.list) == 1; }));
    closedMain = Win.main;
    DialogAnswerer answers;
    answers.Add([](HWND dlg) {
        SetTimer(nullptr, 0, 1, CloseWhenTheBarMoves);
        ClickButton(dlg, ID_ZIP_CREATE);
    });
    answers.Add(Press(IDYES));
    SendMessageA(Win.main, WM_COMMAND, IDM_ZIP_FILES, 0);
    EXPECT_EQ("Stop the export?", answers.Seen(1).caption);
    EXPECT_TRUE(PumpUntil([] { return !IsWindow(closedMain); })) << "closes when the run has ended";
    EXPECT_FALSE(PathExists(drawings.file("KvxZIP.zip")));
    EXPECT_FALSE(PathExists(drawings.file("KvxZIP.zip.1.tmp")));
    CloseMainWindow();
}

} // namespace
