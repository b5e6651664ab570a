// Measures full listings in the real main window: folders of 2,000 and of
// 100,000 drawings with 8-bit previews, each listed several times, against
// opening every drawing and reading its header in the same run. Thumbnails
// are made for the rows on screen: the time from the rows appearing to the
// first screen's thumbnails, and to a screen scrolled to, is measured after
// each listing, and checked: every row shown must show its own thumbnail.
// Each listing is followed by one with the Title, Author and Last Saved By
// columns shown, which reads every drawing's summary properties as well.
//   listing_bench [COUNT[@FOLDER]...] [png] [long] [switch] [wide] [tree N[@FOLDER]...]
// Folders of up to 10,000 drawings are listed nine times each way, larger
// ones three: a listing's time varies by a fifth from run to run under Wine.
// The drawings are of release 2010 and carry summary properties 0x120 bytes
// in, before the preview, as real drawings of 2004 and later other than
// 2007's do; with "png" they are of release 2018 and carry their previews as
// PNG pictures, which the system's imaging component decodes. COUNT@FOLDER
// lists a folder made beforehand, holding drawing0.dwg to drawing<COUNT-1>.dwg:
// Wine makes a file in a folder of tens of thousands slowly. With "long" the
// names are of 40 characters, "drawing<i>" padded with x before ".dwg".
// "switch" then goes 30 times between the first two folders, a listing
// superseded every 0.1 to 0.9 s, and times the last listing; "wide" lists
// the first folder again with a Preview column 4,500 pixels wide. Peak
// memory is printed after each, and the memory a row takes. "tree" times
// the opening of a tree folder of N sub-folders, made beforehand at FOLDER
// or made by the bench (2,000 when no N is given); Wine makes a folder among
// thousands so slowly that larger ones are best made beforehand.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "filelist/file_list_build.h"
#include "filelist/list_rows.h"
#include "filelist/row_thumbnails.h"
#include "runtime/app_state.h"
#include "runtime/ids.h"
#include "runtime/file_facts.h"
#include "runtime/long_paths.h"
#include "runtime/win_helpers.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/main_window_start.h"
#include "ui/tree_pane.h"
#include "tests/support/png_builder.h"
#include "tests/support/pump_until.h"
#include "tests/support/scratch_folder.h"

static bool longNames = false;

static std::string DrawingName(int i) {
    std::string base = "drawing" + std::to_string(i);
    if (longNames && base.size() < 36) base.append(36 - base.size(), 'x');
    return base + ".dwg";
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
        return WithPropertiesBlockInFront(
            MakeDrawing("AC1024", {{1, std::string(80, 'h')}, {2, MakeDib(recipe)}}), properties,
            30);
    PngRecipe picture;
    picture.width = recipe.width;
    picture.height = recipe.height;
    picture.color = recipe.color;
    picture.palette = {0x000000, 0xFF0000, 0xFFFFFF};
    return WithPropertiesBlockInFront(
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

static double BytesInUse() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.PagefileUsage);
}

// Goes back and forth between two folders, a listing asked for every 0.1 to
// 0.9 s from inside the running one, as a user clicking in the tree; the
// last listing runs to its end. Returns its seconds.
static std::string switchFolders[2];
static int switchesLeft;
static unsigned switchSeed = 12345;
static LARGE_INTEGER lastSwitch;

static void CALLBACK SwitchFolder(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    SetCurrentFolder(Unslashed(switchFolders[--switchesLeft % 2]));
    PostMessageA(Win.main, WM_KVX_TREE_SELECTION, 0, 0);
    lastSwitch = Now();
    switchSeed = switchSeed * 1103515245u + 12345u;
    if (switchesLeft > 0) SetTimer(nullptr, 0, 100 + (switchSeed >> 8) % 800, SwitchFolder);
}

static double SwitchListings(const std::string& a, const std::string& b, int switches) {
    switchFolders[0] = a, switchFolders[1] = b;
    switchesLeft = switches;
    SetTimer(nullptr, 0, 100, SwitchFolder);
    PumpUntil([] { return switchesLeft == 0; }, 600000);
    PumpUntil([] { return !ListingActive && IsWindowVisible(Win.status); }, 600000);
    return Seconds(lastSwitch, Now());
}

