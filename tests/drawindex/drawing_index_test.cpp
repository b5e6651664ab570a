// The drawing index on a database of the test's own.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "drawindex/drawing_index.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/run_program.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/unix_command.h"

namespace {

const DrawingFacts kFacts{1234, 130000000000000000ull, 129000000000000000ull};

IndexedDrawing Entry(const std::string& path, const std::string& version = "2000",
                     size_t propertyBytes = 0) {
    IndexedDrawing entry;
    entry.path = path;
    entry.facts = kFacts;
    entry.version = version;
    // Bytes that do not compress, behind the layout's version byte.
    entry.properties.assign(1, '\x01');
    for (size_t i = 0; i < propertyBytes; ++i)
        entry.properties += static_cast<char>((i * 2654435761u) >> 13);
    return entry;
}

bool Has(DrawingIndex& index, const std::string& path, const DrawingFacts& facts = kFacts) {
    IndexedDrawing found;
    return index.Find(path, facts, found, false);
}

TEST(DrawingIndex, AnEntryServesOnlyTheSameDrawingUnchanged) {
    ScratchFolder folder;
    DrawingIndex index;
    ASSERT_TRUE(index.Open(folder.file("drawings.db"), 1 << 30));
    std::string plan = folder.file("Plan \xC3\xA4.dwg"); // "Plan ä.dwg"
    std::string deep = folder.file(std::string(300, 'd') + "\\plan.dwg");
    index.Put(Entry(plan));
    index.Put(Entry(deep));
    index.Flush();
    DrawingFacts size = kFacts, written = kFacts, created = kFacts;
    ++size.size, ++written.lastWrite, ++created.created;
    struct Case {
        const char* what;
        std::string path;
        DrawingFacts facts;
        bool found;
    } cases[] = {
        {"same", plan, kFacts, true},
        {"size changed", plan, size, false},
        {"written again", plan, written, false},
        {"made anew", plan, created, false},
        {"renamed", folder.file("Plan b.dwg"), kFacts, false},
        {"case-only rename", folder.file("PLAN \xC3\x84.DWG"), kFacts, true},
        {"beyond MAX_PATH", "\\\\?\\" + deep, kFacts, true},
        {"other slashes", folder.file("plan \xC3\xA4.dwg").replace(2, 1, "/"), kFacts, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.found, Has(index, c.path, c.facts)) << c.what;

    // Moved away: the folder's next listing forgets it; back, it is read
    // and written again. A name still there in another case is kept.
    index.ForgetGone(folder.path(), [](std::vector<std::string>& names) {
        names = {".", "..", "other.dwg"};
        return true;
    });
    index.Put(Entry(folder.file("kept.dwg")));
    index.ForgetGone(folder.path(), [](std::vector<std::string>& names) {
        names = {".", "KEPT.DWG"};
        return true;
    });
    index.Flush();
    EXPECT_FALSE(Has(index, plan)) << "moved away";
    EXPECT_TRUE(Has(index, folder.file("kept.dwg")));
    index.Put(Entry(plan));
    index.Flush();
    EXPECT_TRUE(Has(index, plan)) << "moved back";

    // The thumbnail comes back as it was made, for the cell it was made for.
    std::vector<uint8_t> cell(40 * 32 * 4);
    for (size_t i = 0; i < cell.size(); ++i)
        cell[i] = i % 4 == 3 ? 0 : static_cast<uint8_t>(i * 7);
    CellFormat format{40, 32, 0xFFFFFF, false};
    index.PutCell(plan, kFacts, IndexedCell::kPicture, format, cell);
    index.Flush();
    IndexedDrawing found;
    ASSERT_TRUE(index.Find(plan, kFacts, found, true));
    EXPECT_TRUE(found.format == format);
    EXPECT_EQ(1, PropertiesVersion(found.properties));
    std::vector<uint8_t> back;
    ASSERT_TRUE(DecodeCellPicture(reinterpret_cast<const uint8_t*>(found.picture.data()),
                                  found.picture.size(), 40, 32, back));
    EXPECT_EQ(cell, back);
    EXPECT_FALSE(DecodeCellPicture(reinterpret_cast<const uint8_t*>(found.picture.data()),
                                   found.picture.size(), 41, 32, back));

    EXPECT_TRUE(index.Clear());
    EXPECT_EQ(0, index.EntryCount());
    EXPECT_FALSE(Has(index, plan));
}

// A database of a few hundred kilobytes, the file at `file`.
void MakeFullDatabase(const std::string& file) {
    DrawingIndex index;
    ASSERT_TRUE(index.Open(file, 1 << 30));
    for (int i = 0; i < 100; ++i)
        index.Put(Entry("C:\\d\\" + std::to_string(i) + ".dwg", "2000", 3000));
    index.Flush();
}

TEST(DrawingIndex, ADamagedDatabaseIsSetAsideAndMadeAnew) {
    struct Case {
        const char* what;
        std::function<void(const std::string& file)> damage;
    } cases[] = {
        {"junk bytes", [](const std::string& file) { WriteBytes(file, std::string(9000, 'j')); }},
        {"cut short",
         [](const std::string& file) {
             MakeFullDatabase(file);
             WriteBytes(file, ReadBytes(file).substr(0, 50000));
         }},
        {"a folder in its place",
         [](const std::string& file) { CreateDirectoryA(file.c_str(), nullptr); }},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        std::string file = folder.file("drawings.db");
        c.damage(file);
        DrawingIndex index;
        ASSERT_TRUE(index.Open(file, 1 << 30)) << c.what;
        // Damage may only show when an entry is read.
        Has(index, "C:\\d\\7.dwg");
        if (index.damaged()) {
            EXPECT_NE("", index.TakeProblem()) << c.what;
            ASSERT_TRUE(index.Reopen()) << c.what;
        }
        index.Put(Entry("C:\\d\\new.dwg"));
        index.Flush();
        EXPECT_TRUE(Has(index, "C:\\d\\new.dwg")) << c.what;
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((file + ".damaged").c_str()))
            << c.what;
    }
}

TEST(DrawingIndex, AFullOrReadOnlyDiskKeepsWhatIsThereAndIsToldOnce) {
    ScratchFolder folder;
    std::string unixFolder = UnixPath(Unslashed(folder.path()));
    UnixRun mount = RunUnixCommand("mount -t tmpfs -o size=256k kvx " + ShellQuote(unixFolder));
    if (mount.status != 0) GTEST_SKIP() << "no small file system to be had: " << mount.output;
    {
        DrawingIndex index;
        ASSERT_TRUE(index.Open(folder.file("drawings.db"), 1 << 30));
        index.Put(Entry("C:\\d\\first.dwg"));
        index.Flush();
        for (int i = 0; i < 200; ++i)
            index.Put(Entry("C:\\d\\" + std::to_string(i) + ".dwg", "2000", 3000));
        index.Flush();
        EXPECT_TRUE(Has(index, "C:\\d\\first.dwg"));
        EXPECT_NE("", index.TakeProblem());
        EXPECT_EQ("", index.TakeProblem());
    }
    RunUnixCommand("mount -o remount,ro " + ShellQuote(unixFolder));
    {
        // Its entries are read, or it is told that it cannot be used.
        DrawingIndex index;
        if (index.Open(folder.file("drawings.db"), 1 << 30))
            EXPECT_TRUE(Has(index, "C:\\d\\first.dwg"));
        else
            EXPECT_NE("", index.TakeProblem());
        index.Put(Entry("C:\\d\\later.dwg"));
        index.Flush();
    }
    RunUnixCommand("umount " + ShellQuote(unixFolder));
}

// This test program, started again as the other program, writes its half.
TEST(DrawingIndex, TwoProgramsShareOneDatabase) {
    const char* other = std::getenv("KORVEX_OTHER_INDEX");
    ScratchFolder folder;
    std::string file = other ? other : folder.file("drawings.db");
    DrawingIndex index;
    ASSERT_TRUE(index.Open(file, 1 << 30));
    std::thread second;
    DWORD secondExit = 0;
    if (!other) {
        SetEnvironmentVariableA("KORVEX_OTHER_INDEX", file.c_str());
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        std::string command =
            std::string("\"") + self + "\" --gtest_filter=DrawingIndex.TwoProgramsShareOneDatabase";
        second = std::thread([command, &secondExit] { secondExit = RunProgram(command); });
    }
    for (int i = other ? 1 : 0; i < 400; i += 2) {
        index.Put(Entry("C:\\d\\" + std::to_string(i) + ".dwg"));
        if (i % 40 < 2) index.Flush();
    }
    index.Flush();
    if (other) return;
    second.join();
    SetEnvironmentVariableA("KORVEX_OTHER_INDEX", nullptr);
    EXPECT_EQ(0u, secondExit);
    EXPECT_EQ(400, index.EntryCount());
    EXPECT_TRUE(Has(index, "C:\\d\\11.dwg"));
}

TEST(DrawingIndex, TheBoundDropsTheEntriesSeenLongestAgo) {
    ScratchFolder folder;
    const int64_t bound = 400 << 10;
    DrawingIndex index;
    ASSERT_TRUE(index.Open(folder.file("drawings.db"), bound));
    auto path = [](int i) { return "C:\\d\\" + std::to_string(i) + ".dwg"; };
    for (int i = 0; i < 400; ++i) {
        index.Put(Entry(path(i), "2000", 3000));
        // The first drawing is seen again and again: it stays.
        if (i % 20 == 19) {
            index.Flush();
            EXPECT_TRUE(Has(index, path(0))) << i;
        }
    }
    index.Flush();
    EXPECT_TRUE(Has(index, path(0)));
    EXPECT_FALSE(Has(index, path(1)));
    EXPECT_TRUE(Has(index, path(399)));
    EXPECT_LT(index.EntryCount(), 400);
    EXPECT_LE(index.SizeInBytes(), bound + (64 << 10));
}

} // namespace
