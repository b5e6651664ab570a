// Measures full listings in the real main window: folders of 2,000 and of
// 10,000 drawings with 8-bit previews are listed with and without
// thumbnails, each three times, and compared with reading the same files'
// bytes with plain file reads in the same run.
//   listing_bench [COUNT...] [png]
// With "png" the drawings are of release 2018 and carry their previews as
// PNG pictures, which the system's imaging component decodes.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

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

static std::string Drawing(bool png) {
    DibRecipe recipe;
    recipe.width = 256;
    recipe.height = 160;
    recipe.color = [](int x, int y) {
        return (x % 32 == 0 || y % 20 == 0) ? 0x000000u : (x + y) % 97 == 0 ? 0xFF0000u : 0xFFFFFFu;
    };
    if (!png) return MakeDrawing("AC1015", {{1, std::string(80, 'h')}, {2, MakeDib(recipe)}});
    PngRecipe picture;
    picture.width = recipe.width;
    picture.height = recipe.height;
    picture.color = recipe.color;
    picture.palette = {0x000000, 0xFF0000, 0xFFFFFF};
    return MakeDrawing("AC1032", {{1, std::string(80, 'h')}, {6, MakePng(picture)}});
}

static int Rows() {
    return static_cast<int>(SendMessageA(Win.list, LVM_GETITEMCOUNT, 0, 0));
}

int main(int argc, char** argv) {
    std::vector<int> counts;
    bool png = false;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "png")
            png = true;
        else
            counts.push_back(std::atoi(argv[i]));
    }
    if (counts.empty()) counts = {2000, 10000};
    std::string drawing = Drawing(png);
    ScratchFolder home;
    if (!StartMainWindow(home)) return 1;
    std::printf("machine load before: %s\n", MachineLoad().c_str());

    double firstRate = 0;
    for (int count : counts) {
        ScratchFolder drawings;
        for (int i = 0; i < count; ++i)
            WriteBytes(drawings.file("drawing" + std::to_string(i) + ".dwg"), drawing);
        SetCurrentFolder(Unslashed(drawings.path()));

        RunFigures thumbs = Repeated(BuildFileList);
        int rows = Rows();
        // The same listing without thumbnails: what the previews cost.
        Settings.showColumn[1] = "FALSE";
        RunFigures plain = Repeated(BuildFileList);
        Settings.showColumn[1] = "TRUE";
        unsigned long long bytes = 0;
        RunFigures reads = Repeated([&] { bytes = ReadAll(drawings.path(), count); });

        std::printf("\n%d drawings (%d listed, %.1f MB), %s previews\n", count, rows,
                    bytes / 1048576.0, png ? "PNG" : "bitmap");
        std::printf("  listing with thumbnails:    %s, %.0f drawings/s\n",
                    FiguresText(thumbs).c_str(), rows / thumbs.min);
        std::printf("  listing without thumbnails: %s, %.0f drawings/s\n",
                    FiguresText(plain).c_str(), rows / plain.min);
        std::printf("  plain reads of same files:  %s, %.0f drawings/s\n",
                    FiguresText(reads).c_str(), count / reads.min);
        std::printf("  with thumbnails / plain reads:    %.1fx (min), %.1fx (median); target at "
                    "most 4x\n",
                    thumbs.min / reads.min, thumbs.median / reads.median);
        std::printf("  without thumbnails / plain reads: %.1fx (min), %.1fx (median); target at "
                    "most 2x\n",
                    plain.min / reads.min, plain.median / reads.median);
        double rate = rows / thumbs.min;
        if (firstRate == 0)
            firstRate = rate;
        else
            std::printf("  rate with thumbnails against %d drawings: %+.0f%%; target within 10%%\n",
                        counts.front(), 100.0 * (rate - firstRate) / firstRate);
        std::printf("  machine load: %s\n", MachineLoad().c_str());
    }

    SendMessageA(Win.main, WM_CLOSE, 0, 0);
    PumpUntil([] { return !IsWindow(Win.main); });
    return 0;
}
