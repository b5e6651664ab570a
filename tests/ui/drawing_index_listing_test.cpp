// Listing through the drawing index: an unchanged drawing is not opened.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "drawindex/drawing_index.h"
#include "filelist/list_rows.h"
#include "runtime/app_state.h"
#include "runtime/dir_entries.h"
#include "runtime/ids.h"
#include "runtime/win_helpers.h"
#include "tests/support/dialog_answerer.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/pump_until.h"
#include "tests/support/stderr_capture.h"
#include "tests/support/unix_command.h"
#include "tests/support/unix_tools.h"
#include "tests/ui/list_test_support.h"
#include "tests/ui/main_window_fixture.h"

namespace {

std::string PictureDrawing(const std::string& signature, uint32_t color) {
    DibRecipe recipe;
    recipe.width = 90;
    recipe.height = 60;
    recipe.bits = 24;
    recipe.color = [color](int, int) { return color; };
    return MakeDrawing(signature, {{2, MakeDib(recipe)}});
}

int RowOf(const std::vector<std::string>& names, const std::string& name) {
    return static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin());
}

// A 2010 drawing whose property text `which` (of the eight) says `text`.
std::string DrawingSaying(int which, const std::string& text) {
    std::vector<std::string> texts(8);
    texts[which] = text;
    return WithPropertiesBlock(MakeDrawing("AC1024", {{1, "header"}}), PropertiesBlock(true, texts),
                               30);
}

