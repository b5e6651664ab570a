#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>

#include "export/zip_writer.h"
#include "runtime/file_facts.h"
#include "runtime/handles.h"
#include "tests/export/zip_readers.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/unix_command.h"

namespace {

bool AppendBytes(const std::string& path, const std::string& bytes) {
    FileStream out(path.c_str(), "ab");
    return out && std::fwrite(bytes.data(), 1, bytes.size(), out.get()) == bytes.size();
}

// Bytes that deflate cannot shrink much, so blocks really pass through zlib.
std::string NoisyBytes(size_t n) {
    std::string bytes(n, '\0');
    uint32_t x = 2463534242u;
    for (char& c : bytes) {
        x ^= x << 13, x ^= x >> 17, x ^= x << 5;
        c = static_cast<char>(x % 7 ? x : 0); // some runs of zeros
    }
    return bytes;
}

void SetLocalWriteTime(const std::string& path, WORD y, WORD mo, WORD d, WORD h, WORD mi, WORD s) {
    SYSTEMTIME st = {y, mo, 0, d, h, mi, s, 0};
    FILETIME local, utc;
    SystemTimeToFileTime(&st, &local);
    LocalFileTimeToFileTime(&local, &utc);
    HANDLE f = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    SetFileTime(f, nullptr, nullptr, &utc);
    CloseHandle(f);
}

void SetUtcWriteTime(const std::string& path, const SYSTEMTIME& utc) {
    FILETIME time;
    SystemTimeToFileTime(&utc, &time);
    HANDLE f = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    SetFileTime(f, nullptr, nullptr, &time);
    CloseHandle(f);
}

SYSTEMTIME Time(WORD y, WORD mo, WORD d, WORD h, WORD mi, WORD s) {
    return {y, mo, 0, d, h, mi, s, 0};
}

// Packs the files of the folder under their names; returns what each gave.
std::vector<ZipAddResult> Pack(const ScratchFolder& folder, const std::string& zip,
                               const std::vector<std::string>& names) {
    std::vector<ZipAddResult> results;
    zipFile archive = CreateZipArchive(zip);
    EXPECT_NE(nullptr, archive);
    if (!archive) return results;
    for (const std::string& name : names)
        results.push_back(AddFileToZip(archive, folder.file(name), name));
    EXPECT_TRUE(CloseZipArchive(archive));
    return results;
}

bool AddedWhole(const ZipAddResult& r) {
    return !r.unreadable && !r.openFailed && !r.writeFailed && !r.closeFailed && !r.cutShort;
}

TEST(ZipEntryTime, GivesTheCalendarFieldsOfTheLocalWriteTime) {
    ScratchFolder folder;
    std::string file = folder.file("plan.dwg");
    ASSERT_TRUE(WriteBytes(file, "AC1015"));
    SetLocalWriteTime(file, 2009, 6, 15, 10, 15, 1);
    const int expected[] = {0, 6, 15, 2009, 10, 15, 1, 0}; // parts 0..7
    for (int part = 0; part <= 7; ++part)
        EXPECT_EQ(expected[part], ZipEntryTime(file, part)) << "part " << part;
    EXPECT_EQ(0, ZipEntryTime(folder.file("none.dwg"), 3));
}

TEST(ZipWriter, EveryReaderFindsTheFilesWholeWithTheirTimes) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBytes(folder.file("plan.dwg"), MakeDrawingWithoutImages("AC1015", 5000)));
    ASSERT_TRUE(WriteBytes(folder.file("empty.dwg"), ""));
    // More than two read blocks, the last one short.
    ASSERT_TRUE(WriteBytes(folder.file("site.sv$"), NoisyBytes((5 << 19) + 7)));
    SetLocalWriteTime(folder.file("plan.dwg"), 2009, 6, 15, 10, 15, 1); // stored as 10:15:00
    std::vector<std::string> names = {"plan.dwg", "empty.dwg", "site.sv$"};
    std::string zip = folder.file("out.zip");
    for (const ZipAddResult& r : Pack(folder, zip, names))
        EXPECT_TRUE(AddedWhole(r));
    std::vector<ExpectedEntry> entries;
    for (const std::string& name : names)
        entries.push_back(Expect(name, folder.file(name)));
    EXPECT_EQ("", CheckArchive(zip, entries));
}

