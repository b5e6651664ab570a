// Listing folders into the real main window.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>

#include "filelist/file_list_build.h"
#include "filelist/list_columns.h"
#include "filelist/list_rows.h"
#include "filelist/list_sorting.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/handles.h"
#include "runtime/ids.h"
#include "runtime/strings.h"
#include "runtime/win_helpers.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/drop_maker.h"
#include "tests/support/pump_until.h"
#include "tests/support/shortcut_maker.h"
#include "tests/ui/list_test_support.h"
#include "tests/ui/main_window_fixture.h"
#include "ui/tree_pane.h"

namespace {

std::string PreviewDrawing(const std::string& signature) {
    DibRecipe recipe;
    recipe.width = 90;
    recipe.height = 60;
    recipe.color = [](int x, int y) { return (x / 10 + y / 10) % 2 ? 0x000000u : 0xFFFFFFu; };
    return MakeDrawing(signature, {{1, "header"}, {2, MakeDib(recipe)}});
}

// a.dwg, b.DWG, c.dwt, d.bak, e.sv$, readme.txt, link.lnk (to a folder), two
// sub-folders.
void MakeRulesFolder(const ScratchFolder& folder) {
    ASSERT_TRUE(WriteBytes(folder.file("a.dwg"), PreviewDrawing("AC1015")));
    ASSERT_TRUE(WriteBytes(folder.file("b.DWG"), MakeDrawingWithoutImages("AC1009")));
    for (const char* name : {"c.dwt", "d.bak", "e.sv$"})
        ASSERT_TRUE(WriteBytes(folder.file(name), PreviewDrawing("AC1018")));
    ASSERT_TRUE(WriteBytes(folder.file("readme.txt"), "text"));
    ASSERT_TRUE(CreateDirectoryA(folder.file("sub1").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(folder.file("sub2").c_str(), nullptr));
    ASSERT_TRUE(MakeShortcut(folder.file("link.lnk"), folder.file("sub1")));
}

TEST_F(MainWindowTest, ListsTheDrawingsOfAFolder) {
    ScratchFolder folder;
    MakeRulesFolder(folder);
    SelectExtension(".DWG");
    ListFolder(Unslashed(folder.path()));
    EXPECT_EQ((std::vector<std::string>{"a.dwg", "b.DWG"}), Column(2));
    EXPECT_EQ((std::vector<std::string>{"2000", "11/12"}), Column(3));
    EXPECT_EQ(" 2 Filtered DWG File(s) + 0 Other DWG File(s) + 5 Remaining File(s) + 2 "
              "Folder(s)  =  9 Total Object(s) Found",
              StatusText(0));
    EXPECT_EQ("Korvex - " + folder.path(), Title());
    EXPECT_EQ(folder.path(), WindowText(Win.pathBox));
    EXPECT_TRUE(IsWindowEnabled(Win.shortcuts));
    EXPECT_FALSE(IsWindowVisible(Win.progress));
    EXPECT_TRUE(IsWindowVisible(Win.status));
    // The folder was remembered in the path box's list, once.
    EXPECT_NE(CB_ERR, SendMessageA(Win.pathBox, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(folder.path().c_str())));
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(folder.path(), std::string(current) + "\\");

    // The status bar's tip names the folder; the progress range is the plan.
    char tip[512] = {};
    TTTOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.hwnd = GetParent(Win.status);
    tool.uId = reinterpret_cast<UINT_PTR>(Win.status);
    tool.lpszText = tip;
    SendMessageA(Win.tooltip, TTM_GETTEXTA, sizeof tip, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ("Double-Click Here To View Contents Of " + folder.path(), std::string(tip));
    EXPECT_EQ(2, SendMessageA(Win.progress, PBM_GETRANGE, FALSE, 0));
}

TEST_F(MainWindowTest, RowsCarryTheFileFacts) {
    ScratchFolder folder;
    MakeRulesFolder(folder);
    SelectExtension("ALL TYPES");
    ListFolder(Unslashed(folder.path()));
    EXPECT_EQ((std::vector<std::string>{"a.dwg", "b.DWG", "c.dwt", "d.bak", "e.sv$"}), Column(2));
    EXPECT_EQ("0 KB", Column(4)[1]);
    EXPECT_EQ(std::vector<std::string>(5, "A"), Column(6));
    for (const std::string& date : Column(5))
        EXPECT_EQ(19u, date.size()) << date;
    EXPECT_EQ(" 5 Filtered AutoCAD File(s) + 0 Other AutoCAD File(s) + 2 Remaining File(s) + 2 "
              "Folder(s)  =  9 Total Object(s) Found",
              StatusText(0));
    // Column 0 holds ranks in DETAIL view.
    EXPECT_EQ((std::vector<std::string>{"0000", "0001", "0002", "0003", "0004"}), Column(0));
    SelectExtension(".DWG");
}

TEST_F(MainWindowTest, ThumbnailsAndPlaceholders) {
    ScratchFolder folder;
    MakeRulesFolder(folder);
    ASSERT_TRUE(WriteBytes(folder.file("f.dwg"), MakeDrawing("AC1015", {{1, "only a header"}})));
    SelectExtension(".DWG");
    ListFolder(Unslashed(folder.path()));
    ASSERT_EQ((std::vector<std::string>{"a.dwg", "b.DWG", "f.dwg"}), Column(2));
    EXPECT_EQ(3, RowImage(0, 1));
    EXPECT_EQ(3 + 1, ImageCount()); // three fixed images and a.dwg's thumbnail
    EXPECT_EQ(RowImage(0, 1), RowImage(0, 0));
    EXPECT_EQ(Thumbs.notSupported, RowImage(1, 1)); // release 11/12
    EXPECT_EQ(Thumbs.notFound, RowImage(2, 1));     // 2000 without a bitmap
    EXPECT_NE(Thumbs.notFound, Thumbs.notSupported);
}

TEST_F(MainWindowTest, PreviewColumnWidthSetsTheImageSize) {
    ScratchFolder folder;
    MakeRulesFolder(folder);
    SetCurrentFolder(Unslashed(folder.path()));
    SendMessageA(Win.list, LVM_SETCOLUMNWIDTH, 1, 200);
    Relist();
    SIZE size = ImageSize();
    EXPECT_EQ(200, size.cx);
    EXPECT_EQ(160, size.cy);
    SendMessageA(Win.list, LVM_SETCOLUMNWIDTH, 1, 181);
    Relist();
    EXPECT_EQ(144, ImageSize().cy);
    SendMessageA(Win.list, LVM_SETCOLUMNWIDTH, 1, 180);
    Relist();
}

TEST_F(MainWindowTest, NoPreviewsWhenThePreviewColumnIsHidden) {
    ScratchFolder folder;
    MakeRulesFolder(folder);
    SetCurrentFolder(Unslashed(folder.path()));
    SendMessageA(Win.main, WM_COMMAND, IDM_COL_PREVIEW, 0); // hide
    ASSERT_EQ("FALSE", Settings.showColumn[1]);
    DeleteFileA(Paths.previewBitmap.c_str());
    Relist();
    EXPECT_EQ(16, ImageSize().cx);
    EXPECT_EQ(0, ImageCount());
    EXPECT_FALSE(PathExists(Paths.previewBitmap)); // no preview was read
    EXPECT_EQ(2u, Column(2).size());
    SendMessageA(Win.main, WM_COMMAND, IDM_COL_PREVIEW, 0); // show again: lists with thumbnails
    PumpUntil([] { return !ListingActive; });
    EXPECT_EQ("TRUE", Settings.showColumn[1]);
    EXPECT_EQ(180, ImageSize().cx);
    EXPECT_EQ(3, RowImage(0, 1)); // a.dwg's thumbnail, made once its row is seen
    EXPECT_EQ(4, ImageCount());
}

TEST_F(MainWindowTest, BlankFilterIsResetToStar) {
    ScratchFolder folder;
    MakeRulesFolder(folder);
    SetCurrentFolder(Unslashed(folder.path()));
    SetWindowTextA(Win.filterBox, "   ");
    Relist();
    EXPECT_EQ("*", WindowText(Win.filterBox));
    EXPECT_EQ(2u, Column(2).size());
    SetWindowTextA(Win.filterBox, "a");
    Relist();
    EXPECT_EQ((std::vector<std::string>{"a.dwg"}), Column(2));
    EXPECT_EQ(0u, StatusText(0).find(" 1 Filtered DWG File(s) + 1 Other DWG File(s)"));
    SetWindowTextA(Win.filterBox, "*");
}

TEST_F(MainWindowTest, EmptyMissingAndNoFolder) {
    const std::string zero = " 0 Filtered DWG File(s) + 0 Other DWG File(s) + 0 Remaining File(s) "
                             "+ 0 Folder(s)  =  0 Total Object(s) Found";
    ScratchFolder folder;
    ListFolder(Unslashed(folder.path()));
    EXPECT_TRUE(Column(2).empty());
    EXPECT_EQ(zero, StatusText(0));
    EXPECT_FALSE(IsWindowEnabled(Win.shortcuts));

    std::string missing = folder.file("no such folder");
    SetCurrentFolder(missing);
    Relist();
    EXPECT_TRUE(Column(2).empty());
    EXPECT_EQ(zero, StatusText(0));
    EXPECT_EQ("Korvex - " + missing + "\\", Title());
    EXPECT_FALSE(IsWindowEnabled(Win.shortcuts));

    SetCurrentFolder("");
    Relist();
    EXPECT_TRUE(Column(2).empty());
    EXPECT_EQ(zero, StatusText(0));
    EXPECT_EQ("Korvex", Title());
    EXPECT_EQ("", WindowText(Win.pathBox));
}

// A newer listing request of another folder, as a pick in the tree makes,
// from a window's timer or as a row goes in.
ScratchFolder* secondFolder;
bool requestedDuringAListing;

void RequestSecondFolder() {
    requestedDuringAListing = ListingActive;
    SetCurrentFolder(Unslashed(secondFolder->path()));
    RestartListBuild();
}

LRESULT CALLBACK RequestProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_TIMER) return DefWindowProcA(wnd, msg, wParam, lParam);
    KillTimer(wnd, wParam);
    RequestSecondFolder();
    return 0;
}

TEST_F(MainWindowTest, NewerRequestDuringAListingWins) {
    ScratchFolder first, second;
    secondFolder = &second;
    // Enough drawings for the listing to look at its messages between rows.
    for (int i = 0; i < 400; ++i)
        ASSERT_TRUE(
            WriteBytes(first.file("first" + std::to_string(i) + ".dwg"), PreviewDrawing("AC1015")));
    ASSERT_TRUE(WriteBytes(second.file("second.dwg"), PreviewDrawing("AC1018")));
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RequestProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KvxTestRequest";
    RegisterClassA(&wc);
    HWND requester =
        CreateWindowA("KvxTestRequest", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    for (int rows : {0, 1}) {
        SetCurrentFolder(Unslashed(first.path()));
        requestedDuringAListing = false;
        // Before any row, the request comes in the listing's first message
        // pump after the timer is due; after one, as that row goes in.
        std::unique_ptr<AtFirstRow> atRow;
        if (rows)
            atRow.reset(new AtFirstRow(RequestSecondFolder));
        else
            SetTimer(requester, 1, USER_TIMER_MINIMUM, nullptr);
        Relist();
        PumpUntil([] { return !ListingActive; });
        atRow.reset();
        EXPECT_TRUE(requestedDuringAListing) << "at rows " << rows;
        EXPECT_EQ((std::vector<std::string>{"second.dwg"}), Column(2)) << "at rows " << rows;
        EXPECT_EQ(0u, StatusText(0).find(" 1 Filtered DWG File(s) + 0 Other DWG File(s) + 0 "
                                         "Remaining File(s) + 0 Folder(s)"))
            << StatusText(0);
        EXPECT_EQ("Korvex - " + second.path(), Title());
        EXPECT_TRUE(IsWindowVisible(Win.status));
        EXPECT_FALSE(IsWindowVisible(Win.progress));
    }
    DestroyWindow(requester);
}

// Posts the request to the requester window the first time the progress label
// is set, so that it arrives in the first message pump after that: the one of
// the black-background colour adaptation of the listing's only drawing.
HWND requestTarget;
WNDPROC labelPrevious;

LRESULT CALLBACK LabelProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SETTEXT && requestTarget) {
        PostMessageA(requestTarget, WM_TIMER, 1, 0);
        requestTarget = nullptr;
    }
    return CallWindowProcA(labelPrevious, wnd, msg, wParam, lParam);
}

