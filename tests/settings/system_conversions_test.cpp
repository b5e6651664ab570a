// The system's conversions between code pages and UTF-16, on which the
// settings file's encodings and the page links rest: held to the same cases
// as the stand-in the native fuzzing build converts with, so that the two
// cannot drift apart unseen.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/fuzz/native/code_page_cases.h"

namespace {

std::string Describe(const CodePageCase& c) {
    std::string text = "code page " + std::to_string(c.codePage) + ", bytes";
    for (unsigned char b : c.bytes)
        text += " " + std::to_string(b);
    return text;
}

} // namespace

TEST(SystemConversions, ConvertAsTheCasesSay) {
    for (const CodePageCase& c : CodePageCases()) {
        SCOPED_TRACE(Describe(c));
        std::wstring units(c.units.begin(), c.units.end());
        if (c.way != Conversion::FromUtf16) {
            std::wstring wide(c.bytes.size() + 1, L'\0');
            int n =
                MultiByteToWideChar(c.codePage, 0, c.bytes.data(), static_cast<int>(c.bytes.size()),
                                    &wide[0], static_cast<int>(wide.size()));
            ASSERT_GT(n, 0);
            EXPECT_EQ(units, wide.substr(0, static_cast<size_t>(n)));
        }
        if (c.way != Conversion::ToUtf16) {
            std::string bytes(4 * units.size(), '\0');
            int n =
                WideCharToMultiByte(c.codePage, 0, units.data(), static_cast<int>(units.size()),
                                    &bytes[0], static_cast<int>(bytes.size()), nullptr, nullptr);
            ASSERT_GT(n, 0);
            EXPECT_EQ(c.bytes, bytes.substr(0, static_cast<size_t>(n)));
        }
    }
}
