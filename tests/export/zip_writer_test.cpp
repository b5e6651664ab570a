#include <gtest/gtest.h>
#include <windows.h>

#include "export/zip_writer.h"
#include "tests/export/zip_readers.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/scratch_folder.h"

namespace {

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

// Read in blocks with its whole 64-bit size: a 32-bit process could not hold it.
TEST(ZipWriter, FileOfFiveGiBIsAZip64EntryReadInBlocks) {
    ScratchFolder folder;
    std::string big = folder.file("huge.dwg");
    {
        HANDLE f = CreateFileA(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, f);
        LARGE_INTEGER size;
        size.QuadPart = 5LL << 30; // sparse: the file system stores no zeros
        EXPECT_TRUE(SetFilePointerEx(f, size, nullptr, FILE_BEGIN) && SetEndOfFile(f));
        CloseHandle(f);
    }
    std::string zip = folder.file("big.zip");
    std::vector<ZipAddResult> results = Pack(folder, zip, {"huge.dwg"});
    ASSERT_EQ(1u, results.size());
    EXPECT_TRUE(AddedWhole(results[0]));
    EXPECT_EQ("", CheckArchive(zip, {Expect("huge.dwg", big)}));
}

} // namespace