TEST_F(MainWindowTest, NewerRequestDuringAThumbnailLeavesTheNewerRows) {
    ScratchFolder first, second;
    secondFolder = &second;
    ASSERT_TRUE(WriteBytes(first.file("older.dwg"), PreviewDrawing("AC1015")));
    ASSERT_TRUE(WriteBytes(second.file("newer1.dwg"), PreviewDrawing("AC1018")));
    ASSERT_TRUE(WriteBytes(second.file("newer2.dwg"), PreviewDrawing("AC1018")));
    HWND requester =
        CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(requester, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RequestProc));
    labelPrevious = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(Win.progressLabel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LabelProc)));
    SendMessageA(Win.main, WM_COMMAND, IDM_BLACK_BACKGROUND, 0);
    ASSERT_TRUE(BlackBackground);

    SetCurrentFolder(Unslashed(first.path()));
    requestedDuringAListing = false;
    requestTarget = requester;
    Relist();
    PumpUntil([] { return !ListingActive; });

    SetWindowLongPtrA(Win.progressLabel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(labelPrevious));
    SendMessageA(Win.main, WM_COMMAND, IDM_BLACK_BACKGROUND, 0);
    DestroyWindow(requester);
    EXPECT_EQ(nullptr, requestTarget) << "the request was never made";
    EXPECT_TRUE(requestedDuringAListing);
    EXPECT_EQ((std::vector<std::string>{"newer1.dwg", "newer2.dwg"}), Column(2));
    EXPECT_EQ((std::vector<std::string>{"2004", "2004"}), Column(3));
    // The placeholders and the newer listing's previews, once its rows are seen.
    EXPECT_EQ(std::set<int>({3, 4}), std::set<int>({RowImage(0, 1), RowImage(1, 1)}));
    EXPECT_EQ(3 + 2, ImageCount());
    EXPECT_EQ(0u, StatusText(0).find(" 2 Filtered DWG File(s)")) << StatusText(0);
    EXPECT_EQ("Korvex - " + second.path(), Title());
}

