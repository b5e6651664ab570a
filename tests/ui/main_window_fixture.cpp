#include "tests/ui/main_window_fixture.h"

#include <commctrl.h>

#include "filelist/file_list_build.h"
#include "filelist/list_rows.h"
#include "runtime/app_state.h"
#include "runtime/handles.h"
#include "settings/settings_file.h"
#include "tests/support/main_window_start.h"
#include "tests/support/pump_until.h"
#include "ui/main_window.h"
#include "ui/tree_pane.h"

ScratchFolder* MainWindowTest::settingsHome = nullptr;

void MainWindowTest::SetUpTestSuite() {
    settingsHome = new ScratchFolder;
    ASSERT_TRUE(StartMainWindow(*settingsHome));
    ASSERT_TRUE(
        PumpUntil([] { return StatusText(0).find("Total Object(s) Found") != std::string::npos; }));
}

void MainWindowTest::TearDownTestSuite() {
    CloseMainWindow();
    delete settingsHome;
    settingsHome = nullptr;
}

void MainWindowTest::SetUp() {
    ASSERT_TRUE(Win.main && IsWindow(Win.main));
}

void MainWindowTest::ListFolder(const std::string& folder) {
    SendMessageA(Win.status, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(""));
    NavigateTo(folder);
    ASSERT_TRUE(PumpUntil([] {
        return !ListingActive && StatusText(0).find("Total Object(s) Found") != std::string::npos;
    })) << "no listing of "
        << folder;
}

void MainWindowTest::Relist() {
    BuildFileList();
}

void MainWindowTest::SelectExtension(const std::string& text) {
    LRESULT index = SendMessageA(Win.extensionBox, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(Win.extensionBox, CB_SETCURSEL, index, 0);
}

std::string MainWindowTest::StatusText(int part) {
    char buf[1024] = {};
    LRESULT length = SendMessageA(Win.status, SB_GETTEXTLENGTHA, part, 0);
    if (LOWORD(length) >= sizeof buf) return std::string();
    SendMessageA(Win.status, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(buf));
    return buf;
}

std::string MainWindowTest::Title() {
    return WindowText(Win.main);
}

std::vector<std::string> MainWindowTest::Column(int column) {
    std::vector<std::string> texts;
    int n = static_cast<int>(SendMessageA(Win.list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i)
        texts.push_back(WholeRowText(Win.list, i, column));
    return texts;
}

int MainWindowTest::RowImage(int row, int column) {
    auto image = [&] {
        LVITEMA item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        item.iSubItem = column;
        SendMessageA(Win.list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return item.iImage;
    };
    // A thumbnail is made once its row is asked for: until then the row
    // shows the image of a row without one, which no drawing keeps.
    int shown = image();
    if (Settings.showColumn[1] == "TRUE")
        PumpUntil([&] { return (shown = image()) != Thumbs.noPreview; });
    return shown;
}

int MainWindowTest::ImageCount() {
    return ImageList_GetImageCount(Thumbs.images);
}

uint32_t MainWindowTest::ImageCentre(int image) {
    SIZE size = ImageSize();
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof bi.bmiHeader, size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    GdiObject<HBITMAP> canvas(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDC dc;
    dc.select(canvas.get());
    if (!bits || !ImageList_Draw(Thumbs.images, image, dc.get(), 0, 0, ILD_NORMAL)) return ~0u;
    GdiFlush();
    return static_cast<uint32_t*>(bits)[size.cy / 2 * size.cx + size.cx / 2] & 0xFFFFFF;
}

SIZE MainWindowTest::ImageSize() {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(Thumbs.images, &cx, &cy);
    return SIZE{cx, cy};
}
