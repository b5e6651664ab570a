// Measures what the drawing index saves: a folder of drawings listed with no
// index (as before it), on a first visit (the index being filled), relisted,
// and listed again after a fresh start (the index closed and opened anew),
// each against opening every drawing and reading its header in the same run.
// Every listing waits for the first screen of thumbnails.
//   index_bench FOLDER [COUNTFILE]
// FOLDER is a folder of drawings (*.dwg), on a local disk or a file server;
// COUNTFILE, when given, is where a stand-in file server writes
// "<opens> <listings>" (bench/slowfs_bench runs it so): the drawings each
// listing opened are then printed too. Prints the index's size per drawing
// and the peak memory.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "drawindex/drawing_index.h"
#include "filelist/file_list_build.h"
#include "filelist/list_rows.h"
#include "runtime/app_state.h"
#include "runtime/dir_entries.h"
#include "runtime/file_facts.h"
#include "runtime/long_paths.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/main_window_start.h"
#include "tests/support/pump_until.h"
#include "tests/support/scratch_folder.h"

static std::string countFile;

// Opens the stand-in server has counted so far; -1 without one. The server
// rewrites the file after every open: a reading is trusted when the next
// one agrees.
static long Opens() {
    if (countFile.empty()) return -1;
    long last = -2;
    for (;;) {
        long opens = -1, listings = -1;
        std::sscanf(ReadBytes(countFile).c_str(), "%ld %ld", &opens, &listings);
        if (listings >= 0 && opens == last) return opens;
        last = listings >= 0 ? opens : -2;
    }
}

static int OpenEach(const std::vector<std::string>& paths) {
    int opened = 0;
    char header[64];
    for (const std::string& path : paths) {
        HANDLE file = OpenForReading(path);
        if (file == INVALID_HANDLE_VALUE) continue;
        DWORD got = 0;
        if (ReadFile(file, header, sizeof header, &got, nullptr) && got > 0) ++opened;
        CloseHandle(file);
    }
    return opened;
}

// Every row on screen shows its own image.
static void WaitForScreen() {
    PumpUntil([] {
        UpdateWindow(Win.list);
        int top = static_cast<int>(SendMessageA(Win.list, LVM_GETTOPINDEX, 0, 0));
        int rows = static_cast<int>(SendMessageA(Win.list, LVM_GETITEMCOUNT, 0, 0));
        int page = static_cast<int>(SendMessageA(Win.list, LVM_GETCOUNTPERPAGE, 0, 0));
        for (int row = top; row < std::min(rows, top + page); ++row) {
            LVITEMA item = {};
            item.mask = LVIF_IMAGE;
            item.iItem = row;
            item.iSubItem = 1;
            SendMessageA(Win.list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
            if (item.iImage == Thumbs.noPreview) return false;
        }
        return true;
    });
}

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: index_bench FOLDER [COUNTFILE]\n");
        return 2;
    }
    std::string folder = WithTrailingBackslash(argv[1]);
    if (argc > 2) countFile = argv[2];
    std::vector<std::string> paths;
    DirEntries entries(folder + "*.dwg");
    for (DirEntry entry; entries.Next(entry);)
        paths.push_back(folder + entry.name);
    ScratchFolder home;
    if (!StartMainWindow(home)) return 1;
    SetWindowPos(Win.main, nullptr, 0, 0, 1200, 900, SWP_NOZORDER);
    std::printf("%zu drawings in %s; machine load before: %s\n", paths.size(), folder.c_str(),
                MachineLoad().c_str());

    DrawingIndex index;
    std::string file = home.file("drawings.db");
    auto list = [&](const char* what, bool withIndex, double bare) {
        DrawingsIndex = withIndex ? &index : nullptr;
        SetCurrentFolder(folder);
        long before = Opens();
        double seconds = TimeOf([] {
            BuildFileList();
            WaitForScreen();
        });
        long opened = Opens() - before;
        index.Flush();
        std::printf("%-22s %7.3f s  %5.2fx opening each", what, seconds, seconds / bare);
        if (before >= 0) std::printf("  %ld drawings opened", opened);
        std::printf("\n");
        return seconds;
    };
    for (int run = 0; run < 3; ++run) {
        // Each run starts without an index: an open database cannot be deleted.
        index.Close();
        DeleteFileA(file.c_str());
        DeleteFileA((file + "-wal").c_str());
        DeleteFileA((file + "-shm").c_str());
        if (!index.Open(file, int64_t(1024) << 20)) return 1;
        long before = Opens();
        double bare = TimeOf([&] { OpenEach(paths); });
        std::printf("run %d: opening each drawing and reading its header: %.3f s (%ld opens)\n",
                    run + 1, bare, Opens() - before);
        double today = list("without an index", false, bare);
        double first = list("first visit", true, bare);
        std::printf("%-22s %5.2fx without an index\n", "", first / today);
        list("relist", true, bare);
        index.Close();
        if (!index.Open(file, int64_t(1024) << 20)) return 1;
        list("after a fresh start", true, bare);
    }
    std::printf("index: %lld entries, %.1f KB per drawing; peak memory %.0f MB\n",
                static_cast<long long>(index.EntryCount()),
                index.SizeInBytes() / 1024.0 / std::max<int64_t>(1, index.EntryCount()), [] {
                    PROCESS_MEMORY_COUNTERS counters = {};
                    counters.cb = sizeof counters;
                    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
                    return counters.PeakPagefileUsage / 1048576.0;
                }());
    std::printf("targets: relist and fresh start open at most 1%% of the drawings; on a file "
                "server a relist at most 0.25x opening each (locally 1.0x); a first visit at "
                "most 1.05x without an index\n");
    DrawingsIndex = nullptr;
    CloseMainWindow();
    return 0;
}
