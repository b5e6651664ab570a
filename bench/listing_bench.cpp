// Measures full listings in the real main window: folders of 2,000 and of
// 100,000 drawings with 8-bit previews, each listed three times, against
// opening every drawing and reading its header in the same run. Thumbnails
// are made for the rows on screen: the time from the rows appearing to the
// first screen's thumbnails, and to a screen scrolled to, is measured after
// each listing, and checked: every row shown must show its own thumbnail.
// Each listing is followed by one with the Title, Author and Last Saved By
// columns shown, which reads every drawing's summary properties as well.
//   listing_bench [COUNT[@FOLDER]...] [png]
// The drawings are of release 2010 and carry summary properties; with "png"
// they are of release 2018 and carry their previews as PNG pictures, which the
// system's imaging component decodes. COUNT@FOLDER
// lists a folder made beforehand, holding drawing0.dwg to drawing<COUNT-1>.dwg:
// Wine makes a file in a folder of tens of thousands slowly.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "filelist/file_list_build.h"
#include "filelist/list_rows.h"
#include "filelist/row_thumbnails.h"
#include "runtime/app_state.h"
#include "runtime/file_facts.h"
#include "runtime/long_paths.h"
#include "runtime/win_helpers.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/main_window_start.h"
#include "tests/support/png_builder.h"
#include "tests/support/pump_until.h"
#include "tests/support/scratch_folder.h"

static std::string DrawingName(int i) {
    return "drawing" + std::to_string(i) + ".dwg";
}

// Opens every drawing and reads its first 64 bytes, as plainly as possible:
// what a listing cannot do without.
static int OpenEach(const std::string& folder, int count) {
    int opened = 0;
    char header[64];
    for (int i = 0; i < count; ++i) {
        HANDLE file = OpenForReading(folder + DrawingName(i));
        if (file == INVALID_HANDLE_VALUE) continue;
        DWORD got = 0;
        if (ReadFile(file, header, sizeof header, &got, nullptr) && got > 0) ++opened;
        CloseHandle(file);
    }
    return opened;
}

static std::string Drawing(bool png) {
    DibRecipe recipe;
    recipe.width = 256;
    recipe.height = 160;
    recipe.color = [](int x, int y) {
        return (x % 32 == 0 || y % 20 == 0) ? 0x000000u : (x + y) % 97 == 0 ? 0xFF0000u : 0xFFFFFFu;
    };
    std::string properties = PropertiesBlock(
        true, {"Ground floor plan", "", "A. Author", "plan", "", "B. Saver", "3", ""});
    if (!png)
        return WithPropertiesBlock(
            MakeDrawing("AC1024", {{1, std::string(80, 'h')}, {2, MakeDib(recipe)}}), properties,
            30);
    PngRecipe picture;
    picture.width = recipe.width;
    picture.height = recipe.height;
    picture.color = recipe.color;
    picture.palette = {0x000000, 0xFF0000, 0xFFFFFF};
    return WithPropertiesBlock(
        MakeDrawing("AC1032", {{1, std::string(80, 'h')}, {6, MakePng(picture)}}), properties, 30);
}

// Shows or hides the Title, Author and Last Saved By columns.
static void ShowPropertyColumns(bool show) {
    for (int c = 7; c <= 9; ++c) {
        Settings.showColumn[c] = show ? "TRUE" : "FALSE";
        SendMessageA(Win.list, LVM_SETCOLUMNWIDTH, c, show ? 100 : 0);
    }
}

// Rows whose Last Saved By column holds a text.
static int RowsWithProperties();

static int Rows() {
    return static_cast<int>(SendMessageA(Win.list, LVM_GETITEMCOUNT, 0, 0));
}

