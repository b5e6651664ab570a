// Measures a full listing with thumbnails in the real main window: a folder
// of 2,000 drawings with 8-bit previews is listed, and the time is compared
// with reading the same files' bytes with plain file reads.
//   listing_bench [COUNT] [png]
// With "png" the drawings are of release 2018 and carry their previews as
// PNG pictures, which the system's imaging component decodes.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "bench/bench_clock.h"
#include "filelist/file_list_build.h"
#include "runtime/app_state.h"
#include "runtime/handles.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/main_window_start.h"
#include "tests/support/png_builder.h"
#include "tests/support/pump_until.h"
#include "tests/support/scratch_folder.h"

// Reads every drawing's whole contents, as plainly as possible.
static unsigned long long ReadAll(const std::string& folder, int count) {
    unsigned long long total = 0;
    static char buf[1 << 16];
    for (int i = 0; i < count; ++i) {
        FileStream f((folder + "drawing" + std::to_string(i) + ".dwg").c_str(), "rb");
        for (size_t n; f && (n = std::fread(buf, 1, sizeof buf, f.get())) > 0;)
            total += n;
    }
    return total;
}

int main(int argc, char** argv) {
    int count = argc > 1 ? std::atoi(argv[1]) : 2000;
    ScratchFolder home, drawings;
    DibRecipe recipe;
    recipe.width = 256;
    recipe.height = 160;
    recipe.color = [](int x, int y) {
        return (x % 32 == 0 || y % 20 == 0) ? 0x000000u : (x + y) % 97 == 0 ? 0xFF0000u : 0xFFFFFFu;
    };
    std::string drawing = MakeDrawing("AC1015", {{1, std::string(80, 'h')}, {2, MakeDib(recipe)}});
    if (argc > 2 && std::string(argv[2]) == "png") {
        PngRecipe png;
        png.width = recipe.width;
        png.height = recipe.height;
        png.color = recipe.color;
        png.palette = {0x000000, 0xFF0000, 0xFFFFFF};
        drawing = MakeDrawing("AC1032", {{1, std::string(80, 'h')}, {6, MakePng(png)}});
    }
    for (int i = 0; i < count; ++i)
        WriteBytes(drawings.file("drawing" + std::to_string(i) + ".dwg"), drawing);

    if (!StartMainWindow(home)) return 1;

    SetCurrentFolder(Unslashed(drawings.path()));
    LARGE_INTEGER start = Now();
    BuildFileList();
    double listing = Seconds(start, Now());
    int rows = static_cast<int>(SendMessageA(Win.list, LVM_GETITEMCOUNT, 0, 0));

    // The same listing without thumbnails: what the previews cost.
    Settings.showColumn[1] = "FALSE";
    start = Now();
    BuildFileList();
    double plainListing = Seconds(start, Now());
    Settings.showColumn[1] = "TRUE";

    start = Now();
    unsigned long long bytes = ReadAll(drawings.path(), count);
    double reading = Seconds(start, Now());

    std::printf("drawings listed:            %d of %d\n", rows, count);
    std::printf("listing with thumbnails:    %.3f s, %.1f drawings/s\n", listing, rows / listing);
    std::printf("listing without thumbnails: %.3f s, %.1f drawings/s\n", plainListing,
                rows / plainListing);
    std::printf("plain reads of same files:  %.3f s, %.1f drawings/s (%.1f MB)\n", reading,
                count / reading, bytes / 1048576.0);
    std::printf("listing / plain reads:      %.1f x slower\n", listing / reading);

    SendMessageA(Win.main, WM_CLOSE, 0, 0);
    PumpUntil([] { return !IsWindow(Win.main); });
    return 0;
}
