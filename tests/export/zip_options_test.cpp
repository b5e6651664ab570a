#include <windows.h>
#include <commctrl.h>

#include <climits>

#include "export/zip_options.h"
#include "runtime/app_state.h"
#include "runtime/ids.h"
#include "runtime/win_helpers.h"
#include "tests/export/zip_list_fixture.h"
#include "tests/export/zip_readers.h"
#include "tests/support/dwg_builder.h"

namespace {

using ZipOptionsDialogTest = ZipListTest;

std::vector<std::string> Numbered(int n) {
    std::vector<std::string> names;
    for (int i = 1; i <= n; ++i)
        names.push_back("drawing" + std::to_string(i) + ".dwg");
    return names;
}

std::vector<ExpectedEntry> Entries(const ScratchFolder& folder,
                                   const std::vector<std::string>& names) {
    std::vector<ExpectedEntry> entries;
    for (const std::string& name : names)
        entries.push_back(Expect(name, folder.file(name)));
    return entries;
}

// Names in the folder, to see that nothing was created.
int EntryCount(const std::string& folder) {
    int n = 0;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        std::string name = data.cFileName;
        if (name != "." && name != "..") ++n;
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return n;
}

RECT RectIn(HWND dlg, HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Every line of the notice shows, whatever the font's width; the link and the
// buttons below it stay inside the dialog.
void ExpectNoticeWhole(HWND dlg) {
    HWND notice = ZipOptionsItem(ID_ZIP_NOTICE);
    RECT r = RectIn(dlg, notice), text = {0, 0, r.right - r.left, 0};
    {
        HDC dc = GetDC(notice);
        HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(notice, WM_GETFONT, 0, 0)));
        std::string notes = WindowText(notice);
        DrawTextA(dc, notes.c_str(), -1, &text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(dc, old);
        ReleaseDC(notice, dc);
    }
    EXPECT_LE(text.bottom, r.bottom - r.top);
    EXPECT_GE(RectIn(dlg, ZipOptionsItem(ID_ZIP_LINK)).top, r.bottom);
    RECT client;
    GetClientRect(dlg, &client);
    EXPECT_LE(RectIn(dlg, ZipOptionsItem(ID_ZIP_CREATE)).bottom, client.bottom);
}

TEST_F(ZipOptionsDialogTest, ShowsItsControlsAndPreselectsTheFilesToZip) {
    struct Case {
        int rows;
        std::vector<int> selected;
        bool allChecked;
    } cases[] = {{20, {}, true}, {20, {1, 4, 7, 9, 12}, false}, {3, {0, 1, 2}, true}};
    for (const Case& c : cases) {
        ListView_DeleteAllItems(Win.list);
        List(Numbered(c.rows), false);
        Select(c.selected);
        std::string all =
            "All " + std::to_string(c.rows) + " Displayed File(s) From Current Directory";
        std::string only = "Only " + std::to_string(c.selected.size()) +
                           " Selected File(s) From Current Directory";
        OpenZipOptions([&](HWND dlg) {
            EXPECT_EQ("Zip Options", WindowText(dlg));
            EXPECT_EQ(all, ZipItemText(ID_ZIP_ALL));
            EXPECT_EQ(only, ZipItemText(ID_ZIP_SELECTED));
            EXPECT_EQ(c.allChecked, ZipItemChecked(ID_ZIP_ALL));
            EXPECT_EQ(!c.allChecked, ZipItemChecked(ID_ZIP_SELECTED));
            EXPECT_EQ("KvxZIP.zip", ZipItemText(ID_ZIP_NAME));
            EXPECT_EQ(CurrentFolder(), ZipItemText(ID_ZIP_FOLDER));
            EXPECT_EQ("Files To Zip", ZipItemText(ID_ZIP_FILES_GROUP));
            EXPECT_EQ("File Options", ZipItemText(ID_ZIP_FILE_GROUP));
            EXPECT_EQ(0u, ZipItemText(ID_ZIP_NOTICE).find("KVX uses the ZLib compression library"));
            EXPECT_EQ(0u, ZipItemText(ID_ZIP_LINK).find("https://"));
            EXPECT_FALSE(IsWindowVisible(ZipOptionsItem(ID_ZIP_PROGRESS)));
            HWND create = ZipOptionsItem(ID_ZIP_CREATE);
            EXPECT_EQ(create, GetFocus());
            EXPECT_EQ(ID_ZIP_CREATE, LOWORD(SendMessageA(dlg, DM_GETDEFID, 0, 0)));
            EXPECT_EQ(BS_DEFPUSHBUTTON, GetWindowLongA(create, GWL_STYLE) & 0xF);
            ExpectNoticeWhole(dlg);
            ClickButton(dlg, ID_ZIP_CANCEL);
        });
        EXPECT_EQ(nullptr, ZipOptionsDialog);
    }
    EXPECT_EQ(0, EntryCount(folder.path())) << "nothing is written";
}

TEST_F(ZipOptionsDialogTest, CreateZipPacksTheChosenRowsUnderTheirBareNames) {
    CreateDirectoryA(folder.file("sub").c_str(), nullptr);
    const std::string longName = std::string(246, 'n') + "e.dwg"; // read whole
    List({"plan.dwg", "sub\\deep.dwg", "empty.dwg", "site.sv$", longName});
    WriteBytes(folder.file("empty.dwg"), "");
    Select({1, 2});
    struct Case {
        bool all;
        std::vector<std::string> entries, sources;
    } cases[] = {{true,
                  {"plan.dwg", "deep.dwg", "empty.dwg", "site.sv$", longName},
                  {"plan.dwg", "sub\\deep.dwg", "empty.dwg", "site.sv$", longName}},
                 {false, {"deep.dwg", "empty.dwg"}, {"sub\\deep.dwg", "empty.dwg"}}};
    for (const Case& c : cases) {
        ScratchFolder target;
        OpenZipOptions([&](HWND dlg) {
            SendMessageA(ZipOptionsItem(c.all ? ID_ZIP_ALL : ID_ZIP_SELECTED), BM_CLICK, 0, 0);
            // Blanks around both fields go; the folder's backslash is not doubled.
            SetWindowTextA(ZipOptionsItem(ID_ZIP_FOLDER), ("  " + target.path() + " ").c_str());
            CreateZip(dlg, " backup ");
        });
        EXPECT_FALSE(ZipInProgress);
        std::vector<ExpectedEntry> expected;
        for (size_t i = 0; i < c.entries.size(); ++i)
            expected.push_back(Expect(c.entries[i], folder.file(c.sources[i])));
        EXPECT_EQ("", CheckArchive(target.file("backup.zip"), expected));
        EXPECT_EQ(1, EntryCount(target.path()));
    }
}

TEST_F(ZipOptionsDialogTest, AnExistingArchiveIsReplacedOnlyOnYes) {
    List({"plan.dwg"});
    for (int answer : {IDNO, IDCANCEL, IDYES}) {
        WriteBytes(folder.file("KvxZIP.zip"), "old");
        OpenZipOptions([](HWND dlg) { CreateZip(dlg); }, {Press(answer)});
        EXPECT_EQ("File Exists!", answers.Seen(answers.Answered() - 1).caption);
        EXPECT_EQ("Would you like to overwrite the existing file?",
                  answers.Seen(answers.Answered() - 1).text);
        if (answer == IDYES)
            EXPECT_EQ("", CheckArchive(folder.file("KvxZIP.zip"), Entries(folder, {"plan.dwg"})));
        else
            EXPECT_EQ("old", ReadBytes(folder.file("KvxZIP.zip"))) << answer;
        EXPECT_FALSE(ZipInProgress);
    }
}

// The bar's steps for each file.
const int kSteps = 100;

// Stops the run once the progress bar reaches a position: by default, the
// third file done.
struct StopAfterThird {
    static WNDPROC previous;
    static std::function<void()> stop;
    static int at;
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == PBM_SETPOS && static_cast<int>(wParam) >= at) {
            at = INT_MAX; // once
            stop();
        }
        return CallWindowProcA(previous, wnd, msg, wParam, lParam);
    }
    static void Watch(std::function<void()> how, int position = 3 * kSteps) {
        stop = how;
        at = position;
        previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            ZipOptionsItem(ID_ZIP_PROGRESS), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
    }
};
WNDPROC StopAfterThird::previous = nullptr;
std::function<void()> StopAfterThird::stop;
int StopAfterThird::at = INT_MAX;

