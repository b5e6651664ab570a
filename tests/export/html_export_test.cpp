// The HTML export of the listed drawings, started from its dialog.
#include <windows.h>
#include <commctrl.h>

#include "export/html_export.h"
#include "export/html_page.h"
#include "filelist/list_rows.h"
#include "inspect/dwg_inspect.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/ids.h"
#include "runtime/win_helpers.h"
#include "tests/export/html_export_fixture.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/pump_until.h"
#include "tests/support/unix_command.h"

namespace {

bool Has(const std::string& text, const std::string& what) {
    return text.find(what) != std::string::npos;
}

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// The answer that picks a layout (and whatever else) and confirms.
std::function<void(HWND)> Confirm(int layoutId, std::function<void(HWND)> more = nullptr) {
    return [layoutId, more](HWND dlg) {
        SendMessageA(DialogControl(dlg, layoutId), BM_CLICK, 0, 0);
        if (more) more(dlg);
        ClickButton(dlg, ID_HTML_OK);
    };
}

// Confirms as Confirm does; then, were the dialog still open, `left` takes
// its HTML Filename text, and the dialog is cancelled.
std::function<void(HWND)> ConfirmThenCancel(int layoutId, std::string& left,
                                            std::function<void(HWND)> more) {
    return [layoutId, &left, more](HWND dlg) {
        Confirm(layoutId, more)(dlg);
        left = IsWindowVisible(dlg) ? WindowText(DialogControl(dlg, ID_HTML_FILENAME)) : "closed";
        ClickButton(dlg, ID_HTML_CANCEL);
    };
}

} // namespace

TEST_F(HtmlExportTest, DetailTableOfEveryRowInTheWorkFolder) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBytes(folder.file("plan.dwg"), DrawingWithPreview(20, 10, 0xFF0000)));
    ASSERT_TRUE(WriteBytes(folder.file("bare.dwg"), MakeDrawingWithoutImages("AC1015")));
    ASSERT_TRUE(WriteBytes(folder.file("old.dwg"), MakeDrawingWithoutImages("AC1009")));
    std::string cut = DrawingWithPreview(20, 10, 0xFF0000);
    ASSERT_TRUE(WriteBytes(folder.file("damaged.dwg"), cut.substr(0, cut.size() / 2)));
    ASSERT_TRUE(WriteBytes(folder.file("locked.dwg"), DrawingWithPreview(20, 10, 0xFF0000)));
    ASSERT_TRUE(WriteBytes(Paths.htmlFolder + "stale.bmp", "left from before"));
    ListFolder(Unslashed(folder.path()));
    std::vector<std::string> drawings;
    for (const char* name : {"bare.dwg", "damaged.dwg", "locked.dwg", "old.dwg", "plan.dwg"})
        drawings.push_back(ReadBytes(folder.file(name)));
    // Held open without sharing, as another program may hold a drawing; the
    // thumbnails of the rows on screen may still be reading it.
    HANDLE lock = INVALID_HANDLE_VALUE;
    ASSERT_TRUE(PumpUntil([&] {
        lock = CreateFileA(folder.file("locked.dwg").c_str(), GENERIC_READ, 0, nullptr,
                           OPEN_EXISTING, 0, nullptr);
        return lock != INVALID_HANDLE_VALUE;
    }));
    DialogAnswerer answers;
    RunDialog(answers, Confirm(ID_HTML_LAYOUT1));
    CloseHandle(lock);

    ASSERT_EQ(std::vector<std::string>{Paths.htmlFile}, OpenedPages);
    EXPECT_EQ("left from before", ReadBytes(Paths.htmlFolder + "stale.bmp")) << "not Korvex's";
    std::string page = ReadBytes(Paths.htmlFile);
    EXPECT_EQ(Count(page, "\n"), Count(page, "\r\n")) << "lines end in CR LF";
    const std::string font = "<font face=\"" + HtmlEscape(HtmlOptions.font) + "\">";
    EXPECT_TRUE(
        Has(page, "<th colspan=\"6\">" + font + HtmlEscape(CurrentFolder()) + "</font></th>"));
    // Rows in list order; only the drawing with a preview has a picture.
    size_t bare = page.find(">bare.dwg<"), old = page.find(">old.dwg<"),
           plan = page.find(">plan.dwg<");
    ASSERT_NE(std::string::npos, plan);
    EXPECT_TRUE(bare < old && old < plan);
    EXPECT_TRUE(Has(page, "<td width=\"1\" align=\"center\"><a href=\"" +
                              FileUrl(folder.file("plan.dwg")) +
                              "\"><img border=\"0\" src=\"plan.bmp\" alt=\"plan.dwg\"></a></td>"));
    EXPECT_TRUE(
        Has(page, "<a href=\"" + FileUrl(folder.file("bare.dwg")) + "\"><b>No Preview</b></a>"));
    EXPECT_EQ(4, Count(page, "No Preview")) << "no preview, a damaged one, a locked drawing";
    EXPECT_TRUE(Has(page, ">locked.dwg</font></td>\r\n    <td>" + font + "Unknown Version<"));
    // Nothing is written into the listed folder.
    int i = 0;
    for (const char* name : {"bare.dwg", "damaged.dwg", "locked.dwg", "old.dwg", "plan.dwg"})
        EXPECT_EQ(drawings[i++], ReadBytes(folder.file(name))) << name;
    EXPECT_EQ(5, RowCount(Win.list));
    EXPECT_TRUE(Has(page, "<td>" + font + "11/12</font></td>"));
    ExtractPreview(folder.file("plan.dwg"));
    EXPECT_EQ(ReadBytes(Paths.previewBitmap), ReadBytes(Paths.htmlFolder + "plan.bmp"));
    EXPECT_FALSE(PathExists(Paths.htmlFolder + "bare.bmp"));
    EXPECT_EQ("1", HtmlValue("Rows"));
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), GetCursor());
}

