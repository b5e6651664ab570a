#include <gtest/gtest.h>
#include <windows.h>

#include "inspect/dwg_format.h"
#include "inspect/dwg_inspect.h"
#include "runtime/app_state.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/stderr_capture.h"

namespace {

struct VersionCase {
    std::string bytes;
    const char* version;
    bool previewSupported;
};

class DwgVersion : public ::testing::Test {
  protected:
    // Writes the bytes as a drawing and reads its version; the flag is
    // preset to the opposite of what the case expects.
    void Check(const VersionCase& c) {
        std::string path = folder.file("case.dwg");
        ASSERT_TRUE(WriteBytes(path, c.bytes));
        PreviewSupported = !c.previewSupported;
        EXPECT_EQ(c.version, ReadDwgVersion(path)) << "bytes " << c.bytes.substr(0, 6);
        EXPECT_EQ(c.previewSupported, PreviewSupported) << "bytes " << c.bytes.substr(0, 6);
        // A read made on another thread gives the same, and leaves the flag
        // to the reader's caller.
        PreviewSupported = !c.previewSupported;
        DrawingRead read = ReadDrawingAlone(path, false);
        EXPECT_EQ(c.version, read.version) << "bytes " << c.bytes.substr(0, 6);
        EXPECT_EQ(c.previewSupported, read.previewSupported) << "bytes " << c.bytes.substr(0, 6);
        EXPECT_EQ(!c.previewSupported, PreviewSupported) << "bytes " << c.bytes.substr(0, 6);
    }
    ScratchFolder folder;
};

TEST_F(DwgVersion, ReleaseCodesGiveTheirTexts) {
    const VersionCase cases[] = {
        {"AC1002", "2.5", false},
        {"AC1003", "2.6", false},
        {"AC1004", "9", false},
        {"AC1006", "10", false},
        {"AC1009", "11/12", false},
        {"AC1010", "13", true},
        {"AC1011", "13", true},
        {"AC1012", "13", true},
        {"AC1013", "14", true},
        {"AC1014", "14", true},
        {"AC1015", "2000", true},
        {"AC1018", "2004", true},
        {"AC1021", "2007", true},
        {"AC1024", "2010", true},
        {"AC1027", "2013", true},
        {"AC1032", "2018", true},
        {"AC1025", "Unknown Version", true},
        {"AC1033", "Unknown Version", true},
        {"AC1001", "Unknown Version", false},
        {"AC1016", "Unknown Version", true},
        {"AC1008", "Unknown Version", false},
    };
    for (const VersionCase& c : cases)
        Check({c.bytes + std::string(20, '\0'), c.version, c.previewSupported});
}

TEST_F(DwgVersion, OnlyBytesFourAndFiveCount) {
    Check({"XY1015 and then anything", "2000", true});
    Check({"AC10" + std::string("15") + "garbage", "2000", true});
    Check({"text15", "2000", true});
}

TEST_F(DwgVersion, ShortAndOddCodes) {
    Check({"AC101", "Unknown Version", false});                      // one-character code "1"
    Check({"AC10", "Unknown Version", false});                       // empty code
    Check({"", "Unknown Version", false});                           // empty file
    Check({std::string("AC101\0xyz", 9), "Unknown Version", false}); // "1" then a zero byte
    Check({"AC109 rest", "Unknown Version", false});                 // atoi reads 9
    Check({"AC10 9rest", "Unknown Version", false});                 // atoi skips the blank: 9
    Check({"AC10 12345", "Unknown Version", false});                 // atoi reads " 1" as 1
}

TEST_F(DwgVersion, MissingFileLeavesPreviewSupportedSet) {
    PreviewSupported = false;
    EXPECT_EQ("File Not Found", ReadDwgVersion(folder.file("nothing.dwg")));
    EXPECT_TRUE(PreviewSupported);
}

TEST_F(DwgVersion, LockedDrawingIsReportedAndNotFatal) {
    std::string path = folder.file("locked.dwg");
    ASSERT_TRUE(WriteBytes(path, "AC1015" + std::string(30, '\0')));
    HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    StderrCapture err;
    PreviewSupported = true;
    EXPECT_EQ("Unknown Version", ReadDwgVersion(path));
    EXPECT_TRUE(PreviewSupported); // unreadable, not an old release
    EXPECT_EQ("Can't open file " + path + "\n", err.finish());
    CloseHandle(lock);
}

TEST(ReleaseCode, ZeroByteEndsTheCode) {
    std::string bytes("AC10\0"
                      "5",
                      6);
    EXPECT_EQ("", ReleaseCodeOf(MemoryReader(bytes)));
    std::string one("AC101\0", 6);
    EXPECT_EQ("1", ReleaseCodeOf(MemoryReader(one)));
}

} // namespace
