// Fuzz target for the reading of the settings file KVX.ini: its byte-order
// marks and encodings, its lines, sections and keys, the rules that bring
// each value of [MAIN] into its range, and the [MAIN] section written back
// into the same text. The first byte picks the system's ANSI code page and
// the screen's work area, the second the keys looked at; the rest is the
// file. Built natively with sanitizers by scripts/fuzz.
#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/strings.h"
#include "settings/settings_file_text.h"
#include "settings/settings_rules.h"

namespace {

// Every key of [MAIN] the program reads.
std::vector<std::string> MainKeys() {
    std::vector<std::string> keys = {"Left", "Top",      "Width",    "Height", "State",
                                     "Path", "DTVWidth", "ViewMode", "Invert", "SortColumn"};
    for (int c = 1; c <= 6; ++c) {
        keys.push_back(ShowColumnKeys[c]);
        keys.push_back(ColumnWidthKeys[c]);
    }
    for (int n = 1; n <= 5; ++n) {
        keys.push_back(ShowCopyToKey(n));
        keys.push_back(ShowMoveToKey(n));
        keys.push_back(CopyToKey(n));
        keys.push_back(MoveToKey(n));
    }
    for (int n = 1; n <= 20; ++n)
        keys.push_back(FavoriteKey(n));
    return keys;
}

const char* const kHtmlKeys[] = {
    "Rows",           "Font",         "ShowHPreview",  "ShowHFilename",   "ShowHVersion",
    "ShowHSize",      "ShowHDate",    "ShowHeader",    "UseCustomHeader", "CustomHeader",
    "sHtmlTitle",     "CustomExport", "sCustomHeader", "sHtmlHeader",     "sCustomExport",
    "ShowHAttributes"};

// A [MAIN] value as the program reads it: the text after "=", in the
// program's code page, at most 2047 characters.
std::string MainValue(const SettingsText& text, const std::string& key) {
    std::string value;
    if (!FindProfileValue(text.lines, MainSection, key, value)) return std::string();
    value = FromSettingsLines(text.encoding, value);
    if (value.size() > 2047) value.resize(2047);
    return value;
}

// Work areas of a screen: a plain one, one left of the main screen, one
// offset, and one smaller than the smallest window.
const RECT kWorkAreas[4] = {
    {0, 0, 1280, 800}, {-1920, 0, 0, 1080}, {100, 50, 1124, 818}, {0, 0, 200, 120}};

// What the window box rules promise on a work area that holds the smallest
// window (240 x 160): the box fits the area, at least 100 pixels of it stand
// on the area across and its title bar lies inside it.
void CheckWindowBox(const SettingsText& text, const RECT& area) {
    WindowBox stored = {AtoI(MainValue(text, "Left")), AtoI(MainValue(text, "Top")),
                        AtoI(MainValue(text, "Width")), AtoI(MainValue(text, "Height"))};
    WindowBox box = SaneWindowBox(stored, area);
    const long long areaWidth = area.right - area.left, areaHeight = area.bottom - area.top;
    if (areaWidth < 240 || areaHeight < 160) return;
    if (box.width < 240 || box.width > areaWidth || box.height < 160 || box.height > areaHeight)
        __builtin_trap();
    long long shown = std::min<long long>(box.left + box.width, area.right) -
                      std::max<long long>(box.left, area.left);
    if (shown < 100) __builtin_trap();
    if (box.top < area.top || box.top > area.bottom - 30) __builtin_trap();
}

bool IsFlag(const std::string& v) {
    return v == "TRUE" || v == "FALSE";
}

// The key's value through the rule the program reads it by, which must bring
// it into its range.
void CheckRule(const SettingsText& text, const std::string& key, const RECT& area) {
    const std::string value = MainValue(text, key);
    if (value.size() > 2047) __builtin_trap();
    for (int c = 1; c <= 6; ++c) {
        if (key == ColumnWidthKeys[c]) {
            int width = ColumnWidthFromText(value, DefaultColumnWidths[c], MaxColumnWidths[c]);
            if (width < 1 || width > MaxColumnWidths[c]) __builtin_trap();
            int height = ThumbHeightFor(width);
            if (height < 0 || height > width) __builtin_trap();
        }
        if (key == ShowColumnKeys[c] && !IsFlag(TrueOnlyFlag(value))) __builtin_trap();
    }
    for (int n = 1; n <= 5; ++n)
        if ((key == ShowCopyToKey(n) || key == ShowMoveToKey(n)) && !IsFlag(TrueOnlyFlag(value)))
            __builtin_trap();
    if (key == "DTVWidth") {
        int tree = TreeWidthFromText(value);
        if (tree < 100 || tree > 500) __builtin_trap();
    }
    if (key == "ViewMode") {
        std::string mode = ViewModeFromText(value);
        if (mode != "DETAIL" && mode != "LIST") __builtin_trap();
    }
    if (key == "SortColumn") {
        int sort = SortColumnFromValue(AtoI(value));
        if (sort < 2 || sort > 6) __builtin_trap();
    }
    if (key == "Left" || key == "Top" || key == "Width" || key == "Height")
        CheckWindowBox(text, area);
}

// What the reader gives back for a value written on a line of its own: the
// value without blanks, tabs and carriage returns at its ends, and without a
// pair of quotes around it. False for a value holding a line break.
bool ReadBackOf(const std::string& value, std::string& readBack) {
    if (value.find('\n') != std::string::npos) return false;
    size_t first = value.find_first_not_of(" \t\r");
    readBack = first == std::string::npos
                   ? std::string()
                   : value.substr(first, value.find_last_not_of(" \t\r") - first + 1);
    if (readBack.size() >= 2 && (readBack[0] == '"' || readBack[0] == '\'') &&
        readBack.back() == readBack[0])
        readBack = readBack.substr(1, readBack.size() - 2);
    return true;
}

// Two [MAIN] values written back as a save writes them (numbers with their
// blank, texts as read): each then reads back, and a third key of [MAIN] and
// one of [HTML] read as before.
void CheckWriteBack(const SettingsText& text, const std::string (&keys)[3], const char* htmlKey) {
    std::vector<ProfileValue> values;
    for (int i = 0; i < 2; ++i) {
        std::string value = MainValue(text, keys[i]);
        if (keys[i] == "Left" || keys[i] == "Top" || keys[i] == "Width" || keys[i] == "Height" ||
            keys[i] == "State" || keys[i] == "SortColumn")
            value = BlankedNumber(AtoI(value));
        values.push_back({keys[i], ToSettingsLines(text.encoding, value)});
    }
    std::string written = WithProfileValues(text.lines, MainSection, values);

    for (const ProfileValue& v : values) {
        std::string read;
        if (!FindProfileValue(written, MainSection, v.key, read)) __builtin_trap();
        std::string expected;
        if (ReadBackOf(v.value, expected) && read != expected) __builtin_trap();
    }
    auto unchanged = [&](const char* section, const std::string& key) {
        std::string before, after;
        bool had = FindProfileValue(text.lines, section, key, before);
        bool has = FindProfileValue(written, section, key, after);
        if (had != has || before != after) __builtin_trap();
    };
    unchanged(MainSection, keys[2]);
    unchanged(HtmlSection, htmlKey);
}

} // namespace