// The default page's folder loses only what the last export to it wrote.
TEST_F(HtmlExportTest, DefaultPageRemovesOnlyWhatTheLastExportWrote) {
    ScratchFolder first, second;
    ASSERT_TRUE(WriteBytes(first.file("a.dwg"), DrawingWithPreview(20, 10, 0xFF0000)));
    ASSERT_TRUE(WriteBytes(second.file("b.dwg"), DrawingWithPreview(20, 10, 0x00FF00)));
    ASSERT_TRUE(WriteBytes(Paths.htmlFolder + "note.txt", "mine"));
    for (const ScratchFolder* folder : {&first, &second}) {
        ListFolder(Unslashed(folder->path()));
        DialogAnswerer answers;
        RunDialog(answers, Confirm(ID_HTML_LAYOUT1));
        EXPECT_EQ("mine", ReadBytes(Paths.htmlFolder + "note.txt"));
    }
    EXPECT_FALSE(PathExists(Paths.htmlFolder + "a.bmp")) << "the first export's picture";
    EXPECT_TRUE(PathExists(Paths.htmlFolder + "b.bmp"));
}

TEST_F(HtmlExportTest, GridOfTheSelectedRowsWithACustomHeader) {
    ScratchFolder folder;
    for (const char* name : {"a.dwg", "b.dwg", "c.dwg", "d.dwg", "e.dwg"})
        ASSERT_TRUE(WriteBytes(folder.file(name), DrawingWithPreview(8, 8, 0x00FF00)));
    ASSERT_TRUE(WriteBytes(Paths.htmlFolder + "stale.htm", "left from before"));
    ListFolder(Unslashed(folder.path()));
    for (int row : {0, 2, 3, 4})
        ListView_SetItemState(Win.list, row, LVIS_SELECTED, LVIS_SELECTED);
    DialogAnswerer answers;
    RunDialog(answers, Confirm(ID_HTML_LAYOUT3, [](HWND dlg) {
                  // The default page typed in another case is still the default page.
                  SetWindowTextA(DialogControl(dlg, ID_HTML_FILENAME), "kvxhtml.HTM");
                  SendMessageA(DialogControl(dlg, ID_HTML_CUSTOM_HEADER), BM_CLICK, 0, 0);
                  SetWindowTextA(DialogControl(dlg, ID_HTML_CUSTOM_HEADER_TEXT), "Site & <plans>");
                  SendMessageA(DialogControl(dlg, 220), BM_CLICK, 0, 0); // no version
              }));
    ListView_SetItemState(Win.list, -1, 0, LVIS_SELECTED);

    ASSERT_EQ(1u, OpenedPages.size());
    EXPECT_EQ("left from before", ReadBytes(Paths.htmlFolder + "stale.htm")) << "not Korvex's";
    std::string page = ReadBytes(OpenedPages[0]);
    EXPECT_TRUE(Has(page, "<th colspan=\"3\"><font face=\"" + HtmlEscape(HtmlOptions.font) +
                              "\">Site &amp; &lt;plans&gt;</font></th>"));
    EXPECT_FALSE(Has(page, "b.dwg"));
    EXPECT_EQ(4, Count(page, "<img border=\"0\""));
    EXPECT_EQ(0, Count(page, "Ver. "));
    EXPECT_EQ(4, Count(page, "&nbsp;A\r\n")) << "attributes follow a blank";
    EXPECT_EQ(2, Count(page, "\r\n      &nbsp;\r\n")) << "a row of 3 and a row of 1 + 2 fillers";
    EXPECT_FALSE(PathExists(Paths.htmlFolder + "b.bmp"));
    EXPECT_EQ("TRUE", HtmlValue("UseCustomHeader"));
    EXPECT_EQ("Site & <plans>", HtmlValue("CustomHeader"));
    EXPECT_EQ("FALSE", HtmlValue("ShowHVersion"));
    EXPECT_EQ("3", HtmlValue("Rows"));
}