std::vector<std::string> labelTexts;

LRESULT CALLBACK RecordingLabelProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SETTEXT) labelTexts.push_back(reinterpret_cast<const char*>(lParam));
    return CallWindowProcA(labelPrevious, wnd, msg, wParam, lParam);
}

TEST_F(MainWindowTest, ProgressCountsTheListedDrawings) {
    ScratchFolder folder;
    for (const char* name : {"a.dwg", "b.dwg", "c.dwg"})
        ASSERT_TRUE(WriteBytes(folder.file(name), "AC1009"));
    labelTexts.clear();
    labelPrevious = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        Win.progressLabel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingLabelProc)));
    ListFolder(Unslashed(folder.path()));
    SetWindowLongPtrA(Win.progressLabel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(labelPrevious));
    EXPECT_EQ((std::vector<std::string>{" Building List:  1 of  3", " Building List:  2 of  3",
                                        " Building List:  3 of  3"}),
              labelTexts);
    EXPECT_EQ(3, SendMessageA(Win.progress, PBM_GETRANGE, FALSE, 0));
    EXPECT_EQ(2, SendMessageA(Win.progress, PBM_GETPOS, 0, 0)); // drawings before the last
}

// The longest text of a large listing fits the label's fixed width; a small
// listing gets the label's own font back.
TEST_F(MainWindowTest, ProgressLabelFitsTheListingsLongestText) {
    RECT client;
    GetClientRect(Win.progressLabel, &client);
    for (int planned : {60000, 3}) {
        FitProgressLabel(planned);
        std::string text = " Building List: " + NumberText(planned) + " of " + NumberText(planned);
        EXPECT_LE(TextExtent(Win.progressLabel, text).cx, client.right) << text;
    }
    EXPECT_EQ(reinterpret_cast<WPARAM>(ControlFont()),
              static_cast<WPARAM>(SendMessageA(Win.progressLabel, WM_GETFONT, 0, 0)));
}

