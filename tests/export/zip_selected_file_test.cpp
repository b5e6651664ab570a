#include <windows.h>
#include <commctrl.h>

#include "export/zip_archive.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/ids.h"
#include "tests/export/zip_list_fixture.h"
#include "tests/export/zip_readers.h"
#include "tests/support/dwg_builder.h"

namespace {

using ZipSelectedFileTest = ZipListTest;

TEST_F(ZipSelectedFileTest, PacksTheFileIntoAnArchiveOfItsNameBesideIt) {
    // A name of 250 characters and more is read whole; its archive's path is
    // longer than the byte-string calls take.
    const std::string stem = std::string(246, 'n') + "e.";
    struct Case {
        std::string file, archive;
    } cases[] = {{"plan.dwg", "plan.zip"},
                 {"site.sv$", "site.zip"},
                 {"abc", "zip"},
                 {stem + "dwg", stem + "zip"}};
    List({"plan.dwg", "site.sv$", "abc", stem + "dwg"});
    for (int row = 0; row < 4; ++row) {
        ListView_SetItemState(Win.list, -1, 0, LVIS_SELECTED);
        Select({row});
        ZipSelectedFile();
        const Case& c = cases[row];
        EXPECT_EQ("", CheckArchive(folder.file(c.archive), {Expect(c.file, folder.file(c.file))}))
            << c.file;
    }
}

TEST_F(ZipSelectedFileTest, DoesNothingUnlessOneRowIsSelected) {
    List({"a.dwg", "b.dwg"});
    ZipSelectedFile();
    Select({0, 1});
    ZipSelectedFile();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(folder.file("a.zip").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(folder.file("b.zip").c_str()));
}

TEST_F(ZipSelectedFileTest, AnUnreadableFileOrANoLeavesTheOldArchiveAlone) {
    List({"plan.dwg"});
    Select({0});
    WriteBytes(folder.file("plan.zip"), "old");
    answers.Add(Press(IDNO));
    ZipSelectedFile();
    EXPECT_EQ("File Exists!", answers.Seen(0).caption);

    HANDLE lock = CreateFileA(folder.file("plan.dwg").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    answers.Add(Press(IDOK));
    ZipSelectedFile();
    CloseHandle(lock);
    EXPECT_EQ("", answers.Seen(1).caption);
    EXPECT_EQ("This file could not be read, so no zip file was created:\r\n\r\nplan.dwg",
              answers.Seen(1).text);
    EXPECT_EQ("old", ReadBytes(folder.file("plan.zip")));
}

void CALLBACK CancelOnceTheBarMoves(HWND, UINT, UINT_PTR id, DWORD) {
    HWND wnd = FindWindowA("KvxZipProgress", nullptr);
    if (!wnd || !SendDlgItemMessageA(wnd, ID_ZIP_PROGRESS, PBM_GETPOS, 0, 0)) return;
    KillTimer(nullptr, id);
    SendMessageA(wnd, WM_COMMAND, ID_ZIP_CANCEL, 0);
}

TEST_F(ZipSelectedFileTest, CancelInTheProgressWindowKeepsTheOldArchive) {
    List({"big.dwg"});
    ASSERT_TRUE(ExtendFile(folder.file("big.dwg"), 256 << 20));
    Select({0});
    WriteBytes(folder.file("big.zip"), "old");
    answers.Add(Press(IDYES));
    SetTimer(nullptr, 0, 1, CancelOnceTheBarMoves);
    ZipSelectedFile();
    EXPECT_EQ("old", ReadBytes(folder.file("big.zip"))) << "a cancel keeps the old archive";
}

} // namespace
