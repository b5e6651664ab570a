// The code-page conversions of the native fuzzing build, following the
// system's: a length of -1 takes the text up to and including its zero byte,
// an empty text or a buffer too small gives 0, a buffer size of 0 asks for the
// length; invalid UTF-8 and lone surrogates become U+FFFD, and a character
// Windows-1252 lacks becomes the default character ("?"; the system may pick
// a look-alike instead, one byte all the same).
#include <windows.h>

#include "tests/fuzz/native/code_page_cases.h"

#include <algorithm>
#include <cwctype>
#include <cstring>
#include <string>
#include <vector>

UINT NativeAnsiCodePage = 1252;

namespace {

constexpr uint16_t kReplacement = 0xFFFD;

// Windows-1252 from 0x80 to 0x9F; the five bytes it leaves free stand for the
// control characters of the same value.
constexpr uint16_t kHigh1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

UINT Resolved(UINT codePage) {
    return codePage == CP_ACP ? NativeAnsiCodePage : codePage;
}

void PutCodePoint(std::vector<uint16_t>& units, uint32_t c) {
    if (c < 0x10000) {
        units.push_back(static_cast<uint16_t>(c));
    } else {
        c -= 0x10000;
        units.push_back(static_cast<uint16_t>(0xD800 + (c >> 10)));
        units.push_back(static_cast<uint16_t>(0xDC00 + (c & 0x3FF)));
    }
}

bool IsContinuation(uint8_t b) {
    return b >= 0x80 && b <= 0xBF;
}

// UTF-8 to UTF-16; each broken sequence becomes one replacement character.
// A sequence is broken where a byte does not continue it, and already at its
// second byte when that makes an overlong form, a surrogate or a character
// past U+10FFFF: those two bytes are one broken sequence, as the system
// reads them.
std::vector<uint16_t> FromUtf8(const uint8_t* s, size_t n) {
    std::vector<uint16_t> units;
    units.reserve(n);
    for (size_t i = 0; i < n;) {
        const uint8_t b = s[i];
        int more = 0;
        uint32_t c = 0;
        if (b < 0x80) {
            units.push_back(b);
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            more = 1, c = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            more = 2, c = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            more = 3, c = b & 0x07;
        } else {
            units.push_back(kReplacement);
            ++i;
            continue;
        }
        size_t j = i + 1;
        for (int k = 0; k < more && j < n && IsContinuation(s[j]); ++k, ++j) {
            c = c << 6 | (s[j] & 0x3F);
            const bool second = k == 0;
            if (second && ((b == 0xE0 && s[j] < 0xA0) || (b == 0xED && s[j] > 0x9F) ||
                           (b == 0xF0 && s[j] < 0x90) || (b == 0xF4 && s[j] > 0x8F))) {
                ++j;
                break;
            }
        }
        const bool whole = j - i == static_cast<size_t>(more) + 1 && (more < 2 || c >= 0x800) &&
                           !(c >= 0xD800 && c <= 0xDFFF) && (more < 3 || c >= 0x10000);
        if (whole)
            PutCodePoint(units, c);
        else
            units.push_back(kReplacement);
        i = j;
    }
    return units;
}

std::vector<uint16_t> From1252(const uint8_t* s, size_t n) {
    std::vector<uint16_t> units;
    units.reserve(n);
    for (size_t i = 0; i < n; ++i)
        units.push_back(s[i] >= 0x80 && s[i] < 0xA0 ? kHigh1252[s[i] - 0x80] : s[i]);
    return units;
}

void PutUtf8(std::string& out, uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string ToUtf8(const std::vector<uint16_t>& units) {
    std::string out;
    for (size_t i = 0; i < units.size(); ++i) {
        uint32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacement;
        }
        PutUtf8(out, c);
    }
    return out;
}

std::string To1252(const std::vector<uint16_t>& units, char defaultChar, bool& usedDefault) {
    std::string out;
    for (uint16_t c : units) {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
            continue;
        }
        const uint16_t* hit = std::find(kHigh1252, kHigh1252 + 32, c);
        if (hit != kHigh1252 + 32) {
            out += static_cast<char>(0x80 + (hit - kHigh1252));
        } else {
            out += defaultChar;
            usedDefault = true;
        }
    }
    return out;
}