// While not drawn, the label and the bar keep the texts and positions they
// take and hand the last ones to the controls when drawing resumes.
TEST_F(MainWindowTest, ProgressKeepsItsFiguresWhileNotDrawn) {
    SendMessageA(Win.progress, PBM_SETRANGE32, 0, 100);
    SendMessageA(Win.progress, PBM_SETPOS, 10, 0);
    SendMessageA(Win.progress, WM_SETREDRAW, FALSE, 0);
    EXPECT_EQ(10, SendMessageA(Win.progress, PBM_SETPOS, 20, 0));
    EXPECT_EQ(20, SendMessageA(Win.progress, PBM_SETPOS, 30, 0));
    EXPECT_EQ(30, SendMessageA(Win.progress, PBM_GETPOS, 0, 0));
    SendMessageA(Win.progress, WM_SETREDRAW, TRUE, 0);
    EXPECT_EQ(30, SendMessageA(Win.progress, PBM_GETPOS, 0, 0));
    // Anything else the bar is told meets the position it was given.
    SendMessageA(Win.progress, WM_SETREDRAW, FALSE, 0);
    SendMessageA(Win.progress, PBM_SETPOS, 40, 0);
    EXPECT_EQ(40, SendMessageA(Win.progress, PBM_DELTAPOS, 5, 0));
    EXPECT_EQ(45, SendMessageA(Win.progress, PBM_GETPOS, 0, 0));
    SendMessageA(Win.progress, WM_SETREDRAW, TRUE, 0);

    SetWindowTextA(Win.progressLabel, "before");
    SendMessageA(Win.progressLabel, WM_SETREDRAW, FALSE, 0);
    EXPECT_EQ("before", WindowText(Win.progressLabel));
    SetWindowTextA(Win.progressLabel, "first");
    SetWindowTextA(Win.progressLabel, "second");
    EXPECT_EQ("second", WindowText(Win.progressLabel));
    char small[4];
    EXPECT_EQ(3, GetWindowTextA(Win.progressLabel, small, sizeof small));
    EXPECT_STREQ("sec", small);
    SendMessageA(Win.progressLabel, WM_SETREDRAW, TRUE, 0);
    EXPECT_EQ("second", WindowText(Win.progressLabel));
    SendMessageA(Win.progressLabel, WM_SETREDRAW, FALSE, 0);
    SendMessageA(Win.progressLabel, WM_SETREDRAW, TRUE, 0);
    EXPECT_EQ("second", WindowText(Win.progressLabel));
}

