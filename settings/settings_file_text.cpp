#include "settings/settings_file_text.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

static const char Utf8Mark[] = "\xEF\xBB\xBF";
static const char Utf16LEMark[] = "\xFF\xFE";
static const char Utf16BEMark[] = "\xFE\xFF";

static bool StartsWith(const std::string& bytes, const char* mark) {
    return bytes.compare(0, std::strlen(mark), mark) == 0;
}

static std::wstring Widen(UINT codePage, const std::string& text) {
    if (text.empty()) return std::wstring();
    int n =
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    if (n > 0)
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return wide;
}

static std::string Narrow(UINT codePage, const std::wstring& wide) {
    if (wide.empty()) return std::string();
    int n = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string text(static_cast<size_t>(n), '\0');
    if (n > 0)
        WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), &text[0], n,
                            nullptr, nullptr);
    return text;
}

// UTF-16 code units from bytes in either order; an odd last byte is dropped.
static std::wstring Utf16FromBytes(const std::string& bytes, size_t start, bool bigEndian) {
    std::wstring wide;
    for (size_t i = start; i + 1 < bytes.size(); i += 2) {
        unsigned char a = static_cast<unsigned char>(bytes[i]);
        unsigned char b = static_cast<unsigned char>(bytes[i + 1]);
        wide.push_back(static_cast<wchar_t>(bigEndian ? (a << 8) | b : (b << 8) | a));
    }
    return wide;
}

static std::string BytesFromUtf16(const std::wstring& wide, bool bigEndian) {
    std::string bytes;
    for (wchar_t c : wide) {
        char high = static_cast<char>((c >> 8) & 0xFF), low = static_cast<char>(c & 0xFF);
        bytes.push_back(bigEndian ? high : low);
        bytes.push_back(bigEndian ? low : high);
    }
    return bytes;
}

// Text of 8-bit characters holds no NUL byte. UTF-16 holds one in every
// character below U+0100, which every bracket, "=", line end and key name is:
// in the high byte of the pair, the second in little-endian order, the first
// in big-endian. A file is taken for UTF-16 without a mark when a quarter of
// its pairs (of the first 64 KB) have a NUL on one side and a character on
// the other, and more on that side than on the other.
static bool LooksLikeUtf16(const std::string& bytes, bool& bigEndian) {
    size_t pairs = (bytes.size() < 65536 ? bytes.size() : 65536) / 2;
    size_t little = 0, big = 0;
    for (size_t i = 0; i < pairs; ++i) {
        bool first = bytes[2 * i] == '\0', second = bytes[2 * i + 1] == '\0';
        if (second && !first) ++little;
        if (first && !second) ++big;
    }
    bigEndian = big > little;
    size_t most = bigEndian ? big : little;
    return pairs > 0 && most != (bigEndian ? little : big) && most * 4 >= pairs;
}

SettingsText DecodeSettingsFile(const std::string& bytes) {
    SettingsText text;
    bool bigEndian = false;
    if (StartsWith(bytes, Utf8Mark)) {
        text.encoding = SettingsEncoding::Utf8;
        text.lines = bytes.substr(3);
    } else if (StartsWith(bytes, Utf16LEMark) || StartsWith(bytes, Utf16BEMark)) {
        bigEndian = StartsWith(bytes, Utf16BEMark);
        text.encoding = bigEndian ? SettingsEncoding::Utf16BE : SettingsEncoding::Utf16LE;
        text.lines = Narrow(CP_UTF8, Utf16FromBytes(bytes, 2, bigEndian));
    } else if (LooksLikeUtf16(bytes, bigEndian)) {
        text.encoding = bigEndian ? SettingsEncoding::Utf16BE : SettingsEncoding::Utf16LE;
        text.withoutMark = true;
        text.lines = Narrow(CP_UTF8, Utf16FromBytes(bytes, 0, bigEndian));
    } else {
        text.lines = bytes;
    }
    return text;
}

std::string EncodeSettingsFile(const SettingsText& text) {
    switch (text.encoding) {
    case SettingsEncoding::Utf8: return Utf8Mark + text.lines;
    case SettingsEncoding::Utf16LE:
        return (text.withoutMark ? "" : Utf16LEMark) +
               BytesFromUtf16(Widen(CP_UTF8, text.lines), false);
    case SettingsEncoding::Utf16BE:
        return (text.withoutMark ? "" : Utf16BEMark) +
               BytesFromUtf16(Widen(CP_UTF8, text.lines), true);
    case SettingsEncoding::Ansi: break;
    }
    return text.lines;
}

std::string ToSettingsLines(SettingsEncoding encoding, const std::string& ansi) {
    return encoding == SettingsEncoding::Ansi ? ansi : Narrow(CP_UTF8, Widen(CP_ACP, ansi));
}

static bool IsValidUtf8(const std::string& text) {
    return text.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                               static_cast<int>(text.size()), nullptr, 0) > 0;
}

// The code page of the user's locale, in which programs that did not speak
// UTF-8 wrote their files.
static UINT LegacyCodePage() {
    char digits[8] = "";
    if (!GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, digits, sizeof digits))
        return 1252;
    UINT page = static_cast<UINT>(std::atoi(digits));
    return page && page != CP_UTF8 ? page : 1252;
}

std::string FromSettingsLines(SettingsEncoding encoding, const std::string& text) {
    if (encoding != SettingsEncoding::Ansi) return Narrow(CP_ACP, Widen(CP_UTF8, text));
    // A file without a mark written before the program spoke UTF-8 holds its
    // paths in the legacy code page: read them in it, so that "Müller" stays
    // "Müller" and is saved back as UTF-8.
    if (GetACP() == CP_UTF8 && !IsValidUtf8(text))
        return Narrow(CP_UTF8, Widen(LegacyCodePage(), text));
    return text;
}