// The DOS date, local and in two-second steps, holds 1980 to 2107: beyond, it
// is held to that range, and the exact time goes into an extended-timestamp
// field (unsigned, so to 2106) or else an NTFS times field.
TEST(ZipWriter, DatesOutsideTheZipRangeAreHeldToItWithTheExactTimeBeside) {
    ScratchFolder folder;
    struct Case {
        const char* name;
        SYSTEMTIME utc, stored;
    } cases[] = {{"1970.dwg", Time(1970, 6, 15, 8, 0, 0), Time(1980, 1, 1, 0, 0, 0)},
                 {"1975.dwg", Time(1975, 3, 1, 10, 30, 7), Time(1980, 1, 1, 0, 0, 0)},
                 {"2100.dwg", Time(2100, 5, 4, 3, 2, 1), {}},
                 {"2110.dwg", Time(2110, 1, 1, 12, 0, 0), Time(2107, 12, 31, 23, 59, 58)}};
    std::vector<std::string> names;
    std::vector<ExpectedEntry> entries;
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteBytes(folder.file(c.name), MakeDrawingWithoutImages("AC1015", 3000)));
        SetUtcWriteTime(folder.file(c.name), c.utc);
        names.push_back(c.name);
        entries.push_back(Expect(c.name, folder.file(c.name)));
        if (c.stored.wYear) entries.back().localTime = c.stored;
    }
    std::string zip = folder.file("dates.zip");
    Pack(folder, zip, names);
    EXPECT_EQ("", CheckArchive(zip, entries)); // Python's zipfile reads the DOS dates
    std::string unix = ShellQuote(UnixPath(zip));
    std::string zipinfo = RunUnixCommand("TZ=UTC unzip -Z -v " + unix + " | tr -s ' '").output;
    for (const char* line : {"(DOS date/time): 1980 Jan 1 00:00:00",
                             "(UT extra field modtime): 1970 Jun 15 08:00:00 UTC",
                             "(UT extra field modtime): 1975 Mar 1 10:30:07 UTC",
                             "(UT extra field modtime): 2100 May 4 03:02:01 UTC",
                             "(DOS date/time): 2107 Dec 31 23:59:58"})
        EXPECT_NE(std::string::npos, zipinfo.find(line)) << line << "\n" << zipinfo;
    std::string sevenZip = RunUnixCommand("TZ=UTC 7z l -slt " + unix).output;
    EXPECT_NE(std::string::npos, sevenZip.find("Modified = 2110-01-01 12:00:00")) << sevenZip;
}

// The process runs in the zone its TZ names; KORVEX_TZ_RULE=CET tells the
// test that it is one hour east of UTC, with summer time from the last Sunday
// of March to the last Sunday of October. Without it the test is skipped.
TEST(SummerTime, DatesTakeTheOffsetOfTheirOwnDay) {
    const char* rule = std::getenv("KORVEX_TZ_RULE");
    if (!rule || std::string(rule) != "CET") GTEST_SKIP() << "needs central European time";
    ScratchFolder folder;
    struct Case {
        const char* name;
        SYSTEMTIME utc, local;
        const char* modified; // the list's Modified text
    } cases[] = {{"summer.dwg", Time(2010, 7, 1, 12, 0, 0), Time(2010, 7, 1, 14, 0, 0),
                  "07/01/2010 02:00 PM"},
                 {"winter.dwg", Time(2010, 1, 15, 12, 0, 0), Time(2010, 1, 15, 13, 0, 0),
                  "01/15/2010 01:00 PM"}};
    std::vector<std::string> names;
    std::vector<ExpectedEntry> entries;
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteBytes(folder.file(c.name), "AC1015"));
        SetUtcWriteTime(folder.file(c.name), c.utc);
        EXPECT_EQ(c.modified, ModifiedText(folder.file(c.name)));
        names.push_back(c.name);
        entries.push_back({c.name, folder.file(c.name), c.local});
    }
    std::string zip = folder.file("seasons.zip");
    Pack(folder, zip, names);
    EXPECT_EQ("", CheckArchive(zip, entries));
}

// More than 65,535 entries end in zip64 end records, which the archive keeps
// when its last entry is taken out.
TEST(DropLastZipEntry, KeepsTheZip64EndOfALargeArchive) {
    ScratchFolder folder;
    std::string zip = folder.file("many.zip");
    zipFile archive = CreateZipArchive(zip);
    ASSERT_NE(nullptr, archive);
    zip_fileinfo info = {};
    for (int i = 0; i < 65537; ++i) {
        std::string name = "e" + std::to_string(i);
        zipOpenNewFileInZip(archive, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, 0, 0);
        zipWriteInFileInZip(archive, name.data(), static_cast<unsigned>(name.size()));
        zipCloseFileInZip(archive);
    }
    ASSERT_TRUE(CloseZipArchive(archive));
    ASSERT_TRUE(DropLastZipEntry(zip));
    std::string unix = ShellQuote(UnixPath(zip));
    std::vector<UnixRun> runs = RunUnixCommands(
        {"unzip -tqq " + unix + " && 7z t -bd " + unix,
         "python3 -c 'import sys, zipfile; i = zipfile.ZipFile(sys.argv[1]).infolist(); "
         "print(len(i), i[-1].filename)' " +
             unix});
    EXPECT_EQ(0, runs[0].status) << runs[0].output;
    EXPECT_EQ("65536 e65535\n", runs[1].output);
}

