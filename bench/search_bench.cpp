// Measures the sub-folder search in the real main window: a tree of 20,000
// files (5,000 of them drawings) in 2,000 folders is searched, and the time is
// compared with a bare recursive enumeration of the same tree.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "drawindex/drawing_index.h"
#include "runtime/app_state.h"
#include "runtime/handles.h"
#include "runtime/ids.h"
#include "search/drawing_search.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/main_window_start.h"
#include "tests/support/scratch_folder.h"

// 40 folders of 49 sub-folders each, 2,000 folders with the root's: ten files
// in each, every fourth file a drawing.
static void MakeTree(const std::string& root, const std::string& drawing) {
    int folders = 0, files = 0;
    auto fill = [&](const std::string& folder) {
        ++folders;
        for (int i = 0; i < 10; ++i, ++files) {
            bool isDrawing = files % 4 == 0;
            WriteBytes(folder + "file" + std::to_string(i) + (isDrawing ? ".dwg" : ".txt"),
                       isDrawing ? drawing : std::string("text"));
        }
    };
    fill(root);
    for (int top = 0; top < 40; ++top) {
        std::string a = root + "job" + std::to_string(top) + "\\";
        CreateDirectoryA(a.c_str(), nullptr);
        fill(a);
        for (int sub = 0; sub < 49 && folders < 2000; ++sub) {
            std::string b = a + "part" + std::to_string(sub) + "\\";
            CreateDirectoryA(b.c_str(), nullptr);
            fill(b);
        }
    }
    std::printf("tree:                  %d folders, %d files, %d drawings\n", folders, files,
                (files + 3) / 4);
}

// The plainest walk of the same tree: count the drawings, nothing else.
static int BareCount(const std::string& folder) {
    int count = 0;
    WIN32_FIND_DATAA data;
    FindHandle find(FindFirstFileA((folder + "*").c_str(), &data));
    if (!find.valid()) return 0;
    do {
        std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            count += BareCount(folder + name + "\\");
        else if (name.size() >= 4 && _stricmp(name.c_str() + name.size() - 4, ".dwg") == 0)
            ++count;
    } while (FindNextFileA(find.get(), &data));
    return count;
}

// Each run's seconds, then the least and the median of them.
static RunFigures PrintRuns(const char* what, const std::vector<double>& runs, int count,
                            const char* unit) {
    RunFigures figures = FiguresOf(runs);
    std::printf("%-24s %s  (%d %s; runs", what, FiguresText(figures).c_str(), count, unit);
    for (double s : runs)
        std::printf(" %.3f", s);
    std::printf(")\n");
    return figures;
}

int main() {
    const int kRuns = 3;
    ScratchFolder home, tree;
    MakeTree(tree.path(), MakeDrawingWithoutImages("AC1015", 4096));
    if (!StartMainWindow(home)) return 1;
    std::printf("load before:            %s\n", MachineLoad().c_str());
    // The tree is searched once to fill the drawing index: the runs below
    // search a tree seen before.
    DrawingIndex index;
    if (!index.Open(home.file("drawings.db"), int64_t(1024) << 20)) return 1;
    DrawingsIndex = &index;
    SetCurrentFolder(tree.path());
    double first = TimeOf([] { SendMessageA(Win.main, WM_COMMAND, IDM_SEARCH_SUBFOLDERS, 0); });
    SendMessageA(LastSearchWindow, WM_CLOSE, 0, 0);
    index.Flush();
    std::printf("first search:           %.3f s, filling the drawing index\n", first);

    std::vector<double> search, walk, enumeration;
    int rows = 0, walked = 0, bare = 0;
    for (int run = 0; run < kRuns; ++run) {
        SetCurrentFolder(tree.path());
        LARGE_INTEGER start = Now();
        SendMessageA(Win.main, WM_COMMAND, IDM_SEARCH_SUBFOLDERS, 0);
        search.push_back(Seconds(start, Now()));
        HWND list = GetDlgItem(LastSearchWindow, ID_SEARCH_LIST);
        rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        SendMessageA(LastSearchWindow, WM_CLOSE, 0, 0);

        // The walk alone, with its message pumping but without rows.
        walked = 0;
        SearchActive = true;
        start = Now();
        WalkDrawings(tree.path(), [&walked](const std::string&, const DirEntry&) { ++walked; });
        walk.push_back(Seconds(start, Now()));
        SearchActive = false;

        start = Now();
        bare = BareCount(tree.path());
        enumeration.push_back(Seconds(start, Now()));
    }

    RunFigures searched = PrintRuns("search with its window:", search, rows, "rows");
    RunFigures walking = PrintRuns("walk without rows:", walk, walked, "drawings");
    RunFigures bareWalk = PrintRuns("bare enumeration:", enumeration, bare, "drawings");
    std::printf("search / bare:          min %.1f x  median %.1f x; target at most 1.2x (a tree "
                "seen before)\n",
                searched.min / bareWalk.min, searched.median / bareWalk.median);
    std::printf("walk / bare:            min %.1f x  median %.1f x\n", walking.min / bareWalk.min,
                walking.median / bareWalk.median);
    std::printf("load after:             %s\n", MachineLoad().c_str());
    SendMessageA(Win.main, WM_CLOSE, 0, 0);
    DrawingsIndex = nullptr;
    return 0;
}
