// The HTML options dialog, opened from the main menu of the real main window.
#include <windows.h>
#include <commctrl.h>

#include "export/font_picker.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/ids.h"
#include "runtime/win_helpers.h"
#include "tests/export/html_export_fixture.h"
#include "tests/support/dwg_builder.h"

namespace {

// Position and size of a control in its parent's client area.
RECT PlaceOf(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return RECT{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

TEST_F(HtmlExportTest, DialogShowsItsControlsWithTheirDefaults) {
    ScratchFolder folder;
    for (const char* name : {"a.dwg", "b.dwg", "c.dwg"})
        ASSERT_TRUE(WriteBytes(folder.file(name), DrawingWithPreview(8, 8, 0x0000FF)));
    ListFolder(Unslashed(folder.path()));
    DialogAnswerer answers;
    RunDialog(answers, [&](HWND dlg) {
        EXPECT_EQ("HTML Options", WindowText(dlg));
        RECT frame;
        GetWindowRect(dlg, &frame);
        EXPECT_EQ(406, frame.right - frame.left);
        EXPECT_EQ(GetSystemMetrics(SM_CYSIZE) + 515, frame.bottom - frame.top);
        struct Expected {
            int id, parent;
            const char* text;
            RECT place; // x, y, width, height
        } table[] = {
            {232, 0, "Files To Export", {5, 5, 390, 75}},
            {233, 232, "All 3 Displayed File(s) From Current Directory", {5, 20, 370, 20}},
            {234, 232, "Only 0 Selected File(s) From Current Directory", {5, 45, 370, 20}},
            {226, 0, "File Options", {5, 85, 390, 75}},
            {229, 226, "KvxHtml.htm", {90, 20, 260, 20}},
            {231, 226, "...", {350, 45, 25, 20}},
            {248, 0, "Title Option", {5, 165, 390, 50}},
            {250, 248, "Korvex HTML Output", {35, 20, 245, 20}},
            {251, 248, "Restore Default", {280, 20, 95, 20}},
            {240, 0, "Header Options", {5, 220, 390, 100}},
            {241, 240, "Display Header On First Page", {5, 20, 300, 20}},
            {243, 240, "Custom Header", {5, 70, 100, 20}},
            {210, 0, "Format Options", {5, 325, 190, 140}},
            {211, 210, "", {10, 20, 64, 48}},
            {215, 210, "4 Files Per Row", {80, 111, 95, 20}},
            {216, 210, "3 Files Per Row", {80, 79, 95, 20}},
            {217, 0, "Display Options", {200, 325, 195, 140}},
            {223, 217, "Attributes", {105, 80, 80, 20}},
            {224, 217, "Font", {10, 112, 30, 20}},
            {246, 0, "", {5, 467, 390, 10}},
            {238, 0, "OK", {120, 480, 80, 25}},
            {239, 0, "Cancel", {210, 480, 80, 25}},
        };
        for (const Expected& e : table) {
            HWND control = Control(dlg, e.id);
            ASSERT_NE(nullptr, control) << e.id;
            EXPECT_EQ(e.parent ? Control(dlg, e.parent) : dlg, GetParent(control)) << e.id;
            EXPECT_EQ(e.text, WindowText(control)) << e.id;
            RECT p = PlaceOf(control);
            EXPECT_TRUE(EqualRect(&p, &e.place))
                << e.id << ": " << p.left << "," << p.top << " " << p.right << "x" << p.bottom;
        }
        // Every label, check box and radio button shows its whole text on one
        // line, whatever the font (under Wine it is wider than the layout's).
        for (int id : {ID_HTML_FILENAME_LABEL, ID_HTML_FOLDER_LABEL, ID_HTML_TITLE_LABEL,
                       ID_HTML_SHOW_HEADER, ID_HTML_FOLDER_HEADER, ID_HTML_CUSTOM_HEADER,
                       ID_HTML_LAYOUT1, ID_HTML_LAYOUT3, ID_HTML_LAYOUT4, ID_HTML_SHOW_PREVIEW,
                       ID_HTML_SHOW_PREVIEW + 5, ID_HTML_FONT_LABEL}) {
            HWND control = Control(dlg, id);
            RECT client;
            GetClientRect(control, &client);
            char cls[16] = {};
            GetClassNameA(control, cls, sizeof cls);
            int glyph = lstrcmpiA(cls, "Button") == 0 ? GetSystemMetrics(SM_CXMENUCHECK) + 6 : 0;
            EXPECT_LE(TextExtent(control, WindowText(control)).cx + glyph, client.right)
                << WindowText(control);
        }
        EXPECT_EQ(Paths.tempFolder + "KvxHtml", WindowText(Control(dlg, ID_HTML_FOLDER)));
        EXPECT_EQ(CurrentFolder(), WindowText(Control(dlg, ID_HTML_FOLDER_HEADER_TEXT)));
        // Defaults of a settings file without an [HTML] section.
        for (int id : {233, 241, 242, 215, 218, 219, 220, 221, 222, 223})
            EXPECT_TRUE(Checked(dlg, id)) << id;
        for (int id : {234, 243, 214, 216})
            EXPECT_FALSE(Checked(dlg, id)) << id;
        EXPECT_TRUE(IsWindowVisible(Control(dlg, ID_HTML_GRID4_PICTURE)));
        EXPECT_FALSE(IsWindowVisible(Control(dlg, ID_HTML_GRID3_PICTURE)));
        EXPECT_FALSE(IsWindowVisible(Control(dlg, ID_HTML_PROGRESS)));
        // Only the group boxes whose buttons act are subclassed.
        for (int id : {226, 248, 210})
            EXPECT_NE(nullptr, GetPropA(Control(dlg, id), "GRPCB")) << id;
        for (int id : {232, 240, 217})
            EXPECT_EQ(nullptr, GetPropA(Control(dlg, id), "GRPCB")) << id;
        EXPECT_EQ(Control(dlg, ID_HTML_OK), GetFocus());
        EXPECT_TRUE(GetWindowLongA(Control(dlg, ID_HTML_OK), GWL_STYLE) & BS_DEFPUSHBUTTON);
        // The font picker selects the first face that begins with the setting.
        HWND picker = FindWindowExA(Control(dlg, 217), nullptr, kFontPickerClass, nullptr);
        ASSERT_NE(nullptr, picker);
        HWND combo = GetDlgItem(picker, 1);
        LRESULT times = SendMessageA(combo, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>("Times New Roman"));
        EXPECT_EQ(times, SendMessageA(combo, CB_GETCURSEL, 0, 0));
        // Pictures follow the grid buttons; "1 File Per Row" leaves them.
        Click(dlg, ID_HTML_LAYOUT3);
        EXPECT_TRUE(IsWindowVisible(Control(dlg, ID_HTML_GRID3_PICTURE)));
        EXPECT_FALSE(IsWindowVisible(Control(dlg, ID_HTML_GRID4_PICTURE)));
        Click(dlg, ID_HTML_LAYOUT1);
        EXPECT_TRUE(IsWindowVisible(Control(dlg, ID_HTML_GRID3_PICTURE)));
        Click(dlg, ID_HTML_LAYOUT4);
        EXPECT_TRUE(IsWindowVisible(Control(dlg, ID_HTML_GRID4_PICTURE)));
        EXPECT_FALSE(IsWindowVisible(Control(dlg, ID_HTML_GRID3_PICTURE)));
        // Restore Default puts the title back and hands the default to OK.
        SetWindowTextA(Control(dlg, ID_HTML_TITLE), "Mine");
        Click(dlg, ID_HTML_RESTORE_TITLE);
        EXPECT_EQ("Korvex HTML Output", WindowText(Control(dlg, ID_HTML_TITLE)));
        EXPECT_EQ(Control(dlg, ID_HTML_OK), GetFocus());
        EXPECT_FALSE(GetWindowLongA(Control(dlg, ID_HTML_RESTORE_TITLE), GWL_STYLE) &
                     BS_DEFPUSHBUTTON);
        ClickButton(dlg, ID_HTML_CANCEL);
    });
    EXPECT_EQ(1, answers.Answered());
    EXPECT_EQ("<absent>", HtmlValue("Rows")) << "Cancel saves nothing";
    EXPECT_TRUE(OpenedPages.empty());
}

TEST_F(HtmlExportTest, DialogPreselectsTheSelectedFilesAndTheStoredChoices) {
    ScratchFolder folder;
    for (const char* name : {"a.dwg", "b.dwg", "c.dwg"})
        ASSERT_TRUE(WriteBytes(folder.file(name), DrawingWithPreview(8, 8, 0x0000FF)));
    ListFolder(Unslashed(folder.path()));
    const std::string& ini = Paths.settingsFile;
    WritePrivateProfileStringA("HTML", "Rows", "3", ini.c_str());
    WritePrivateProfileStringA("HTML", "ShowHSize", "FALSE", ini.c_str());
    WritePrivateProfileStringA("HTML", "ShowHDate", "false", ini.c_str());
    WritePrivateProfileStringA("HTML", "ShowHeader", "FALSE", ini.c_str());
    WritePrivateProfileStringA("HTML", "UseCustomHeader", "TRUE", ini.c_str());
    WritePrivateProfileStringA("HTML", "CustomHeader", "Site plans", ini.c_str());
    WritePrivateProfileStringA("HTML", "Font", "No Such Face", ini.c_str());

    struct Case {
        int selected, checked;
    } cases[] = {{1, ID_HTML_SELECTED_FILES}, {3, ID_HTML_ALL_FILES}};
    for (const Case& c : cases) {
        ListView_SetItemState(Win.list, -1, 0, LVIS_SELECTED);
        for (int row = 0; row < c.selected; ++row)
            ListView_SetItemState(Win.list, row, LVIS_SELECTED, LVIS_SELECTED);
        DialogAnswerer answers;
        RunDialog(answers, [&](HWND dlg) {
            EXPECT_TRUE(Checked(dlg, c.checked)) << c.selected;
            EXPECT_EQ("Only " + std::to_string(c.selected) +
                          " Selected File(s) From Current Directory",
                      WindowText(Control(dlg, ID_HTML_SELECTED_FILES)));
            EXPECT_TRUE(Checked(dlg, ID_HTML_LAYOUT3));
            EXPECT_TRUE(IsWindowVisible(Control(dlg, ID_HTML_GRID3_PICTURE)));
            EXPECT_FALSE(Checked(dlg, 221)) << "ShowHSize=FALSE";
            EXPECT_TRUE(Checked(dlg, 222)) << "lower-case false counts as TRUE";
            EXPECT_FALSE(Checked(dlg, ID_HTML_SHOW_HEADER));
            EXPECT_TRUE(Checked(dlg, ID_HTML_CUSTOM_HEADER));
            EXPECT_FALSE(Checked(dlg, ID_HTML_FOLDER_HEADER));
            EXPECT_EQ("Site plans", WindowText(Control(dlg, ID_HTML_CUSTOM_HEADER_TEXT)));
            HWND picker = FindWindowExA(Control(dlg, 217), nullptr, kFontPickerClass, nullptr);
            EXPECT_EQ("", WindowText(picker)) << "an unknown font selects nothing";
            ClickButton(dlg, ID_HTML_CANCEL);
        });
    }
    ListView_SetItemState(Win.list, -1, 0, LVIS_SELECTED);
}

TEST_F(HtmlExportTest, UnknownRowsSaveOneAndWriteNoPage) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBytes(folder.file("a.dwg"), DrawingWithPreview(8, 8, 0x0000FF)));
    ListFolder(Unslashed(folder.path()));
    WritePrivateProfileStringA("HTML", "Rows", "2", Paths.settingsFile.c_str());
    WritePrivateProfileStringA("HTML", "UseCustomExport", "TRUE", Paths.settingsFile.c_str());
    WritePrivateProfileStringA("HTML", "CustomExport", "anything", Paths.settingsFile.c_str());
    WritePrivateProfileStringA("HTML", "Font", "No Such Face", Paths.settingsFile.c_str());
    DeleteFileA(Paths.htmlFile.c_str());
    DialogAnswerer answers;
    RunDialog(answers, [&](HWND dlg) {
        for (int id : {ID_HTML_LAYOUT1, ID_HTML_LAYOUT3, ID_HTML_LAYOUT4})
            EXPECT_FALSE(Checked(dlg, id)) << id;
        SetWindowTextA(Control(dlg, ID_HTML_TITLE), "Plans & <Sections>");
        ClickButton(dlg, ID_HTML_OK);
    });
    EXPECT_EQ(1, answers.Answered());
    EXPECT_EQ("1", HtmlValue("Rows"));
    EXPECT_EQ("anything", HtmlValue("CustomExport"));
    EXPECT_EQ("FALSE", HtmlValue("UseCustomExport"));
    EXPECT_EQ("Times New Roman", HtmlValue("Font"));
    EXPECT_EQ("Plans & <Sections>", HtmlValue("sHtmlTitle"));
    EXPECT_EQ("TRUE", HtmlValue("ShowHPreview"));
    EXPECT_EQ("FALSE", HtmlValue("UseCustomHeader"));
    EXPECT_TRUE(OpenedPages.empty());
    EXPECT_FALSE(PathExists(Paths.htmlFile));
}

TEST_F(HtmlExportTest, MissingFoldersAreReportedAndTheDialogStays) {
    ScratchFolder folder, gone;
    ASSERT_TRUE(WriteBytes(folder.file("a.dwg"), DrawingWithPreview(8, 8, 0x0000FF)));
    ASSERT_TRUE(WriteBytes(gone.file("a.dwg"), DrawingWithPreview(8, 8, 0x0000FF)));
    ListFolder(Unslashed(gone.path()));
    SetCurrentDirectoryA(folder.path().c_str()); // the listing made it the working folder
    RemoveTree(gone.path());
    ASSERT_FALSE(PathExists(Unslashed(gone.path())));
    DialogAnswerer answers;
    answers.Add([&](HWND dlg) {
        SetWindowTextA(Control(dlg, ID_HTML_FOLDER), (folder.path() + "nowhere").c_str());
        ClickButton(dlg, ID_HTML_OK);
        EXPECT_TRUE(IsWindow(dlg));
        SetWindowTextA(Control(dlg, ID_HTML_FOLDER), folder.path().c_str());
        ClickButton(dlg, ID_HTML_OK);
        EXPECT_TRUE(IsWindow(dlg));
        EXPECT_EQ(folder.path(), WindowText(Control(dlg, ID_HTML_FOLDER))) << "entries kept";
        ClickButton(dlg, ID_HTML_CANCEL);
    });
    // The two message boxes open while the dialog's answer runs: answered next.
    answers.Add([](HWND box) { ClickButton(box, IDOK); });
    answers.Add([](HWND box) { ClickButton(box, IDOK); });
    OpenDialog();
    ASSERT_EQ(3, answers.Answered());
    EXPECT_EQ("Error", answers.Seen(1).caption);
    EXPECT_EQ("Invalid HTML Directory!", answers.Seen(1).text);
    EXPECT_EQ("Error", answers.Seen(2).caption);
    EXPECT_EQ("Invalid DWG Directory!", answers.Seen(2).text);
    EXPECT_EQ("<absent>", HtmlValue("Rows")) << "nothing saved";
    EXPECT_TRUE(OpenedPages.empty());
    ListFolder(Unslashed(folder.path()));
}

TEST_F(HtmlExportTest, BrowseButtonPicksTheHtmlFolder) {
    ScratchFolder target;
    DialogAnswerer answers;
    answers.Add([&](HWND dlg) {
        SetWindowTextA(Control(dlg, ID_HTML_FOLDER), Unslashed(target.path()).c_str());
        Click(dlg, ID_HTML_BROWSE);
        EXPECT_EQ(Unslashed(target.path()), WindowText(Control(dlg, ID_HTML_FOLDER)));
        EXPECT_EQ(Control(dlg, ID_HTML_OK), GetFocus());
        EXPECT_FALSE(GetWindowLongA(Control(dlg, ID_HTML_BROWSE), GWL_STYLE) & BS_DEFPUSHBUTTON);
        ClickButton(dlg, ID_HTML_CANCEL);
    });
    // The folder browser opens at the folder typed: taking it keeps it.
    answers.Add([](HWND browser) { ClickButton(browser, IDOK); });
    OpenDialog();
    EXPECT_EQ(2, answers.Answered());
}

TEST_F(HtmlExportTest, FontPickerTalksLikeAComboBox) {
    ASSERT_TRUE(RegisterFontPickerClass());
    HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                                 nullptr, nullptr);
    HWND picker = CreateWindowExA(0, kFontPickerClass, "", WS_CHILD | WS_VISIBLE, 10, 10, 140, 20,
                                  owner, reinterpret_cast<HMENU>(77), nullptr, nullptr);
    ASSERT_NE(nullptr, picker);
    HWND combo = GetDlgItem(picker, 1);
    EXPECT_EQ("", WindowText(picker));
    SendMessageA(picker, WM_KVX_FILL_FONTS, 0, 0);
    ASSERT_GT(SendMessageA(combo, CB_GETCOUNT, 0, 0), 0);
    std::string first(64, '\0');
    first.resize(static_cast<size_t>(
        SendMessageA(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(&first[0]))));
    SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(first.substr(0, 2).c_str()));
    EXPECT_EQ(first, WindowText(picker)) << "selected by its beginning";
    // Opening the list makes it 10 pixels wider than the widest entry measured.
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    int widest = static_cast<int>(GetWindowLongA(picker, 4));
    EXPECT_GT(widest, 0);
    EXPECT_EQ(widest + 10, SendMessageA(combo, CB_GETDROPPEDWIDTH, 0, 0));
    SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    // Its height is the closed combo box's.
    RECT outer, inner;
    GetWindowRect(picker, &outer);
    GetWindowRect(combo, &inner);
    EXPECT_EQ(inner.bottom - inner.top, outer.bottom - outer.top);
    DestroyWindow(owner);
}

} // namespace