std::string ItemText(HWND box, int index) {
    char text[MAX_PATH] = {};
    SendMessageA(box, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

// Only folders picked in the tree join the path box's list, once each.
TEST_F(MainWindowTest, PathBoxRemembersPickedFoldersOnce) {
    ScratchFolder folder;
    SetCurrentFolder(Unslashed(folder.path()));
    RestartListBuild();
    LRESULT count = SendMessageA(Win.pathBox, CB_GETCOUNT, 0, 0);
    EXPECT_EQ(folder.path(), ItemText(Win.pathBox, 0));

    SendMessageA(Win.main, WM_COMMAND, MAKEWPARAM(ID_GO, 0), reinterpret_cast<LPARAM>(Win.go));
    EXPECT_EQ(count, SendMessageA(Win.pathBox, CB_GETCOUNT, 0, 0));
    SetCurrentFolder(Upper(Unslashed(folder.path())));
    RestartListBuild();
    EXPECT_EQ(count, SendMessageA(Win.pathBox, CB_GETCOUNT, 0, 0));
    EXPECT_FALSE(RememberPath);
}

TEST_F(MainWindowTest, HeaderClicksAndViewModes) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBytes(folder.file("b.dwg"), std::string(5000, 'b').replace(0, 6, "AC1018")));
    ASSERT_TRUE(WriteBytes(folder.file("c.dwg"), std::string(3000, 'c').replace(0, 6, "AC1002")));
    ASSERT_TRUE(WriteBytes(folder.file("a.dwg"), std::string(1000, 'a').replace(0, 6, "AC1009")));
    SetCurrentFolder(Unslashed(folder.path()));
    SortColumn = 2;
    SortAscending = true;
    Relist();
    EXPECT_EQ((std::vector<std::string>{"a.dwg", "b.dwg", "c.dwg"}), Column(2));
    SortByHeaderClick(3);
    EXPECT_EQ((std::vector<std::string>{"c.dwg", "a.dwg", "b.dwg"}), Column(2));
    SortByHeaderClick(3);
    EXPECT_EQ((std::vector<std::string>{"b.dwg", "a.dwg", "c.dwg"}), Column(2));
    EXPECT_EQ((std::vector<std::string>{"0000", "0001", "0002"}), Column(0));
    SortByHeaderClick(4); // keeps descending
    EXPECT_EQ((std::vector<std::string>{"b.dwg", "c.dwg", "a.dwg"}), Column(2));

    SendMessageA(Win.main, WM_COMMAND, 9039, 0); // List
    EXPECT_EQ("LIST", Settings.viewMode);
    EXPECT_EQ(Column(2), Column(0));
    EXPECT_EQ(LVS_LIST, GetWindowLongA(Win.list, GWL_STYLE) & LVS_TYPEMASK);
    SendMessageA(Win.main, WM_COMMAND, 9038, 0); // Details
    EXPECT_EQ("DETAIL", Settings.viewMode);
    EXPECT_EQ((std::vector<std::string>{"0000", "0001", "0002"}), Column(0));

    // A sort column out of range sorts by file name and marks it.
    SortColumn = 10;
    SortAscending = true;
    Relist();
    EXPECT_EQ(2, SortColumn);
    EXPECT_EQ((std::vector<std::string>{"a.dwg", "b.dwg", "c.dwg"}), Column(2));
    char text[64] = {};
    HDITEMA item = {};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(GetDlgItem(Win.list, 0), HDM_GETITEMA, 2, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ("Filename ^", text);
    SendMessageA(GetDlgItem(Win.list, 0), HDM_GETITEMA, 4, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ("Size", text);
}

} // namespace

namespace {

TEST_F(MainWindowTest, NavigationControlsStartListings) {
    ScratchFolder folder, other;
    MakeRulesFolder(folder);
    ASSERT_TRUE(WriteBytes(other.file("o.dwg"), PreviewDrawing("AC1015")));
    SelectExtension(".DWG");
    ListFolder(Unslashed(folder.path()));

    // Enter in the filter box lists with the new filter.
    SetWindowTextA(Win.filterBox, "b");
    SendMessageA(Win.filterBox, WM_KEYUP, VK_RETURN, 0);
    EXPECT_EQ((std::vector<std::string>{"b.DWG"}), Column(2));
    SetWindowTextA(Win.filterBox, "*");

    // A pick in the extension box lists that extension.
    SelectExtension("ALL TYPES");
    SendMessageA(Win.main, WM_COMMAND, MAKEWPARAM(ID_EXTENSION_BOX, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Win.extensionBox));
    EXPECT_EQ(5u, Column(2).size());
    SelectExtension(".DWG");

    // Go with a path that does not exist lists the current folder again.
    SetWindowTextA(Win.pathBox, folder.file("nowhere").c_str());
    SendMessageA(Win.main, WM_COMMAND, MAKEWPARAM(ID_GO, 0), reinterpret_cast<LPARAM>(Win.go));
    EXPECT_EQ((std::vector<std::string>{"a.dwg", "b.DWG"}), Column(2));
    EXPECT_EQ(folder.path(), WindowText(Win.pathBox));

    // Go with another folder goes there.
    SetWindowTextA(Win.pathBox, other.path().c_str());
    SendMessageA(Win.main, WM_COMMAND, MAKEWPARAM(ID_GO, 0), reinterpret_cast<LPARAM>(Win.go));
    EXPECT_TRUE(PumpUntil([] { return Column(2) == std::vector<std::string>{"o.dwg"}; }));

    // A pick in the path box's list goes to that folder.
    LRESULT index = SendMessageA(Win.pathBox, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(folder.path().c_str()));
    ASSERT_NE(CB_ERR, index);
    SendMessageA(Win.pathBox, CB_SETCURSEL, index, 0);
    SendMessageA(Win.main, WM_COMMAND, MAKEWPARAM(ID_PATH_BOX, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Win.pathBox));
    EXPECT_TRUE(PumpUntil([] { return Column(2).size() == 2; }));
    EXPECT_EQ("Korvex - " + folder.path(), Title());
}

} // namespace

namespace {

TEST_F(MainWindowTest, DroppedFilesOpenTheFolderOfTheFirst) {
    ScratchFolder first, second;
    ASSERT_TRUE(WriteBytes(first.file("one.dwg"), PreviewDrawing("AC1015")));
    ASSERT_TRUE(WriteBytes(second.file("two.dwg"), PreviewDrawing("AC1015")));
    SendMessageA(Win.main, WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop(
                     {first.file("one.dwg"), second.file("two.dwg"), second.file("x.dwg")})),
                 0);
    EXPECT_TRUE(PumpUntil([] { return Column(2) == std::vector<std::string>{"one.dwg"}; }));
    EXPECT_EQ("Korvex - " + first.path(), Title());

    // A dropped folder is opened itself.
    std::string inner = second.file("inner");
    ASSERT_TRUE(CreateDirectoryA(inner.c_str(), nullptr));
    SendMessageA(Win.main, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({inner})), 0);
    EXPECT_TRUE(PumpUntil([&] { return Title() == "Korvex - " + inner + "\\"; })) << Title();
}

} // namespace