TEST_F(ZipOptionsDialogTest, EscOrCancelDuringARunKeepsTheFilesDoneSoFar) {
    std::vector<std::string> names = Numbered(10);
    List(names);
    std::function<void()> stops[] = {
        [] { PostMessageA(ZipOptionsItem(ID_ZIP_NAME), WM_KEYUP, VK_ESCAPE, 0xC0010001); },
        [] {
            PostMessageA(ZipOptionsDialog, WM_COMMAND, MAKEWPARAM(ID_ZIP_CANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(ZipOptionsItem(ID_ZIP_CANCEL)));
        }};
    int run = 0;
    for (const auto& stop : stops) {
        std::string name = "stopped" + std::to_string(++run) + ".zip";
        OpenZipOptions([&](HWND dlg) {
            StopAfterThird::Watch(stop);
            CreateZip(dlg, name);
        });
        EXPECT_EQ(nullptr, ZipOptionsDialog);
        EXPECT_FALSE(ZipCancelRequested);
        EXPECT_EQ("",
                  CheckArchive(folder.file(name), Entries(folder, {names[0], names[1], names[2]})));
    }
    // The stop does not carry over: the next run packs every file.
    OpenZipOptions([](HWND dlg) { CreateZip(dlg, "whole.zip"); });
    EXPECT_EQ("", CheckArchive(folder.file("whole.zip"), Entries(folder, names)));
}

TEST_F(ZipOptionsDialogTest, CancelledDialogThenCreateZipPacksEveryFile) {
    List({"a.dwg", "b.dwg"});
    OpenZipOptions([](HWND dlg) { ClickButton(dlg, ID_ZIP_CANCEL); });
    EXPECT_EQ(2, EntryCount(folder.path()));
    OpenZipOptions([](HWND dlg) { CreateZip(dlg); });
    EXPECT_EQ("", CheckArchive(folder.file("KvxZIP.zip"), Entries(folder, {"a.dwg", "b.dwg"})));
}

TEST_F(ZipOptionsDialogTest, EscBeforeARunClosesTheDialogWithoutWriting) {
    List({"a.dwg"});
    std::function<void(HWND)> escapes[] = {
        [](HWND) { SendMessageA(ZipOptionsItem(ID_ZIP_NAME), WM_KEYUP, VK_ESCAPE, 0xC0010001); },
        [](HWND) { SendMessageA(ZipOptionsItem(ID_ZIP_FOLDER), WM_KEYUP, VK_ESCAPE, 0xC0010001); },
        [](HWND) { SendMessageA(ZipOptionsItem(ID_ZIP_CREATE), WM_KEYUP, VK_ESCAPE, 0xC0010001); },
        // Esc with the focus on a radio button reaches the dialog as IDCANCEL.
        [](HWND dlg) { SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0); },
        [](HWND dlg) { SendMessageA(dlg, WM_CLOSE, 0, 0); }};
    for (const auto& escape : escapes) {
        OpenZipOptions(escape);
        EXPECT_EQ(nullptr, ZipOptionsDialog);
    }
    EXPECT_EQ(1, EntryCount(folder.path()));
}

