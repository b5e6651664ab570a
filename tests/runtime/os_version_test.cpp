#include <gtest/gtest.h>

#include "runtime/win_helpers.h"

namespace {

const DWORD Win32s = VER_PLATFORM_WIN32s, Win9x = VER_PLATFORM_WIN32_WINDOWS,
            NT = VER_PLATFORM_WIN32_NT;

TEST(OsVersionCode, Windows9xReleasesAndOthers) {
    EXPECT_EQ(0, OsVersionCodeFor(Win32s, 3, 10));
    EXPECT_EQ(0, OsVersionCodeFor(Win32s, 4, 0));
    EXPECT_EQ(1, OsVersionCodeFor(Win9x, 4, 0));
    EXPECT_EQ(2, OsVersionCodeFor(Win9x, 4, 10));
    EXPECT_EQ(3, OsVersionCodeFor(Win9x, 4, 90));
    EXPECT_EQ(0, OsVersionCodeFor(Win9x, 4, 20));
    EXPECT_EQ(0, OsVersionCodeFor(Win9x, 5, 0));
}

TEST(OsVersionCode, NtReleasesInTableOrder) {
    EXPECT_EQ(4, OsVersionCodeFor(NT, 3, 51));
    EXPECT_EQ(0, OsVersionCodeFor(NT, 3, 50));
    EXPECT_EQ(5, OsVersionCodeFor(NT, 4, 0));
    EXPECT_EQ(6, OsVersionCodeFor(NT, 5, 0));
    EXPECT_EQ(7, OsVersionCodeFor(NT, 5, 1));
    EXPECT_EQ(8, OsVersionCodeFor(NT, 5, 2));
    EXPECT_EQ(8, OsVersionCodeFor(NT, 5, 3));
    EXPECT_EQ(9, OsVersionCodeFor(NT, 6, 0));
    EXPECT_EQ(10, OsVersionCodeFor(NT, 6, 1));
    EXPECT_EQ(11, OsVersionCodeFor(NT, 6, 2));
    EXPECT_EQ(11, OsVersionCodeFor(NT, 6, 3));
    EXPECT_EQ(11, OsVersionCodeFor(NT, 7, 2));
    EXPECT_EQ(0, OsVersionCodeFor(NT, 10, 0));
    EXPECT_EQ(0, OsVersionCodeFor(NT, 7, 1));
}

TEST(OsVersionCode, UnknownPlatform) {
    EXPECT_EQ(-1, OsVersionCodeFor(3, 6, 1));
    EXPECT_EQ(-1, OsVersionCodeFor(99, 5, 1));
}

TEST(OsVersionCode, ReadsTheRunningSystem) {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(OsVersionCodeFor(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion),
              OsVersionCode());
}

} // namespace