// The length a text of `count` elements (-1: up to and including its zero)
// has; false for a count the system refuses.
template <typename T> bool TextLength(const T* text, int count, size_t& length) {
    if (!text || count == 0 || count < -1) return false;
    if (count > 0) {
        length = static_cast<size_t>(count);
        return true;
    }
    length = 0;
    while (text[length] != 0)
        ++length;
    ++length;
    return true;
}

} // namespace

UINT GetACP() {
    return NativeAnsiCodePage;
}

int GetLocaleInfoA(DWORD, DWORD, LPSTR data, int size) {
    if (!data || size < 5) return 0;
    std::memcpy(data, "1252", 5);
    return 5;
}

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int bytes, LPWSTR wide,
                        int wideChars) {
    size_t length;
    codePage = Resolved(codePage);
    if (!TextLength(text, bytes, length) || wideChars < 0) return 0;
    const uint8_t* s = reinterpret_cast<const uint8_t*>(text);
    std::vector<uint16_t> units;
    if (codePage == CP_UTF8) {
        units = FromUtf8(s, length);
        // Broken UTF-8 is refused when asked: only well-formed text comes
        // back from the units byte for byte.
        if ((flags & MB_ERR_INVALID_CHARS) && ToUtf8(units) != std::string(text, length)) return 0;
    } else if (codePage == 1252)
        units = From1252(s, length);
    else
        return 0;
    if (wideChars == 0) return static_cast<int>(units.size());
    if (!wide || units.size() > static_cast<size_t>(wideChars)) return 0;
    for (size_t i = 0; i < units.size(); ++i)
        wide[i] = static_cast<wchar_t>(units[i]);
    return static_cast<int>(units.size());
}

int WideCharToMultiByte(UINT codePage, DWORD, LPCWSTR wide, int wideChars, LPSTR text, int bytes,
                        LPCSTR defaultChar, LPBOOL usedDefault) {
    size_t length;
    codePage = Resolved(codePage);
    if (!TextLength(wide, wideChars, length) || bytes < 0) return 0;
    std::vector<uint16_t> units;
    units.reserve(length);
    for (size_t i = 0; i < length; ++i)
        units.push_back(static_cast<uint16_t>(wide[i]));
    std::string out;
    if (codePage == CP_UTF8) {
        // The system takes no default character for UTF-8.
        if (defaultChar || usedDefault) return 0;
        out = ToUtf8(units);
    } else if (codePage == 1252) {
        bool used = false;
        out = To1252(units, defaultChar ? *defaultChar : '?', used);
        if (usedDefault) *usedDefault = used ? TRUE : FALSE;
    } else {
        return 0;
    }
    if (bytes == 0) return static_cast<int>(out.size());
    if (!text || out.size() > static_cast<size_t>(bytes)) return 0;
    std::memcpy(text, out.data(), out.size());
    return static_cast<int>(out.size());
}

bool NativeTextMatchesSystem() {
    for (const CodePageCase& c : CodePageCases()) {
        std::vector<wchar_t> wide(c.units.begin(), c.units.end());
        if (c.way != Conversion::FromUtf16) {
            std::vector<wchar_t> got(c.bytes.size() + 1);
            int n =
                MultiByteToWideChar(c.codePage, 0, c.bytes.data(), static_cast<int>(c.bytes.size()),
                                    got.data(), static_cast<int>(got.size()));
            if (std::vector<wchar_t>(got.begin(), got.begin() + n) != wide) return false;
        }
        if (c.way != Conversion::ToUtf16) {
            std::string got(4 * wide.size(), '\0');
            int n = WideCharToMultiByte(c.codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                        &got[0], static_cast<int>(got.size()), nullptr, nullptr);
            if (got.substr(0, static_cast<size_t>(n)) != c.bytes) return false;
        }
    }
    return true;
}

DWORD CharUpperBuffW(LPWSTR text, DWORD length) {
    for (DWORD i = 0; i < length; ++i) {
        wchar_t c = text[i];
        if (c < 0xD800 || (c > 0xDFFF && c < 0x10000)) {
            wint_t upper = std::towupper(static_cast<wint_t>(c));
            if (upper < 0x10000) text[i] = static_cast<wchar_t>(upper);
        }
    }
    return length;
}
