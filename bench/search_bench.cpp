// Measures the sub-folder search in the real main window: a tree of 20,000
// files (5,000 of them drawings) in 2,000 folders is searched, and the time is
// compared with a bare recursive enumeration of the same tree.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "bench/bench_clock.h"
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

int main() {
    ScratchFolder home, tree;
    MakeTree(tree.path(), MakeDrawingWithoutImages("AC1015", 4096));
    if (!StartMainWindow(home)) return 1;

    SetCurrentFolder(tree.path());
    LARGE_INTEGER start = Now();
    SendMessageA(Win.main, WM_COMMAND, IDM_SEARCH_SUBFOLDERS, 0);
    double search = Seconds(start, Now());
    HWND list = GetDlgItem(LastSearchWindow, ID_SEARCH_LIST);
    int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    SendMessageA(LastSearchWindow, WM_CLOSE, 0, 0);

    // The walk alone, with its message pumping but without rows.
    int walked = 0;
    SearchActive = true;
    start = Now();
    WalkDrawings(tree.path(), [&walked](const std::string&) { ++walked; });
    double walk = Seconds(start, Now());
    SearchActive = false;

    start = Now();
    int bare = BareCount(tree.path());
    double enumeration = Seconds(start, Now());

    std::printf("search with its window: %.3f s, %d rows\n", search, rows);
    std::printf("walk without rows:      %.3f s, %d drawings\n", walk, walked);
    std::printf("bare enumeration:       %.3f s, %d drawings\n", enumeration, bare);
    std::printf("search / bare:          %.1f x\n", search / enumeration);
    std::printf("walk / bare:            %.1f x\n", walk / enumeration);
    SendMessageA(Win.main, WM_CLOSE, 0, 0);
    return 0;
}