TEST_F(HtmlExportTest, PageElsewhereLeavesOtherFilesAlone) {
    ScratchFolder folder, target;
    ASSERT_TRUE(WriteBytes(folder.file("R&D #1 50%.dwg"), DrawingWithPreview(8, 8, 0x0000FF)));
    ASSERT_TRUE(WriteBytes(folder.file("blocked.dwg"), DrawingWithPreview(8, 8, 0x0000FF)));
    ASSERT_TRUE(CreateDirectoryA(target.file("blocked.bmp").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(target.file("keep.txt"), "mine"));
    ASSERT_TRUE(WriteBytes(Paths.htmlFolder + "keep.bmp", "mine"));
    ListFolder(Unslashed(folder.path()));
    DialogAnswerer answers;
    RunDialog(answers, Confirm(ID_HTML_LAYOUT4, [&](HWND dlg) {
                  SetWindowTextA(DialogControl(dlg, ID_HTML_FOLDER),
                                 Unslashed(target.path()).c_str());
                  SetWindowTextA(DialogControl(dlg, ID_HTML_FILENAME), "catalogue"); // + .htm
              }));
    ASSERT_EQ(std::vector<std::string>{target.file("catalogue.htm")}, OpenedPages);
    EXPECT_EQ("mine", ReadBytes(target.file("keep.txt")));
    EXPECT_EQ("mine", ReadBytes(Paths.htmlFolder + "keep.bmp"));
    std::string page = ReadBytes(target.file("catalogue.htm"));
    EXPECT_TRUE(PathExists(target.file("r&d #1 50%.bmp")));
    EXPECT_TRUE(Has(page, "src=\"r&amp;d%20%231%2050%25.bmp\" alt=\"R&amp;D #1 50%.dwg\""));
    EXPECT_TRUE(Has(page, "R&amp;D #1 50%.dwg<br>"));
    // A picture that cannot be written leaves its drawing without one.
    EXPECT_TRUE(Has(page, "<a href=\"" + FileUrl(folder.file("blocked.dwg")) +
                              "\"><b>No Preview</b></a>\r\n"));
    EXPECT_FALSE(Has(page, "alt=\"blocked.dwg\""));
    DeleteFileA((Paths.htmlFolder + "keep.bmp").c_str());
}

TEST_F(HtmlExportTest, DrawingsDifferingOnlyInExtensionKeepTheirOwnPictures) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBytes(folder.file("plan.dwg"), DrawingWithPreview(12, 6, 0xFF0000)));
    ASSERT_TRUE(WriteBytes(folder.file("plan.bak"), DrawingWithPreview(6, 12, 0x0000FF)));
    ASSERT_TRUE(WriteBytes(folder.file("plan.sv$"), MakeDrawingWithoutImages("AC1015")));
    SelectExtension("ALL TYPES");
    ListFolder(Unslashed(folder.path()));
    std::vector<std::string> names;
    for (int row = 0; row < RowCount(Win.list); ++row)
        names.push_back(RowText(Win.list, row, 2));
    ASSERT_EQ(3u, names.size());
    DialogAnswerer answers;
    RunDialog(answers, Confirm(ID_HTML_LAYOUT1));
    SelectExtension(".DWG");

    std::string page = ReadBytes(Paths.htmlFile);
    std::vector<std::string> images = {"plan.bmp", "plan_2.bmp"};
    size_t shown = 0;
    for (const std::string& name : names) {
        if (name == "plan.sv$") continue;
        std::string image = images[shown++];
        EXPECT_TRUE(Has(page, "src=\"" + image + "\" alt=\"" + name + "\"")) << name;
        ExtractPreview(folder.file(name));
        EXPECT_EQ(ReadBytes(Paths.previewBitmap), ReadBytes(Paths.htmlFolder + image)) << name;
    }
    EXPECT_FALSE(PathExists(Paths.htmlFolder + "plan_3.bmp"));
}

