#include "tests/export/html_export_fixture.h"

#include <commctrl.h>

#include "export/html_export.h"
#include "export/html_options.h"
#include "runtime/app_state.h"
#include "runtime/ids.h"
#include "runtime/win_helpers.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/main_window_start.h"
#include "tests/support/pump_until.h"
#include "ui/tree_pane.h"

std::vector<std::string> OpenedPages;
ScratchFolder* HtmlExportTest::home = nullptr;

static void RecordPage(const std::string& page) {
    OpenedPages.push_back(page);
}

void HtmlExportTest::SetUpTestSuite() {
    OpenExportedPage = RecordPage;
    home = new ScratchFolder;
    ASSERT_TRUE(StartMainWindow(*home));
}

void HtmlExportTest::TearDownTestSuite() {
    CloseMainWindow();
    delete home;
    home = nullptr;
}

void HtmlExportTest::SetUp() {
    ASSERT_TRUE(Win.main && IsWindow(Win.main));
    OpenedPages.clear();
    HtmlOptions = HtmlSettings();
    HtmlOptions.layout = 0; // as at start-up: nothing read yet
    WritePrivateProfileStringA("HTML", nullptr, nullptr, Paths.settingsFile.c_str());
    SelectExtension(".DWG");
}

static std::string StatusText() {
    char buf[1024] = {};
    LRESULT length = SendMessageA(Win.status, SB_GETTEXTLENGTHA, 0, 0);
    if (LOWORD(length) >= sizeof buf) return std::string();
    SendMessageA(Win.status, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(buf));
    return buf;
}

void HtmlExportTest::ListFolder(const std::string& folder) {
    SendMessageA(Win.status, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(""));
    NavigateTo(folder);
    ASSERT_TRUE(PumpUntil([] {
        return !ListingActive && StatusText().find("Total Object(s) Found") != std::string::npos;
    })) << "no listing of "
        << folder;
}

void HtmlExportTest::SelectExtension(const std::string& text) {
    LRESULT index = SendMessageA(Win.extensionBox, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(Win.extensionBox, CB_SETCURSEL, index, 0);
}

void HtmlExportTest::RunDialog(DialogAnswerer& answers, std::function<void(HWND dialog)> answer) {
    answers.Add(std::move(answer));
    OpenDialog();
}

void HtmlExportTest::OpenDialog() {
    SendMessageA(Win.main, WM_COMMAND, MAKEWPARAM(IDM_EXPORT_HTML, 0), 0);
}

namespace {
struct FindById {
    int id;
    HWND found;
};
BOOL CALLBACK MatchId(HWND wnd, LPARAM data) {
    auto* find = reinterpret_cast<FindById*>(data);
    if (GetDlgCtrlID(wnd) != find->id) return TRUE;
    find->found = wnd;
    return FALSE;
}
} // namespace

HWND HtmlExportTest::Control(HWND dialog, int id) {
    return DialogControl(dialog, id);
}

HWND DialogControl(HWND dialog, int id) {
    FindById find = {id, nullptr};
    EnumChildWindows(dialog, MatchId, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

void HtmlExportTest::Click(HWND dialog, int id) {
    HWND button = Control(dialog, id);
    ASSERT_NE(nullptr, button) << id;
    SendMessageA(button, BM_CLICK, 0, 0);
}

bool HtmlExportTest::Checked(HWND dialog, int id) {
    return SendMessageA(Control(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string HtmlExportTest::HtmlValue(const std::string& key) {
    char value[2048] = "";
    GetPrivateProfileStringA("HTML", key.c_str(), "<absent>", value, sizeof value,
                             Paths.settingsFile.c_str());
    return value;
}

std::string DrawingWithPreview(int width, int height, uint32_t color) {
    DibRecipe recipe;
    recipe.width = width;
    recipe.height = height;
    recipe.palette = DrawingPalette();
    recipe.palette[5] = color;
    recipe.color = [color](int x, int y) { return (x + y) % 3 ? color : 0xFFFFFFu; };
    return MakeDrawing("AC1015", {{2, MakeDib(recipe)}});
}
