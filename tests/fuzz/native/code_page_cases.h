// Conversions between code pages and UTF-16 as the system makes them, which
// the native fuzzing build's stand-in (native_text.cpp) must make alike: the
// settings tests hold the system to them under Windows, and every fuzz
// target that uses the stand-in holds it to them when it starts.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Which way a case converts: broken text only one way.
enum class Conversion { BothWays, ToUtf16, FromUtf16 };

struct CodePageCase {
    unsigned codePage; // 1252 or 65001 (UTF-8)
    std::string bytes;
    std::vector<uint16_t> units; // the UTF-16 code units of the text
    Conversion way;
};

inline const std::vector<CodePageCase>& CodePageCases() {
    static const std::vector<CodePageCase> cases = {
        {1252, "plan.dwg", {'p', 'l', 'a', 'n', '.', 'd', 'w', 'g'}, Conversion::BothWays},
        // The euro sign, the five bytes Windows-1252 leaves free, letters.
        {1252,
         "\x80\x81\x8D\x8F\x90\x9D\x9F\xE4\xFF",
         {0x20AC, 0x81, 0x8D, 0x8F, 0x90, 0x9D, 0x178, 0xE4, 0xFF},
         Conversion::BothWays},
        {65001,
         "Pl\xC3\xA4ne \xE2\x82\xAC",
         {'P', 'l', 0xE4, 'n', 'e', ' ', 0x20AC},
         Conversion::BothWays},
        // Beyond the first plane: a surrogate pair.
        {65001, "\xF0\x9F\x98\x80", {0xD83D, 0xDE00}, Conversion::BothWays},
        // Broken UTF-8: a byte no sequence begins with, a sequence cut short,
        // an encoded surrogate (broken at its second byte, which goes with
        // the first), an overlong form.
        {65001,
         "a\xFF"
         "b",
         {'a', 0xFFFD, 'b'},
         Conversion::ToUtf16},
        {65001, "a\xE2\x82", {'a', 0xFFFD}, Conversion::ToUtf16},
        {65001, "\xED\xA0\x80", {0xFFFD, 0xFFFD}, Conversion::ToUtf16},
        {65001, "\xC0\xAF", {0xFFFD, 0xFFFD}, Conversion::ToUtf16},
        // A lone surrogate becomes the replacement character.
        {65001, "\xEF\xBF\xBD", {0xD800}, Conversion::FromUtf16},
    };
    return cases;
}
