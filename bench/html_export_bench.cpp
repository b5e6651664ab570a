// Measures the HTML export of a listed folder of 2,000 drawings with 8-bit
// previews (every item shown, 4 files per row), and compares it with plainly
// writing the same preview bytes into as many .bmp files.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "export/html_export.h"
#include "filelist/file_list_build.h"
#include "inspect/dwg_inspect.h"
#include "runtime/app_state.h"
#include "runtime/handles.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/main_window_start.h"
#include "tests/support/pump_until.h"
#include "tests/support/scratch_folder.h"

static void DoNotOpen(const std::string&) {}

// Writes each preview's bytes to a .bmp file of its own, as plainly as possible.
static void WriteAll(const std::string& folder, const std::vector<std::string>& previews) {
    for (size_t i = 0; i < previews.size(); ++i) {
        FileStream f((folder + "drawing" + std::to_string(i) + ".bmp").c_str(), "wb");
        if (f) std::fwrite(previews[i].data(), 1, previews[i].size(), f.get());
    }
}

int main(int argc, char** argv) {
    int count = argc > 1 ? std::atoi(argv[1]) : 2000;
    ScratchFolder home, drawings, page, copies, copiesAgain;
    DibRecipe recipe;
    recipe.width = 180;
    recipe.height = 116;
    recipe.color = [](int x, int y) {
        return (x % 30 == 0 || y % 20 == 0) ? 0x000000u : (x + y) % 97 == 0 ? 0xFF0000u : 0xFFFFFFu;
    };
    std::string drawing = MakeDrawing("AC1015", {{1, std::string(80, 'h')}, {2, MakeDib(recipe)}});
    for (int i = 0; i < count; ++i)
        WriteBytes(drawings.file("drawing" + std::to_string(i) + ".dwg"), drawing);

    if (!StartMainWindow(home)) return 1;
    OpenExportedPage = DoNotOpen;
    SetCurrentFolder(Unslashed(drawings.path()));
    BuildFileList();
    int rows = static_cast<int>(SendMessageA(Win.list, LVM_GETITEMCOUNT, 0, 0));

    // The preview bytes each drawing gives, read before either run.
    std::vector<std::string> previews;
    for (int i = 0; i < count; ++i) {
        ExtractPreview(drawings.file("drawing" + std::to_string(i) + ".dwg"));
        previews.push_back(ReadBytes(Paths.previewBitmap));
    }

    // The plain writes run before and after the export, into fresh folders,
    // and their mean is the measure: the machine's load varies over a run.
    LARGE_INTEGER start = Now();
    WriteAll(copies.path(), previews);
    double copyingBefore = Seconds(start, Now());

    HtmlExportRequest request;
    request.title = "Benchmark";
    request.htmlFolder = page.path();
    request.pagePath = page.file("catalogue.htm");
    request.layout = 4;
    start = Now();
    ExportHtml(request, nullptr);
    double exporting = Seconds(start, Now());

    start = Now();
    WriteAll(copiesAgain.path(), previews);
    double copying = (copyingBefore + Seconds(start, Now())) / 2;

    std::printf("drawings exported:          %d\n", rows);
    std::printf("HTML export:                %.3f s, %.1f drawings/s\n", exporting,
                rows / exporting);
    std::printf("plain .bmp writes (mean):   %.3f s, %.1f files/s\n", copying, count / copying);
    std::printf("export / plain writes:      %.2f x (target: at most 2.0 x)\n",
                exporting / copying);

    CloseMainWindow();
    return 0;
}