// Read in blocks with its whole 64-bit size: a 32-bit process could not hold it.
TEST(ZipWriter, FileOfFiveGiBIsAZip64EntryReadInBlocks) {
    ScratchFolder folder;
    std::string big = folder.file("huge.dwg");
    ASSERT_TRUE(ExtendFile(big, 5ull << 30));
    std::string zip = folder.file("big.zip");
    std::vector<ZipAddResult> results = Pack(folder, zip, {"huge.dwg"});
    ASSERT_EQ(1u, results.size());
    EXPECT_TRUE(AddedWhole(results[0]));
    EXPECT_EQ("", CheckArchive(zip, {Expect("huge.dwg", big)}));
}

// 4.4 GiB, quick from sparse files stored (level 0), with deflated noise
// crossing 2 GiB and past 4 GiB.
TEST(LargeArchive, PastFourGiBPassesEveryReader) {
    const uint64_t MiB = 1 << 20, sizes[] = {2000 * MiB, 112 * MiB, 2400 * MiB, 32 * MiB};
    ScratchFolder folder;
    zipFile archive = CreateZipArchive(folder.file("big.zip"));
    ASSERT_NE(nullptr, archive);
    std::vector<ExpectedEntry> entries;
    const std::string noise = NoisyBytes(16 * MiB); // repeats farther apart than deflate sees
    for (int i = 0; i < 4; ++i) {
        std::string name = std::string(1, 'a' + i) + ".dwg", path = folder.file(name);
        bool noisy = i % 2;
        ASSERT_TRUE(ExtendFile(path, noisy ? 0 : sizes[i]));
        for (uint64_t done = 0; noisy && done < sizes[i]; done += noise.size())
            ASSERT_TRUE(AppendBytes(path, noise));
        EXPECT_TRUE(AddedWhole(AddFileToZip(archive, path, name, nullptr, noisy ? 6 : 0)));
        entries.push_back(Expect(name, path));
    }
    EXPECT_TRUE(CloseZipArchive(archive));
    EXPECT_EQ("", CheckArchive(folder.file("big.zip"), entries));
}

} // namespace

// Names beyond ASCII are stored as UTF-8 and flagged so (bit 11); every
// reader shows them exactly. ASCII names stay as they are, unflagged.
TEST(ZipWriter, NamesInEveryScriptReadTheSameInEveryReader) {
    ScratchFolder folder;
    std::vector<std::string> names = {"\xE4\xB8\xAD\xE6\x96\x87.dwg", "plan-\xC3\xA9.dwg",
                                      "emoji_\xF0\x9F\x93\x90.dwg", "plain.dwg"};
    for (const std::string& name : names)
        ASSERT_TRUE(WriteBytes(folder.file(name), name));
    std::string zip = folder.file("names.zip");
    for (const ZipAddResult& r : Pack(folder, zip, names))
        EXPECT_TRUE(AddedWhole(r));
    std::vector<ExpectedEntry> entries;
    for (const std::string& name : names)
        entries.push_back(Expect(name, folder.file(name)));
    EXPECT_EQ("", CheckArchive(zip, entries)); // Python's names compared exactly

    std::string quoted = ShellQuote(UnixPath(zip)), listed;
    for (const std::string& name : names)
        listed += name + "\n";
    UnixRun unzip = RunUnixCommand("unzip -Z1 " + quoted);
    EXPECT_EQ(listed, unzip.output);
    UnixRun sevenZip = RunUnixCommand("7z l -ba -slt " + quoted + " | sed -n 's/^Path = //p'");
    EXPECT_EQ(listed, sevenZip.output);
    UnixRun flags =
        RunUnixCommand("python3 -c 'import sys, zipfile; print([i.flag_bits >> 11 & 1 for i in "
                       "zipfile.ZipFile(sys.argv[1]).infolist()])' " +
                       quoted);
    EXPECT_EQ("[1, 1, 1, 0]\n", flags.output);
}