TEST_F(HtmlExportTest, PageThatCannotBeWrittenIsReportedAndTheDialogStaysOpen) {
    ScratchFolder folder, target;
    ASSERT_TRUE(WriteBytes(folder.file("plan.dwg"), DrawingWithPreview(8, 8, 0xFF0000)));
    ListFolder(Unslashed(folder.path()));
    // An empty file name makes the page path the folder itself; a page on a
    // full device fails while it is written.
    UnixRun link =
        RunUnixCommand("ln -s /dev/full " + ShellQuote(UnixPath(target.path()) + "full.htm"));
    ASSERT_TRUE(link.finished && link.status == 0) << link.output;
    for (const char* fileName : {"", "full.htm"}) {
        DialogAnswerer answers;
        std::string left;
        answers.Add(ConfirmThenCancel(ID_HTML_LAYOUT1, left, [&](HWND dlg) {
            SetWindowTextA(DialogControl(dlg, ID_HTML_FOLDER), target.path().c_str());
            SetWindowTextA(DialogControl(dlg, ID_HTML_FILENAME), fileName);
        }));
        answers.Add([](HWND box) { ClickButton(box, IDOK); });
        OpenDialog();
        ASSERT_EQ(2, answers.Answered()) << fileName;
        EXPECT_EQ("Error", answers.Seen(1).caption);
        EXPECT_EQ("Can't open file " + target.path() + fileName, answers.Seen(1).text);
        EXPECT_EQ(fileName, left) << "open, as typed";
        EXPECT_TRUE(OpenedPages.empty()) << fileName;
        EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), GetCursor());
    }
    EXPECT_TRUE(IsWindow(Win.main));
    RunUnixCommand("rm " + ShellQuote(UnixPath(target.path()) + "full.htm")); // a link to a device
}

TEST_F(HtmlExportTest, NoRowsToExportAreToldAndWriteNoPage) {
    ScratchFolder empty, folder;
    ASSERT_TRUE(WriteBytes(folder.file("plan.dwg"), DrawingWithPreview(8, 8, 0xFF0000)));
    // An empty list, and rows of which none is selected.
    for (const ScratchFolder* listed : {&empty, &folder}) {
        ListFolder(Unslashed(listed->path()));
        DialogAnswerer answers;
        std::string left;
        answers.Add(ConfirmThenCancel(ID_HTML_LAYOUT4, left, [](HWND dlg) {
            SendMessageA(DialogControl(dlg, ID_HTML_SELECTED_FILES), BM_CLICK, 0, 0);
        }));
        answers.Add([](HWND box) { ClickButton(box, IDOK); });
        OpenDialog();
        ASSERT_EQ(2, answers.Answered());
        EXPECT_EQ("There are no files to export.", answers.Seen(1).text);
        EXPECT_EQ("KvxHtml.htm", left);
        EXPECT_TRUE(OpenedPages.empty());
    }
}