namespace {

int ProcessThreads() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int threads = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        threads += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return threads;
}

// Each drawing the listing shows asks for a listing of the other folder,
// six times over, and counts the threads meanwhile.
ScratchFolder* storm[2];
int superseded, mostThreads;

LRESULT CALLBACK SupersedingLabelProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SETTEXT && ListingActive) {
        mostThreads = std::max(mostThreads, ProcessThreads());
        if (superseded < 6) {
            SetCurrentFolder(Unslashed(storm[++superseded % 2]->path()));
            PostMessageA(Win.main, WM_KVX_TREE_SELECTION, 0, 0);
        }
    }
    return CallWindowProcA(labelPrevious, wnd, msg, wParam, lParam);
}

} // namespace

// A superseded listing ends its reading thread before the newer one starts:
// however fast the user goes, listings do not pile up.
TEST_F(MainWindowTest, SupersededListingsLeaveNoReadingThreadBehind) {
    ScratchFolder first, second;
    storm[0] = &first, storm[1] = &second;
    for (int i = 0; i < 30; ++i)
        for (ScratchFolder* folder : storm)
            ASSERT_TRUE(WriteBytes(folder->file("d" + std::to_string(i) + ".dwg"),
                                   PreviewDrawing("AC1015")));
    SetCurrentFolder(Unslashed(first.path()));
    Relist();
    int before = ProcessThreads(); // with the thumbnails' thread of that listing
    superseded = 0, mostThreads = 0;
    labelPrevious = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        Win.progressLabel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SupersedingLabelProc)));
    Relist();
    PumpUntil([] { return superseded == 6 && !ListingActive; });
    SetWindowLongPtrA(Win.progressLabel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(labelPrevious));
    EXPECT_EQ(6, superseded);
    // One reading thread at most beside the thumbnails' thread.
    EXPECT_LE(mostThreads, before + 1);
    EXPECT_EQ("Korvex - " + first.path(), Title());
    EXPECT_EQ(30u, Column(2).size());
}

