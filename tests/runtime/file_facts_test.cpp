#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>

#include "runtime/file_facts.h"
#include "runtime/files.h"
#include "runtime/long_paths.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/scratch_folder.h"

namespace {

TEST(PathParts, NameAndFolder) {
    EXPECT_EQ("a.dwg", FileNamePart("C:\\dwg\\a.dwg"));
    EXPECT_EQ("a.dwg", FileNamePart("a.dwg"));
    EXPECT_EQ("", FileNamePart("C:\\dwg\\"));
    EXPECT_EQ("C:\\dwg\\", FolderPart("C:\\dwg\\a.dwg"));
    EXPECT_EQ("", FolderPart("a.dwg"));
    EXPECT_EQ("C:\\", WithTrailingBackslash("C:\\"));
    EXPECT_EQ("C:\\dwg\\", WithTrailingBackslash("C:\\dwg"));
    EXPECT_EQ("\\", WithTrailingBackslash(""));
}

// A wildcard path exists when an entry matches it; any other path when its
// attributes can be read.
TEST(PathParts, ExistenceOfPathsAndPatterns) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBytes(folder.file("plan.dwg"), "AC1015"));
    EXPECT_TRUE(PathExists(folder.file("plan.dwg")));
    EXPECT_TRUE(PathExists(folder.path()));
    EXPECT_TRUE(PathExists(folder.file("*.dwg")));
    EXPECT_TRUE(PathExists(folder.file("pl?n.*")));
    EXPECT_FALSE(PathExists(folder.file("*.dwt")));
    EXPECT_FALSE(PathExists(folder.file("plan.dwg") + "\\"));
    EXPECT_FALSE(PathExists(folder.file("gone.dwg")));
    EXPECT_FALSE(PathExists(""));
}

// Drawings are read while the user works on the folder: a drawing being
// read can still be renamed and deleted.
TEST(PathParts, FileOpenForReadingCanBeRenamedAndDeleted) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBytes(folder.file("a.dwg"), "AC1015"));
    HANDLE reading = OpenForReading(folder.file("a.dwg"), 0);
    ASSERT_NE(INVALID_HANDLE_VALUE, reading);
    EXPECT_TRUE(MoveFileA(folder.file("a.dwg").c_str(), folder.file("b.dwg").c_str()));
    EXPECT_TRUE(DeleteFileA(folder.file("b.dwg").c_str()));
    CloseHandle(reading);
    EXPECT_FALSE(PathExists(folder.file("b.dwg")));
}

TEST(SizeTexts, KilobytesGroupedByThree) {
    EXPECT_EQ("0 KB", KbText(0));
    EXPECT_EQ("0 KB", KbText(1023));
    EXPECT_EQ("1 KB", KbText(1024));
    EXPECT_EQ("999 KB", KbText(999 * 1024));
    EXPECT_EQ("1,000 KB", KbText(1000 * 1024));
    EXPECT_EQ("1,024 KB", KbText(1048576));
    EXPECT_EQ("120,563 KB", KbText(123456789));
    EXPECT_EQ("4,194,303 KB", KbText(4194303ull * 1024));
    EXPECT_EQ("4,194,304 KB", KbText(4294967296ull));
    EXPECT_EQ("4,194,306 KB", KbText(4294967296ull + 2048));
}

TEST(SizeTexts, FilesOnDisk) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBytes(folder.file("small.dwg"), std::string(1023, 'x')));
    ASSERT_TRUE(WriteBytes(folder.file("kb.dwg"), std::string(2048, 'x')));
    EXPECT_EQ("0 KB", SizeText(folder.file("small.dwg")));
    EXPECT_EQ("2 KB", SizeText(folder.file("kb.dwg")));
    EXPECT_EQ("0 KB", SizeText(folder.file("missing.dwg")));
    EXPECT_EQ("0 KB", SizeText(""));
}

TEST(SizeTexts, WholeSizeOfAFileBeyondFourGigabytes) {
    ScratchFolder folder;
    std::string path = folder.file("huge.dwg");
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, f);
    LARGE_INTEGER size;
    size.QuadPart = 4294967296ll + 2048;
    bool sized = SetFilePointerEx(f, size, nullptr, FILE_BEGIN) && SetEndOfFile(f);
    CloseHandle(f);
    if (!sized) GTEST_SKIP() << "this file system cannot hold a 4 GiB file";
    EXPECT_EQ("4,194,306 KB", SizeText(path));
}

// Sets a file's last-write time to the given UTC time.
void SetWriteTime(const std::string& path, WORD year, WORD month, WORD day, WORD hour,
                  WORD minute) {
    SYSTEMTIME st = {};
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    st.wHour = hour;
    st.wMinute = minute;
    FILETIME ft;
    ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
    HANDLE f =
        CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, f);
    ASSERT_TRUE(SetFileTime(f, nullptr, nullptr, &ft));
    CloseHandle(f);
}

// The process runs in the zone its TZ names; KORVEX_TZ_EAST_MINUTES tells the
// test how far east of UTC that is. Without it the test is skipped.
int ZoneEastMinutes(bool& known) {
    const char* east = std::getenv("KORVEX_TZ_EAST_MINUTES");
    known = east && *east;
    return known ? std::atoi(east) : 0;
}

TEST(ModifiedTexts, OneHourEastOfUtc) {
    bool known;
    if (ZoneEastMinutes(known) != 60 || !known) GTEST_SKIP() << "needs a zone one hour east";
    ScratchFolder folder;
    std::string path = folder.file("a.dwg");
    ASSERT_TRUE(WriteBytes(path, "x"));
    SetWriteTime(path, 2010, 12, 31, 23, 30);
    EXPECT_EQ("01/01/2011 12:30 AM", ModifiedText(path));
    SetWriteTime(path, 2010, 3, 7, 13, 5);
    EXPECT_EQ("03/07/2010 02:05 PM", ModifiedText(path));
    SetWriteTime(path, 2010, 3, 7, 23, 0);
    EXPECT_EQ("03/08/2010 12:00 AM", ModifiedText(path));
    SetWriteTime(path, 2010, 3, 7, 11, 0);
    EXPECT_EQ("03/07/2010 12:00 PM", ModifiedText(path));
}

TEST(ModifiedTexts, MissingFileGivesEmptyText) {
    ScratchFolder folder;
    EXPECT_EQ("", ModifiedText(folder.file("gone.dwg")));
    EXPECT_EQ("", ModifiedText(""));
}

TEST(AttributeTexts, LettersInFixedOrder) {
    EXPECT_EQ("", AttributeLetters(FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ("A", AttributeLetters(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ("RA", AttributeLetters(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ("HSA", AttributeLetters(FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                      FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ("RDC", AttributeLetters(FILE_ATTRIBUTE_COMPRESSED | FILE_ATTRIBUTE_DIRECTORY |
                                      FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ("", AttributeLetters(FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE));
}

TEST(AttributeTexts, FilesOnDisk) {
    ScratchFolder folder;
    std::string file = folder.file("f.dwg");
    ASSERT_TRUE(WriteBytes(file, "x"));
    ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                                     FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ("HSA", AttributeText(file));
    ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ("RA", AttributeText(file));
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_NE(std::string::npos, AttributeText(folder.path()).find('D'));
    EXPECT_EQ("", AttributeText(folder.file("missing")));
}

} // namespace