TEST_F(ZipOptionsDialogTest, FilesThatCannotBeReadAreLeftOutAndNamedOnce) {
    List({"a.dwg", "locked.dwg", "vanished.dwg", "d.dwg"});
    List({"sub\\gone.dwg"}, false); // its folder is gone too
    DeleteFileA(folder.file("vanished.dwg").c_str());
    HANDLE lock = CreateFileA(folder.file("locked.dwg").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    OpenZipOptions([](HWND dlg) { CreateZip(dlg); }, {Press(IDOK)});
    CloseHandle(lock);
    ASSERT_EQ(2, answers.Answered());
    EXPECT_EQ("", answers.Seen(1).caption);
    EXPECT_EQ("These files could not be read and were left out of the zip file:\r\n\r\n"
              "locked.dwg\r\nvanished.dwg\r\nsub\\gone.dwg",
              answers.Seen(1).text);
    EXPECT_EQ("", CheckArchive(folder.file("KvxZIP.zip"), Entries(folder, {"a.dwg", "d.dwg"})));
    EXPECT_EQ("AC1018 locked.dwg", ReadBytes(folder.file("locked.dwg")));
}

TEST_F(ZipOptionsDialogTest, ArchiveThatCannotBeCreatedGivesOneMessage) {
    List({"a.dwg", "b.dwg", "c.dwg"});
    struct Case {
        std::string folder, name;
    } cases[] = {{folder.file("missing"), "KvxZIP.zip"},
                 {folder.file("a.dwg"), "KvxZIP.zip"}, // a file where the folder should be
                 {folder.path(), "a<b>|c.zip"}};
    for (const Case& c : cases) {
        OpenZipOptions(
            [&](HWND dlg) {
                SetWindowTextA(ZipOptionsItem(ID_ZIP_FOLDER), c.folder.c_str());
                CreateZip(dlg, c.name);
                // Left open with what was typed, to choose another folder.
                EXPECT_EQ(c.name, ZipItemText(ID_ZIP_NAME));
                ClickButton(dlg, ID_ZIP_CANCEL);
            },
            {Press(IDOK)});
        EXPECT_EQ("Error Creating Zip File", answers.Seen(answers.Answered() - 1).text);
        EXPECT_EQ("", answers.Seen(answers.Answered() - 1).caption);
        EXPECT_FALSE(ZipInProgress);
    }
    EXPECT_EQ(6, answers.Answered()) << "one message each";
    EXPECT_EQ(3, EntryCount(folder.path()));
    EXPECT_EQ("AC1018 a.dwg", ReadBytes(folder.file("a.dwg")));
}

TEST_F(ZipOptionsDialogTest, EmptyListOrSelectionMakesNoArchive) {
    WriteBytes(folder.file("KvxZIP.zip"), "old");
    OpenZipOptions([](HWND dlg) { CreateZip(dlg); }, {Press(IDOK)});
    List({"a.dwg", "b.dwg"});
    OpenZipOptions(
        [](HWND dlg) {
            SendMessageA(ZipOptionsItem(ID_ZIP_SELECTED), BM_CLICK, 0, 0); // "Only 0 ..."
            CreateZip(dlg);
        },
        {Press(IDOK)});
    ASSERT_EQ(4, answers.Answered()) << "no question about the old archive";
    EXPECT_EQ("There are no files to zip.", answers.Seen(1).text);
    EXPECT_EQ("There are no files to zip.", answers.Seen(3).text);
    EXPECT_EQ("old", ReadBytes(folder.file("KvxZIP.zip")));
}

TEST_F(ZipOptionsDialogTest, StopInsideALargeFileLeavesOnlyTheFilesDone) {
    List({"a.dwg", "big.dwg", "c.dwg"});
    ASSERT_TRUE(ExtendFile(folder.file("big.dwg"), 64 << 20)); // 64 blocks of zeros, quick
    static bool stopped;
    stopped = false;
    OpenZipOptions([](HWND dlg) {
        // The bar moves inside the second file, and Esc there stops it.
        StopAfterThird::Watch(
            [] {
                stopped = true;
                PostMessageA(ZipOptionsItem(ID_ZIP_NAME), WM_KEYUP, VK_ESCAPE, 0xC0010001);
            },
            kSteps + 1);
        CreateZip(dlg);
    });
    EXPECT_TRUE(stopped) << "no progress inside the file";
    EXPECT_FALSE(ZipCancelRequested);
    EXPECT_EQ("", CheckArchive(folder.file("KvxZIP.zip"), Entries(folder, {"a.dwg"})));
}

TEST_F(ZipOptionsDialogTest, ProgressCountsBeyond65535Files) {
    // A list that holds no rows of its own lists that many at once.
    DestroyWindow(Win.list);
    Win.list = CreateControl("SysListView32", "", form, ID_FILE_LIST, 0, 0, 380, 250,
                             WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA);
    const int rows = 70000;
    SendMessageA(Win.list, LVM_SETITEMCOUNT, rows, 0);
    static int high;
    high = 0;
    OpenZipOptions(
        [](HWND dlg) {
            StopAfterThird::Watch([] {
                high = static_cast<int>(
                    SendMessageA(ZipOptionsItem(ID_ZIP_PROGRESS), PBM_GETRANGE, FALSE, 0));
                ZipOptionsEscape();
            });
            CreateZip(dlg);
        },
        {Press(IDOK)}); // the files left out

    EXPECT_EQ(rows * kSteps, high);
}

} // namespace

namespace {

// "..." sits in the File Options group box, whose procedure hands its click
// to the dialog; a cancelled browser leaves the folder as it was.
TEST_F(ZipOptionsDialogTest, BrowseButtonInsideItsGroupBoxOpensTheFolderBrowser) {
    List({"a.dwg"});
    OpenZipOptions(
        [](HWND dlg) {
            HWND browse = ZipOptionsItem(ID_ZIP_BROWSE);
            SetFocus(browse);
            SendMessageA(GetParent(browse), WM_COMMAND, MAKEWPARAM(ID_ZIP_BROWSE, BN_CLICKED),
                         reinterpret_cast<LPARAM>(browse));
            EXPECT_EQ(CurrentFolder(), ZipItemText(ID_ZIP_FOLDER));
            EXPECT_EQ(ZipOptionsItem(ID_ZIP_CREATE), GetFocus());
            EXPECT_EQ(ID_ZIP_CREATE, LOWORD(SendMessageA(dlg, DM_GETDEFID, 0, 0)));
            ClickButton(dlg, ID_ZIP_CANCEL);
        },
        {Press(IDCANCEL)}); // the folder browser
    EXPECT_EQ(2, answers.Answered());
}

} // namespace