static HTREEITEM SelectedTreeItem(HWND tree) {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

// Opens the tree's folder of `count` sub-folders as a click on its "+" does;
// prints the time until it is open and the longest the tree took to answer
// meanwhile.
static void TimeTreeOpening(int count, std::string folder) {
    ScratchFolder scratch;
    if (folder.empty()) {
        folder = scratch.path() + "parent";
        CreateDirectoryA(folder.c_str(), nullptr);
        for (int i = 0; i < count; ++i)
            CreateDirectoryA((folder + "\\job" + std::to_string(i)).c_str(), nullptr);
    }
    if (folder.back() == '\\') folder.pop_back();
    HWND tree = GetWindow(Win.treeContainer, GW_CHILD);
    NavigateTo(folder);
    PumpUntil([&] { return TreeItemPath(tree, SelectedTreeItem(tree)) == folder + "\\"; }, 60000);
    HTREEITEM item = SelectedTreeItem(tree);
    LARGE_INTEGER start = Now();
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    double slowest = 0;
    PumpUntil(
        [&] {
            LARGE_INTEGER asked = Now();
            LRESULT state =
                SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED);
            slowest = std::max(slowest, Seconds(asked, Now()));
            return (state & TVIS_EXPANDED) != 0;
        },
        600000);
    double seconds = Seconds(start, Now());
    int children = 0;
    for (auto child = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, (LPARAM)item); child;
         child = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, child))
        ++children;
    std::printf("\ntree folder of %d sub-folders (%d in the tree under %s): open after %.2f s; the "
                "tree answered within %.3f s throughout; memory in use %.0f MB\n",
                count, children, TreeItemPath(tree, item).c_str(), seconds, slowest,
                BytesInUse() / 1048576);
    // F5 takes the pane down, with the folder's items, and builds a new one.
    TreeReady = false;
    std::printf("  the pane replaced (F5) in %.2f s\n", TimeOf(RefreshTreePane));
    PumpUntil([] { return TreeReady && !ListingActive; }, 60000);
}

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0); // each figure as soon as it is known
    std::vector<int> counts, treeCounts;
    std::vector<std::string> madeFolders, treeFolders;
    bool png = false, switching = false, wide = false, tree = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "png" || arg == "long" || arg == "switch" || arg == "wide" || arg == "tree") {
            png |= arg == "png";
            longNames |= arg == "long";
            switching |= arg == "switch";
            wide |= arg == "wide";
            tree |= arg == "tree";
            continue;
        }
        size_t at = arg.find('@');
        std::string made = at == std::string::npos ? std::string() : arg.substr(at + 1);
        if (tree) {
            treeCounts.push_back(std::atoi(arg.c_str()));
            treeFolders.push_back(made);
            continue;
        }
        counts.push_back(std::atoi(arg.c_str()));
        madeFolders.push_back(made);
    }
    if (tree && treeCounts.empty()) treeCounts = {2000}, treeFolders.resize(1);
    if (counts.empty() && !tree) counts = {2000, 100000}, madeFolders.resize(2);
    std::string drawing = Drawing(png);
    ScratchFolder home;
    if (!StartMainWindow(home)) return 1;
    // A window of a common size: a screen of rows to show.
    SetWindowPos(Win.main, nullptr, 0, 0, 1200, 900, SWP_NOZORDER);
    std::printf("machine load before: %s\n", MachineLoad().c_str());

    std::vector<std::string> listed;
    // The folders made stay until the end: "switch" and "wide" list them again.
    std::vector<std::unique_ptr<ScratchFolder>> made;
    for (size_t c = 0; c < counts.size(); ++c) {
        int count = counts[c];
        made.emplace_back(new ScratchFolder);
        ScratchFolder& scratch = *made.back();
        std::string folder =
            madeFolders[c].empty() ? scratch.path() : WithTrailingBackslash(madeFolders[c]);
        if (madeFolders[c].empty())
            for (int i = 0; i < count; ++i)
                WriteBytes(scratch.file(DrawingName(i)), drawing);
        // What a listing holds besides its rows: an empty folder's.
        ScratchFolder empty;
        SetCurrentFolder(Unslashed(empty.path()));
        BuildFileList();
        double emptyBytes = BytesInUse();
        SetCurrentFolder(Unslashed(folder));
        listed.push_back(folder);

        std::vector<double> listings, firstScreens, scrolledScreens, propertyListings;
        int withProperties = 0;
        ScreenImages first, scrolled;
        int rows = 0;
        const int runs = count <= 10000 ? 9 : 3;
        for (int run = 0; run < runs; ++run) {
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
        double rowBytes = (BytesInUse() - emptyBytes) / std::max(1, rows);
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
        std::printf("  memory a row takes: %.0f bytes\n", rowBytes);
        std::printf("  machine load: %s\n", MachineLoad().c_str());
        // The next folder starts from nothing.
        SetCurrentFolder("");
        BuildFileList();
    }

    if (switching && listed.size() >= 2) {
        SetCurrentFolder(Unslashed(listed[0]));
        double first = TimeOf(BuildFileList);
        double last = SwitchListings(listed[0], listed[1], 30);
        std::printf("\n30 quick switches: last listing %.2f s against %.2f s for one alone "
                    "(target at most 1.2x); %d rows; peak memory %.0f MB (target under 300 MB)\n",
                    last, first, Rows(), PeakMegabytes());
    }
    if (wide && !listed.empty()) {
        SendMessageA(Win.list, LVM_SETCOLUMNWIDTH, 1, 4500);
        SetCurrentFolder(Unslashed(listed[0]));
        BuildFileList();
        ScreenImages shown;
        double seconds = UntilScreenShown(shown);
        SendMessageA(Win.list, LVM_ENSUREVISIBLE, Rows() / 2, FALSE);
        UntilScreenShown(shown);
        int w = 0, h = 0;
        ImageList_GetIconSize(Thumbs.images, &w, &h);
        std::printf("\nPreview column 4,500 px: cells %dx%d, %d images (%.0f MB), first screen "
                    "%.2f s; peak memory %.0f MB (target under 300 MB)\n",
                    w, h, ImageList_GetImageCount(Thumbs.images),
                    ImageList_GetImageCount(Thumbs.images) * 3.0 * w * h / 1048576.0, seconds,
                    PeakMegabytes());
    }
    for (size_t t = 0; t < treeCounts.size(); ++t)
        TimeTreeOpening(treeCounts[t], treeFolders[t]);

    SendMessageA(Win.main, WM_CLOSE, 0, 0);
    PumpUntil([] { return !IsWindow(Win.main); });
    return 0;
}