TEST_F(MainWindowTest, AnUnchangedDrawingIsListedFromTheIndexWithoutBeingOpened) {
    ScratchFolder folder, home;
    DrawingIndex index;
    ASSERT_TRUE(index.Open(home.file("drawings.db"), 1 << 30));
    DrawingsIndex = &index;
    ASSERT_TRUE(WriteBytes(folder.file("kept.dwg"), PictureDrawing("AC1015", 0x3366CC)));
    ASSERT_TRUE(WriteBytes(folder.file("changed.dwg"), PictureDrawing("AC1015", 0x3366CC)));
    ASSERT_TRUE(WriteBytes(folder.file("gone.dwg"), PictureDrawing("AC1015", 0x3366CC)));
    SetCurrentFolder(Unslashed(folder.path()));
    Relist();
    std::vector<std::string> names = Column(2);
    uint32_t keptColour = ImageCentre(RowImage(RowOf(names, "kept.dwg"), 1));
    index.Flush();

    // Locked, the kept drawing cannot be opened: all it shows comes from
    // the index. The changed one is read again, the gone one forgotten.
    ASSERT_TRUE(WriteBytes(folder.file("changed.dwg"), PictureDrawing("AC1018", 0xCC6633) + "x"));
    ASSERT_TRUE(DeleteFileA(folder.file("gone.dwg").c_str()));
    HANDLE lock = CreateFileA(folder.file("kept.dwg").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    StderrCapture err;
    Relist();
    names = Column(2);
    int kept = RowOf(names, "kept.dwg"), changed = RowOf(names, "changed.dwg");
    ASSERT_EQ(2u, names.size());
    std::vector<std::string> versions = Column(3);
    int keptImage = RowImage(kept, 1);
    uint32_t changedColour = ImageCentre(RowImage(changed, 1));
    std::string written = err.finish();
    CloseHandle(lock);
    EXPECT_EQ("", written);
    EXPECT_EQ("2000", versions[kept]);
    EXPECT_EQ("2004", versions[changed]);
    EXPECT_GT(keptImage, Thumbs.notSupported);
    EXPECT_EQ(keptColour, ImageCentre(keptImage));
    EXPECT_NE(keptColour, changedColour);
    index.Flush();
    EXPECT_EQ(2, index.EntryCount());
    DrawingsIndex = nullptr;
}

// With the Last Saved By column shown, an unchanged drawing's properties come
// from its entry: the relist of the locked drawing still shows who saved it.
TEST_F(MainWindowTest, PropertiesOfAnUnchangedDrawingComeFromTheIndex) {
    ScratchFolder folder, home;
    DrawingIndex index;
    ASSERT_TRUE(index.Open(home.file("drawings.db"), 1 << 30));
    DrawingsIndex = &index;
    ASSERT_TRUE(WriteBytes(folder.file("saved.dwg"), DrawingSaying(5, "Ren\xC3\xA9"
                                                                      "e")));
    SetCurrentFolder(Unslashed(folder.path()));
    SendMessageA(Win.main, WM_COMMAND, IDM_COL_LAST_SAVED_BY, 0); // shown: the folder is relisted
    ASSERT_TRUE(PumpUntil([] { return !ListingActive; }));
    index.Flush();
    HANDLE lock = CreateFileA(folder.file("saved.dwg").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    Relist();
    std::vector<std::string> lastSavedBy = Column(9);
    CloseHandle(lock);
    SendMessageA(Win.main, WM_COMMAND, IDM_COL_LAST_SAVED_BY, 0);
    DrawingsIndex = nullptr;
    EXPECT_EQ(std::vector<std::string>{"Ren\xC3\xA9"
                                       "e"},
              lastSavedBy);
}

// A search by a property text reads each drawing once: a drawing listed
// before keeps its entry and gains its properties, one never seen gets its
// entry; searched again while both are locked, both are still found, with
// their releases.
TEST_F(MainWindowTest, ASearchByPropertyTextReadsADrawingOnce) {
    ScratchFolder folder, home;
    DrawingIndex index;
    ASSERT_TRUE(index.Open(home.file("drawings.db"), 1 << 30));
    DrawingsIndex = &index;
    std::string drawing = DrawingSaying(2, "Zo\xC3\xAB M\xC3\xBCller");
    CreateDirectoryA(folder.file("new").c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(folder.file("listed.dwg"), drawing));
    ASSERT_TRUE(WriteBytes(folder.file("new\\found.dwg"), drawing));
    ASSERT_TRUE(WriteBytes(folder.file("other.dwg"), MakeDrawing("AC1018", {{1, "header"}})));
    ListFolder(Unslashed(folder.path()));
    index.Flush();
    SendMessageA(Win.main, WM_COMMAND, IDM_SEARCH_SUBFOLDERS, 0);
    auto search = [] {
        std::vector<std::string> names = SearchFor("m\xC3\xBCLLER");
        std::vector<std::string> versions = SearchResultColumn(3);
        for (size_t i = 0; i < names.size() && i < versions.size(); ++i)
            names[i] += " " + versions[i];
        std::sort(names.begin(), names.end());
        return names;
    };
    const std::vector<std::string> found = {"found.dwg 2010", "listed.dwg 2010"};
    EXPECT_EQ(found, search());
    index.Flush();
    HANDLE locks[] = {CreateFileA(folder.file("listed.dwg").c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr),
                      CreateFileA(folder.file("new\\found.dwg").c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr)};
    std::vector<std::string> again = search();
    for (HANDLE lock : locks)
        CloseHandle(lock);
    SendMessageA(LastSearchWindow, WM_CLOSE, 0, 0);
    DrawingsIndex = nullptr;
    EXPECT_EQ(found, again);
}

// Through a stand-in file server that counts what is opened (the tool that
// KORVEX_SLOWFS names): a relist opens the drawing that changed, and only it.
TEST_F(MainWindowTest, ARelistThroughAFileServerOpensOnlyTheChangedDrawing) {
    const char* tool = std::getenv("KORVEX_SLOWFS");
    if (!tool || !*tool) GTEST_SKIP() << "KORVEX_SLOWFS names no stand-in file server";
    ScratchFolder source, mount, home;
    std::string mnt = ShellQuote(UnixPath(Unslashed(mount.path())));
    for (const char* name : {"a.dwg", "b.dwg", "c.dwg"})
        ASSERT_TRUE(WriteBytes(source.file(name), PictureDrawing("AC1015", 0x3366CC)));
    UnixRun started = RunUnixCommand("(setsid " + ShellQuote(tool) + " " +
                                     ShellQuote(UnixPath(Unslashed(source.path()))) + " " + mnt +
                                     " 0 " + ShellQuote(UnixPath(home.file("counts"))) +
                                     " >/dev/null 2>&1 &); for i in $(seq 100); do mountpoint -q " +
                                     mnt + " && exit 0; sleep 0.1; done; exit 1");
    if (started.status != 0) GTEST_SKIP() << "the stand-in server did not start";
    DrawingIndex index;
    ASSERT_TRUE(index.Open(home.file("drawings.db"), 1 << 30));
    DrawingsIndex = &index;
    // The server rewrites its counts after each open or listing, from several
    // threads: the last written may be older than another thread's. A listing
    // of the mount, with nothing else going on, writes them afresh.
    auto counts = [&](long& n, long& lists) {
        n = lists = -1;
        std::sscanf(ReadBytes(home.file("counts")).c_str(), "%ld %ld", &n, &lists);
        return lists >= 0;
    };
    auto opens = [&] {
        long n = -1, lists = -1, listed = -1;
        EXPECT_TRUE(EventuallyTrue([&] { return counts(n, lists); }));
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA((mount.path() + "*").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) FindClose(find);
        EXPECT_TRUE(EventuallyTrue([&] { return counts(n, listed) && listed > lists; }));
        return n;
    };
    auto listAll = [&] {
        SetCurrentFolder(Unslashed(mount.path()));
        Relist();
        for (int row = 0; row < 3; ++row)
            RowImage(row, 1);
        index.Flush();
    };
    listAll();
    std::string changed = PictureDrawing("AC1018", 0xCC6633) + "longer";
    ASSERT_TRUE(WriteBytes(source.file("b.dwg"), changed));
    DirEntry seen;
    ASSERT_TRUE(EventuallyTrue(
        [&] { return FindFirstEntry(mount.file("b.dwg"), seen) && seen.size == changed.size(); }));
    long before = opens();
    listAll();
    long opened = opens() - before;
    DrawingsIndex = nullptr;
    // By its real path, the only one the mount table knows; lazily, as the
    // listed folder is still the current directory.
    RunUnixCommand("fusermount -uz \"$(realpath " + mnt + ")\"");
    EXPECT_EQ((std::vector<std::string>{"2000", "2004", "2000"}), Column(3));
    EXPECT_EQ(2, opened); // b.dwg: its release, then its thumbnail
}

TEST_F(MainWindowTest, AnIndexThatCannotBeUsedIsToldOnceInTheStatusBar) {
    ScratchFolder folder, home;
    std::string file = home.file("drawings.db");
    ASSERT_TRUE(WriteBytes(file, "held"));
    HANDLE lock = CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
    DrawingIndex index;
    EXPECT_FALSE(index.Open(file, 1 << 30));
    DrawingsIndex = &index;
    ASSERT_TRUE(WriteBytes(folder.file("a.dwg"), PictureDrawing("AC1015", 0x3366CC)));
    SetCurrentFolder(Unslashed(folder.path()));
    Relist();
    std::string first = StatusText(0);
    Relist();
    CloseHandle(lock);
    DrawingsIndex = nullptr;
    EXPECT_NE(std::string::npos, first.find("Drawing index not available")) << first;
    EXPECT_EQ(std::string::npos, StatusText(0).find("Drawing index")) << StatusText(0);
    EXPECT_EQ((std::vector<std::string>{"2000"}), Column(3));
}

TEST_F(MainWindowTest, ClearDrawingIndexAsksFirst) {
    ScratchFolder home;
    DrawingIndex index;
    ASSERT_TRUE(index.Open(home.file("drawings.db"), 1 << 30));
    IndexedDrawing entry;
    entry.path = home.file("a.dwg");
    index.Put(entry);
    index.Flush();
    DrawingsIndex = &index;
    for (int answer : {IDNO, IDYES}) {
        DialogAnswerer answers;
        answers.Add([answer](HWND dlg) { ClickButton(dlg, answer); });
        SendMessageA(Win.main, WM_COMMAND, IDM_CLEAR_INDEX, 0);
        EXPECT_EQ("Clear Drawing Index", answers.Seen(0).caption);
        EXPECT_EQ(answer == IDNO ? 1 : 0, index.EntryCount());
    }
    DrawingsIndex = nullptr;
}

} // namespace
