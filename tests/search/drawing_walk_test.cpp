// The walk below a folder, without a window: what it finds, in what order it
// goes, how deep it goes, and where it stops.
#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "runtime/app_state.h"
#include "runtime/files.h"
#include "search/drawing_search.h"
#include "tests/search/search_tree.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/unix_tools.h"

namespace {

class DrawingWalk : public ::testing::Test {
  protected:
    void SetUp() override { SearchActive = true; }
    void TearDown() override { SearchActive = false; }

    // Every drawing the walk finds below folder, in the order found.
    std::vector<std::string> Walk(const std::string& folder) {
        std::vector<std::string> found;
        WalkDrawings(folder,
                     [&found](const std::string& path, const DirEntry&) { found.push_back(path); });
        return found;
    }
    static std::vector<std::string> Sorted(std::vector<std::string> v) {
        std::sort(v.begin(), v.end());
        return v;
    }
    ScratchFolder root;
};

TEST_F(DrawingWalk, OnlyTheDwgExtensionInAnyCase) {
    for (const char* name : {"a.dwg", "b.DWG", "x.DwG", "dwg", "x.dwgx", "c.dwt", "d.bak", "e.sv$",
                             "S\\f.dwg", "S\\g.dwg.txt"})
        MakeDrawingFile(root.file(name));
    std::vector<std::string> expected = {root.file("S\\f.dwg"), root.file("a.dwg"),
                                         root.file("b.DWG"), root.file("x.DwG")};
    EXPECT_EQ(Sorted(expected), Sorted(Walk(root.path())));
    // Without the trailing backslash the same.
    EXPECT_EQ(Sorted(expected), Sorted(Walk(Unslashed(root.path()))));
}

TEST_F(DrawingWalk, HiddenAndSystemFoldersAndFiles) {
    MakeDrawingFile(root.file("H\\h.dwg"));
    MakeDrawingFile(root.file("Y\\y.dwg"));
    MakeDrawingFile(root.file("Y\\hidden.dwg"));
    ASSERT_TRUE(SetFileAttributesA(root.file("H").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesA(root.file("Y").c_str(), FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(SetFileAttributesA(root.file("Y\\hidden.dwg").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_NE(0u, GetFileAttributesA(root.file("H").c_str()) & FILE_ATTRIBUTE_HIDDEN);
    ASSERT_NE(0u, GetFileAttributesA(root.file("Y").c_str()) & FILE_ATTRIBUTE_SYSTEM);
    ASSERT_NE(0u, GetFileAttributesA(root.file("Y\\hidden.dwg").c_str()) & FILE_ATTRIBUTE_HIDDEN);
    std::vector<std::string> expected = {root.file("H\\h.dwg"), root.file("Y\\hidden.dwg"),
                                         root.file("Y\\y.dwg")};
    EXPECT_EQ(expected, Sorted(Walk(root.path())));
}

TEST_F(DrawingWalk, EmptyOrMissingRootsFindNothing) {
    EXPECT_TRUE(Walk(root.path()).empty());
    EXPECT_TRUE(Walk(root.file("missing\\")).empty());
    EXPECT_TRUE(Walk("").empty());
}

int entriesReached;

// "\" is the path of no folder: the walk must not take it for the root of
// the current drive (under Wine the whole Unix file system).
TEST_F(DrawingWalk, NoFolderIsNotTheDrivesRoot) {
    entriesReached = 0;
    SearchEntryObserver = [](const std::string&) {
        ++entriesReached;
        SearchActive = false; // one entry tells enough
    };
    Walk("\\");
    SearchEntryObserver = nullptr;
    EXPECT_EQ(0, entriesReached);
}

// A folder met is searched completely before the next entry of its parent.
TEST_F(DrawingWalk, DepthFirstInEnumerationOrder) {
    for (const char* name : {"a.dwg", "P\\b.dwg", "P\\Q\\c.dwg", "P\\Q\\R\\d.dwg", "P\\e.dwg",
                             "S\\f.dwg", "S\\T\\g.dwg", "z.dwg"})
        MakeDrawingFile(root.file(name));
    WalkWatch watch;
    std::vector<std::string> found = Walk(root.path());
    EXPECT_EQ(8u, found.size());
    std::vector<std::string> entries;
    for (const std::string& e : watch.entries())
        if (!IsDots(e)) entries.push_back(e);
    ASSERT_EQ(13u, entries.size()); // 8 drawings and 5 folders
    for (size_t i = 0; i < entries.size(); ++i) {
        if (GetFileAttributesA(entries[i].c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
            // The folder's own entries follow it at once, all together.
            std::string folder = entries[i] + "\\";
            size_t j = i + 1;
            while (j < entries.size() && Inside(entries[j], folder))
                ++j;
            for (size_t k = j; k < entries.size(); ++k)
                EXPECT_FALSE(Inside(entries[k], folder))
                    << entries[k] << " after leaving " << folder;
            EXPECT_GT(j, i + 1) << folder << " was not entered when met";
        }
    }
    // Drawings are reported as their entries are reached.
    std::vector<std::string> drawingsInEntryOrder;
    for (const std::string& e : entries)
        if (!(GetFileAttributesA(e.c_str()) & FILE_ATTRIBUTE_DIRECTORY))
            drawingsInEntryOrder.push_back(e);
    EXPECT_EQ(drawingsInEntryOrder, found);
}

// Folders nested as deep as the path limit allows, with one-letter names.
TEST_F(DrawingWalk, TheDeepestTreeThePathLimitAllows) {
    std::string folder = root.path();
    std::vector<std::string> expected;
    int depth = 0;
    // CreateDirectoryA takes folder paths of up to MAX_PATH - 12 characters.
    while ((folder + "d\\").size() < MAX_PATH - 12 &&
           CreateDirectoryA((folder + "d").c_str(), nullptr)) {
        folder += "d\\";
        ++depth;
        if (depth % 10 == 0) {
            MakeDrawingFile(folder + "x.dwg");
            expected.push_back(folder + "x.dwg");
        }
    }
    ASSERT_GT(depth, 80);
    MakeDrawingFile(folder + "deepest.dwg");
    ASSERT_TRUE(PathExists(folder + "deepest.dwg"));
    expected.push_back(folder + "deepest.dwg");
    EXPECT_EQ(Sorted(expected), Sorted(Walk(root.path())));
}

// A cleared flag stops the whole walk at the entry being reached, however
// deep, even when the next entries are folders.
TEST_F(DrawingWalk, ClearedFlagStopsEveryLevel) {
    for (const char* name : {"a.dwg", "A\\B\\C\\c.dwg", "A\\B\\C\\D1\\d.dwg", "A\\B\\C\\D2\\d.dwg",
                             "A\\B\\C\\D3\\d.dwg", "A\\B\\b.dwg", "A\\E\\e.dwg", "F\\f.dwg"})
        MakeDrawingFile(root.file(name));
    const std::string deep = root.file("A\\B\\C\\");
    size_t stoppedAt = 0;
    WalkWatch* watchPtr = nullptr;
    WalkWatch watch([&](const std::string& path) {
        if (!stoppedAt && Inside(path, deep) && !IsDots(path)) {
            SearchActive = false;
            stoppedAt = watchPtr->entries().size();
        }
    });
    watchPtr = &watch;
    std::vector<std::string> found = Walk(root.path());
    ASSERT_NE(0u, stoppedAt) << "the walk never reached " << deep;
    EXPECT_EQ(stoppedAt, watch.entries().size()) << "entries reached after the stop";
    for (const std::string& path : found)
        EXPECT_FALSE(Inside(path, deep)) << path;
    EXPECT_LT(found.size(), 8u);
}

// Makes link a folder link to target: a junction, else a folder symbolic
// link, else under Wine a Unix symbolic link (which Wine shows as a folder
// link). False when none can be made.
bool MakeFolderLink(const std::string& link, const std::string& target) {
    if (CreateDirectoryA(link.c_str(), nullptr)) {
        HANDLE h = CreateFileA(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            std::wstring print(target.begin(), target.end());
            std::wstring substitute = L"\\??\\" + print;
            // The mount-point reparse buffer, laid out by hand.
            std::vector<BYTE> buffer(16 + (substitute.size() + print.size() + 2) * 2);
            auto put16 = [&buffer](size_t at, size_t v) {
                buffer[at] = static_cast<BYTE>(v);
                buffer[at + 1] = static_cast<BYTE>(v >> 8);
            };
            const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
            std::memcpy(&buffer[0], &tag, 4);
            put16(4, buffer.size() - 8);
            put16(8, 0);
            put16(10, substitute.size() * 2);
            put16(12, (substitute.size() + 1) * 2);
            put16(14, print.size() * 2);
            std::memcpy(&buffer[16], substitute.c_str(), (substitute.size() + 1) * 2);
            std::memcpy(&buffer[16 + (substitute.size() + 1) * 2], print.c_str(),
                        (print.size() + 1) * 2);
            DWORD returned = 0;
            BOOL made =
                DeviceIoControl(h, FSCTL_SET_REPARSE_POINT, buffer.data(),
                                static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr);
            CloseHandle(h);
            if (made && PathExists(link + "\\*")) return true;
        }
        RemoveDirectoryA(link.c_str());
    }
    using CreateLink = BOOLEAN(WINAPI*)(LPCSTR, LPCSTR, DWORD);
    auto create = reinterpret_cast<CreateLink>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateSymbolicLinkA")));
    if (create && create(link.c_str(), target.c_str(), 1 /* a folder */) &&
        PathExists(link + "\\*"))
        return true;
    RemoveDirectoryA(link.c_str());
    std::string unixLink = UnixPath(link), unixTarget = UnixPath(target);
    if (unixLink.empty() || unixTarget.empty()) return false;
    RunUnix("Z:\\bin\\ln -s \"" + unixTarget + "\" \"" + unixLink + "\"");
    return EventuallyTrue([&link] { return PathExists(link + "\\*"); });
}

// Removes a folder link without touching its target; true when it is gone.
bool RemoveFolderLink(const std::string& link) {
    if (!RemoveDirectoryA(link.c_str())) DeleteFileA(link.c_str());
    if (GetFileAttributesA(link.c_str()) != INVALID_FILE_ATTRIBUTES) {
        std::string unixLink = UnixPath(link);
        if (!unixLink.empty()) RunUnix("Z:\\bin\\rm \"" + unixLink + "\"");
    }
    return EventuallyTrue(
        [&link] { return GetFileAttributesA(link.c_str()) == INVALID_FILE_ATTRIBUTES; });
}

TEST_F(DrawingWalk, FolderLinkBackToAnAncestorIsNotWalkedAgain) {
    MakeDrawingFile(root.file("A\\a.dwg"));
    MakeDrawingFile(root.file("A\\B\\b.dwg"));
    const std::string link = root.file("A\\B\\L");
    if (!MakeFolderLink(link, root.file("A")))
        GTEST_SKIP() << "this system makes no folder link (junction or symbolic link)";
    ASSERT_TRUE(PathExists(link + "\\B\\b.dwg"));
    std::vector<std::string> found = Walk(root.path());
    // Undo the link first: removing the tree must not follow it.
    ASSERT_TRUE(RemoveFolderLink(link));
    ASSERT_TRUE(PathExists(root.file("A\\B\\b.dwg")));
    std::vector<std::string> expected = {root.file("A\\B\\b.dwg"), root.file("A\\a.dwg")};
    EXPECT_EQ(expected, Sorted(found));
}

// A folder link to a folder the walk is not inside is walked like any folder.
TEST_F(DrawingWalk, FolderLinkToASiblingIsWalked) {
    MakeDrawingFile(root.file("A\\a.dwg"));
    MakeDrawingFile(root.file("B\\b.dwg"));
    const std::string link = root.file("B\\L");
    if (!MakeFolderLink(link, root.file("A")))
        GTEST_SKIP() << "this system makes no folder link (junction or symbolic link)";
    ASSERT_TRUE(PathExists(link + "\\a.dwg"));
    std::vector<std::string> found = Walk(root.path());
    ASSERT_TRUE(RemoveFolderLink(link));
    std::vector<std::string> expected = {root.file("A\\a.dwg"), root.file("B\\L\\a.dwg"),
                                         root.file("B\\b.dwg")};
    EXPECT_EQ(expected, Sorted(found));
}

} // namespace