// The stand-in for the system's conversions must convert as the system does,
// or what is found here would not be found in the program.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!NativeTextMatchesSystem()) __builtin_trap();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    NativeAnsiCodePage = data[0] & 1 ? CP_UTF8 : 1252;
    const RECT& area = kWorkAreas[(data[0] >> 1) & 3];
    static const std::vector<std::string> all = MainKeys();
    const std::string keys[3] = {all[data[1] % all.size()], all[(data[1] + 1) % all.size()],
                                 all[(data[1] + 2) % all.size()]};
    const char* htmlKey = kHtmlKeys[data[1] % (sizeof kHtmlKeys / sizeof *kHtmlKeys)];
    std::string bytes(reinterpret_cast<const char*>(data) + 2, size - 2);

    // Read and written back unchanged: an ANSI or UTF-8 file byte for byte, a
    // UTF-16 one to the same text, with its mark or without.
    SettingsText text = DecodeSettingsFile(bytes);
    std::string encoded = EncodeSettingsFile(text);
    if ((text.encoding == SettingsEncoding::Ansi || text.encoding == SettingsEncoding::Utf8) &&
        encoded != bytes)
        __builtin_trap();
    SettingsText again = DecodeSettingsFile(encoded);
    if (again.encoding != text.encoding || again.withoutMark != text.withoutMark ||
        again.lines != text.lines)
        __builtin_trap();

    CheckRule(text, keys[0], area);
    CheckWriteBack(text, keys, htmlKey);
    return 0;
}
