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
HWND closedMain;

void CALLBACK AskWhileListing(HWND, UINT, UINT_PTR, DWORD) {
    if (asked || !ListingActive) return;
    asked = true;
    SendMessageA(Win.main, WM_COMMAND, IDM_ZIP_FILES, 0);
    SendMessageA(Win.main, WM_COMMAND, IDM_EXPORT_HTML, 0);
}

void CALLBACK CloseWhenTheBarMoves(HWND, UINT, UINT_PTR id, DWORD) {
    if (!SendMessageA(ZipOptionsItem(ID_ZIP_PROGRESS), PBM_GETPOS, 0, 0)) return;
    KillTimer(nullptr, id);
    PostMessageA(closedMain, WM_CLOSE, 0, 0);
}

// Exports asked for during a listing are refused, then cover every row. Closing
// during a zip asks; Yes stops it, the old archive stays, the window closes.
TEST(ZipFilesCommand, WaitsForTheListingAndClosingDuringARunAsks) {
    ScratchFolder home, drawings;
    ASSERT_TRUE(StartMainWindow(home));
    const std::string drawing = MakeDrawingWithoutImages("AC1015", 300);
    for (int i = 0; i < 2000; ++i)
        ASSERT_TRUE(WriteBytes(drawings.file("d" + std::to_string(i) + ".dwg"), drawing));
    DialogAnswerer answers;
    answers.Add(Press(IDOK)), answers.Add(Press(IDOK)); // the two refusals
    UINT_PTR timer = SetTimer(nullptr, 0, 1, AskWhileListing);
    NavigateTo(drawings.path());
    ASSERT_TRUE(PumpUntil([] { return asked && !ListingActive; }));
    KillTimer(nullptr, timer);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(0u, answers.Seen(i).text.find("The folder is still being listed.")) << i;
    answers.Add([](HWND dlg) { ClickButton(dlg, ID_ZIP_CREATE); });
    SendMessageA(Win.main, WM_COMMAND, IDM_ZIP_FILES, 0);
    const std::string zip = drawings.file("KvxZIP.zip"), before = ReadBytes(zip);
    UnixRun listed = RunUnixCommand("unzip -Z1 " + ShellQuote(UnixPath(zip)) + " | wc -l");
    EXPECT_EQ("2000\n", listed.output);

    closedMain = Win.main;
    answers.Add([](HWND dlg) {
        SetTimer(nullptr, 0, 1, CloseWhenTheBarMoves);
        ClickButton(dlg, ID_ZIP_CREATE);
    });
    answers.Add(Press(IDYES)); // to overwrite
    answers.Add(Press(IDYES)); // to stop
    SendMessageA(Win.main, WM_COMMAND, IDM_ZIP_FILES, 0);
    EXPECT_EQ("Stop the export?", answers.Seen(5).caption);
    EXPECT_TRUE(PumpUntil([] { return !IsWindow(closedMain); })) << "closes after the run";
    EXPECT_EQ(before, ReadBytes(zip));
    EXPECT_FALSE(PathExists(zip + ".1.tmp"));
    CloseMainWindow();
}

} // namespace