TEST_F(HtmlExportTest, OkPressedAgainDuringTheRunStartsNoSecondRun) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBytes(folder.file("plan.dwg"), DrawingWithPreview(8, 8, 0xFF0000)));
    ListFolder(Unslashed(folder.path()));
    DialogAnswerer answers;
    RunDialog(answers, Confirm(ID_HTML_LAYOUT1, [](HWND dlg) {
                  // Seen when the run pumps messages.
                  PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(ID_HTML_OK, BN_CLICKED),
                               reinterpret_cast<LPARAM>(GetDlgItem(dlg, ID_HTML_OK)));
              }));
    EXPECT_EQ(1u, OpenedPages.size());
}

TEST_F(HtmlExportTest, FilesKorvexDidNotWriteAreReplacedOnlyOnYes) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBytes(folder.file("plan.dwg"), DrawingWithPreview(12, 6, 0xFF0000)));
    ASSERT_TRUE(WriteBytes(folder.file("bare.dwg"), MakeDrawingWithoutImages("AC1015")));
    ListFolder(Unslashed(folder.path()));
    for (int answer : {IDNO, IDCANCEL, IDYES}) {
        ScratchFolder target;
        for (const char* name : {"index.htm", "plan.bmp", "bare.bmp"})
            ASSERT_TRUE(WriteBytes(target.file(name), "mine"));
        auto intoIndex = [&target](HWND dlg) {
            SetWindowTextA(DialogControl(dlg, ID_HTML_FOLDER), target.path().c_str());
            SetWindowTextA(DialogControl(dlg, ID_HTML_FILENAME), "index.htm");
        };
        OpenedPages.clear();
        std::string left;
        {
            DialogAnswerer answers;
            answers.Add(ConfirmThenCancel(ID_HTML_LAYOUT1, left, intoIndex));
            answers.Add([&](HWND box) { ClickButton(box, answer); });
            OpenDialog();
            ASSERT_EQ(2, answers.Answered());
            // Not the picture of a drawing that has none.
            EXPECT_EQ("These files are already in the folder and were not written by Korvex:"
                      "\r\n\r\nindex.htm\r\nplan.bmp\r\n\r\nWould you like to overwrite them?",
                      answers.Seen(1).text);
        }
        EXPECT_EQ("mine", ReadBytes(target.file("bare.bmp")));
        if (answer != IDYES) {
            EXPECT_EQ("index.htm", left);
            EXPECT_EQ("mine", ReadBytes(target.file("index.htm")));
            EXPECT_EQ("mine", ReadBytes(target.file("plan.bmp")));
            EXPECT_TRUE(OpenedPages.empty());
            continue;
        }
        ExtractPreview(folder.file("plan.dwg"));
        EXPECT_EQ(ReadBytes(Paths.previewBitmap), ReadBytes(target.file("plan.bmp")));
        // What Korvex wrote there is its own: the next run asks nothing.
        DialogAnswerer again;
        again.Add(Confirm(ID_HTML_LAYOUT1, intoIndex));
        OpenDialog();
        EXPECT_EQ(2u, OpenedPages.size());
    }
}

TEST_F(HtmlExportTest, ProgressCountsPast65535Files) {
    ScratchFolder empty, target;
    ListFolder(Unslashed(empty.path()));
    const int rows = 66000;
    SendMessageA(Win.list, WM_SETREDRAW, FALSE, 0);
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<char*>("x.dwg");
    for (int i = 0; i < rows; ++i) {
        item.iItem = i;
        SendMessageA(Win.list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr,
                                 nullptr, nullptr);
    HWND progress = CreateProgressBar(owner, 1, 0, 0, 100, 10, WS_CHILD);
    HtmlExportRequest request;
    request.htmlFolder = target.path();
    request.pagePath = target.file("many.htm");
    request.layout = 1;
    for (bool& on : request.show)
        on = false;
    HtmlOptions.showHeader = "FALSE";
    ExportHtml(request, progress);
    PBRANGE range = {};
    SendMessageA(progress, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(rows, range.iHigh);
    EXPECT_EQ(rows - 1, SendMessageA(progress, PBM_GETPOS, 0, 0));
    EXPECT_EQ(rows + 1, Count(ReadBytes(request.pagePath), "<tr>\r\n")) << "every row written";
    DestroyWindow(owner);
    SendMessageA(Win.list, LVM_DELETEALLITEMS, 0, 0);
    SendMessageA(Win.list, WM_SETREDRAW, TRUE, 0);
}