static int ImageOf(int row) {
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iSubItem = 1;
    SendMessageA(Win.list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

// How many rows on screen show their own image, a thumbnail or the
// placeholder of a drawing without a preview (not the image of a row still
// waiting), how many of those are thumbnails, and how many rows are on screen.
struct ScreenImages {
    int decided = 0, thumbnails = 0, onScreen = 0;
};

static ScreenImages ImagesOnScreen() {
    ScreenImages images;
    int top = static_cast<int>(SendMessageA(Win.list, LVM_GETTOPINDEX, 0, 0));
    images.onScreen =
        std::min(Rows() - top, static_cast<int>(SendMessageA(Win.list, LVM_GETCOUNTPERPAGE, 0, 0)));
    for (int row = top; row < top + images.onScreen; ++row) {
        int image = ImageOf(row);
        if (image != Thumbs.noPreview) ++images.decided;
        if (image > Thumbs.notSupported) ++images.thumbnails;
    }
    return images;
}

// Seconds until every row on screen shows its own image, the screen being
// drawn as the user would see it.
static double UntilScreenShown(ScreenImages& images) {
    LARGE_INTEGER start = Now();
    PumpUntil([&] {
        UpdateWindow(Win.list);
        images = ImagesOnScreen();
        return images.decided == images.onScreen;
    });
    return Seconds(start, Now());
}

static double PeakMegabytes() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakPagefileUsage / 1048576.0;
}

static int RowsWithProperties() {
    int n = 0;
    for (int row = 0; row < Rows(); ++row)
        n += !RowText(Win.list, row, 9).empty();
    return n;
}

int main(int argc, char** argv) {
    std::vector<int> counts;
    std::vector<std::string> madeFolders;
    bool png = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "png") {
            png = true;
            continue;
        }
        counts.push_back(std::atoi(arg.c_str()));
        size_t at = arg.find('@');
        madeFolders.push_back(at == std::string::npos ? std::string() : arg.substr(at + 1));
    }
    if (counts.empty()) counts = {2000, 100000}, madeFolders.resize(2);
    std::string drawing = Drawing(png);
    ScratchFolder home;
    if (!StartMainWindow(home)) return 1;
    // A window of a common size: a screen of rows to show.
    SetWindowPos(Win.main, nullptr, 0, 0, 1200, 900, SWP_NOZORDER);
    std::printf("machine load before: %s\n", MachineLoad().c_str());

    for (size_t c = 0; c < counts.size(); ++c) {
        int count = counts[c];
        ScratchFolder scratch;
        std::string folder =
            madeFolders[c].empty() ? scratch.path() : WithTrailingBackslash(madeFolders[c]);
        if (madeFolders[c].empty())
            for (int i = 0; i < count; ++i)
                WriteBytes(scratch.file(DrawingName(i)), drawing);
        SetCurrentFolder(Unslashed(folder));

        std::vector<double> listings, firstScreens, scrolledScreens, propertyListings;
        int withProperties = 0;
        ScreenImages first, scrolled;
        int rows = 0;
        for (int run = 0; run < 3; ++run) {
            listings.push_back(TimeOf(BuildFileList));
            rows = Rows();
            firstScreens.push_back(UntilScreenShown(first));
            SendMessageA(Win.list, LVM_ENSUREVISIBLE, rows / 2 + run * 37, FALSE);
            scrolledScreens.push_back(UntilScreenShown(scrolled));
            SendMessageA(Win.list, LVM_ENSUREVISIBLE, 0, FALSE);
            ShowPropertyColumns(true);
            propertyListings.push_back(TimeOf(BuildFileList));
            withProperties = RowsWithProperties();
            ShowPropertyColumns(false);
        }
        int opened = 0;
        RunFigures opens =
            Repeated([&] { opened = OpenEach(WithTrailingBackslash(folder), count); });
        RunFigures listing = FiguresOf(listings), firstTimes = FiguresOf(firstScreens),
                   scrolledTimes = FiguresOf(scrolledScreens),
                   propertyTimes = FiguresOf(propertyListings);

        std::printf("\n%d drawings (%d rows listed, %d opened), %s previews\n", count, rows, opened,
                    png ? "PNG" : "bitmap");
        std::printf("  listing:                       %s, %.0f drawings/s\n",
                    FiguresText(listing).c_str(), rows / listing.min);
        std::printf("  listing, property columns shown: %s; %d rows with properties; %.2fx (min), "
                    "%.2fx (median) the listing without them; target at most 1.1x\n",
                    FiguresText(propertyTimes).c_str(), withProperties,
                    propertyTimes.min / listing.min, propertyTimes.median / listing.median);
        std::printf("  open each and read its header: %s, %.0f drawings/s\n",
                    FiguresText(opens).c_str(), opened / opens.min);
        std::printf("  listing / opening:             %.2fx (min), %.2fx (median); target at most "
                    "1.2x\n",
                    listing.min / opens.min, listing.median / opens.median);
        std::printf("  first screen of thumbnails:    %s after the rows; %d of %d rows shown with "
                    "their image (%d thumbnails); target at most 0.3 s\n",
                    FiguresText(firstTimes).c_str(), first.decided, first.onScreen,
                    first.thumbnails);
        std::printf("  screen scrolled to:            %s; %d of %d rows shown with their image "
                    "(%d thumbnails); target at most 0.2 s\n",
                    FiguresText(scrolledTimes).c_str(), scrolled.decided, scrolled.onScreen,
                    scrolled.thumbnails);
        std::printf("  image list: %d images, bound %d thumbnails; peak memory %.0f MB (target "
                    "under 300 MB)\n",
                    ImageList_GetImageCount(Thumbs.images), ThumbnailLimit(), PeakMegabytes());
        std::printf("  machine load: %s\n", MachineLoad().c_str());
        // The next folder starts from nothing.
        SetCurrentFolder("");
        BuildFileList();
    }

    SendMessageA(Win.main, WM_CLOSE, 0, 0);
    PumpUntil([] { return !IsWindow(Win.main); });
    return 0;
}