// Another folder opens at its first row; the same folder listed again keeps
// its place.
TEST_F(MainWindowTest, ANewFolderOpensAtItsFirstRow) {
    ScratchFolder first, second;
    // Enough drawings for the listing to look at its messages between rows.
    for (int i = 0; i < 400; ++i)
        for (ScratchFolder* folder : {&first, &second})
            ASSERT_TRUE(WriteBytes(folder->file("d" + std::to_string(i) + ".dwg"), "AC1015"));
    auto top = [] { return static_cast<int>(SendMessageA(Win.list, LVM_GETTOPINDEX, 0, 0)); };
    ASSERT_NO_FATAL_FAILURE(ListFolder(first.path()));
    SendMessageA(Win.list, LVM_ENSUREVISIBLE, 39, FALSE);
    ASSERT_GT(top(), 0);
    ASSERT_NO_FATAL_FAILURE(ListFolder(second.path()));
    EXPECT_EQ(0, top());
    SendMessageA(Win.list, LVM_ENSUREVISIBLE, 39, FALSE);
    int kept = top();
    Relist();
    EXPECT_EQ(kept, top());
}

// However wide the Preview column, the thumbnails held stay within their
// bound in bytes.
TEST_F(MainWindowTest, ThumbnailsOfAVeryWidePreviewColumnStayWithinTheirBytes) {
    ScratchFolder folder;
    // Enough drawings for the listing to look at its messages between rows.
    for (int i = 0; i < 400; ++i)
        ASSERT_TRUE(
            WriteBytes(folder.file("d" + std::to_string(i) + ".dwg"), PreviewDrawing("AC1015")));
    SendMessageA(Win.list, LVM_SETCOLUMNWIDTH, 1, 4500);
    SetCurrentFolder(Unslashed(folder.path()));
    Relist();
    for (int row = 0; row < 40; row += 3) {
        SendMessageA(Win.list, LVM_ENSUREVISIBLE, row, FALSE);
        UpdateWindow(Win.list);
        EXPECT_TRUE(PumpUntil([row] { return RowImage(row, 1) > 2; })) << row;
    }
    SIZE cell = ImageSize();
    double megabytes = ImageCount() * 3.0 * cell.cx * cell.cy / 1048576;
    SendMessageA(Win.list, LVM_SETCOLUMNWIDTH, 1, 180);
    Relist();
    EXPECT_LE(megabytes, 100) << ImageCount() << " cells of " << cell.cx << "x" << cell.cy;
    EXPECT_GE(cell.cx, 1000); // still a large picture
}
