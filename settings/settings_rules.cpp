#include "settings/settings_rules.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <set>

#include "runtime/strings.h"

const char* const MainSection = "MAIN";
const char* const HtmlSection = "HTML";

const char* const ShowColumnKeys[10] = {
    "",           "ShowPreview",    "ShowFileName",   "ShowVersion",
    "ShowSize",   "ShowModified",   "ShowAttributes", "ShowTitle",
    "ShowAuthor", "ShowLastSavedBy"};
const char* const ColumnWidthKeys[10] = {"",
                                         "PreviewWidth",
                                         "FilenameWidth",
                                         "VersionWidth",
                                         "SizeWidth",
                                         "ModifiedWidth",
                                         "AttributesWidth",
                                         "TitleWidth",
                                         "AuthorWidth",
                                         "LastSavedByWidth"};
const int DefaultColumnWidths[10] = {0, 180, 175, 100, 75, 120, 60, 150, 100, 100};
const int MaxColumnWidths[10] = {0, 1024, 2048, 2048, 2048, 2048, 2048, 2048, 2048, 2048};

// A window smaller than this shows neither its controls nor its list.
static const int MinWindowWidth = 320;
static const int MinWindowHeight = 240;
// How much of the window must lie on the work area to be grabbed and moved.
static const int GrabbableWidth = 100;
static const int GrabbableHeight = 30;

static std::string NumberedKey(const char* base, int n) {
    return base + std::to_string(n);
}

std::string ShowCopyToKey(int n) {
    return NumberedKey("ShowCopyTo", n);
}
std::string ShowMoveToKey(int n) {
    return NumberedKey("ShowMoveTo", n);
}
std::string CopyToKey(int n) {
    return NumberedKey("CopyTo", n);
}
std::string MoveToKey(int n) {
    return NumberedKey("MoveTo", n);
}

std::string FavoriteKey(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "Favorite%02d", n);
    return buf;
}

const std::vector<std::string>& DefaultSettingsLines() {
    static const std::vector<std::string> lines = [] {
        std::vector<std::string> v = {"[MAIN]",
                                      "Left=0",
                                      "Top=0",
                                      "Height=400",
                                      "Width=600",
                                      "State=0",
                                      "Path=C:\\",
                                      "DTVWidth=250",
                                      "ShowPreview=TRUE",
                                      "ShowFileName=TRUE",
                                      "ShowVersion=TRUE",
                                      "ShowSize=TRUE",
                                      "ShowModified=TRUE",
                                      "ShowAttributes=TRUE",
                                      "SortColumn=2",
                                      "ViewMode=DETAIL",
                                      "PreviewWidth=180",
                                      "FilenameWidth=175",
                                      "VersionWidth=100",
                                      "SizeWidth=75",
                                      "ModifiedWidth=120",
                                      "AttributesWidth=60"};
        for (int n = 1; n <= 5; ++n)
            v.push_back(ShowCopyToKey(n) + "=TRUE");
        for (int n = 1; n <= 5; ++n)
            v.push_back(ShowMoveToKey(n) + "=TRUE");
        for (int n = 1; n <= 20; ++n)
            v.push_back(FavoriteKey(n) + "=");
        v.insert(v.end(),
                 {"Invert=FALSE", "", "[HTML]", "Rows=4", "Font=Times New Roman",
                  "ShowHPreview=TRUE", "ShowHFilename=TRUE", "ShowHVersion=TRUE", "ShowHSize=TRUE",
                  "ShowHDate=TRUE", "ShowHeader=TRUE", "UseCustomHeader=FALSE",
                  "sCustomHeader=", "sHtmlHeader=", "sHtmlTitle=Korvex HTML Output",
                  "UseCustomExport=FALSE", "sCustomExport=", ""});
        return v;
    }();
    return lines;
}

std::string TrueOnlyFlag(const std::string& value) {
    return value == "TRUE" ? "TRUE" : "FALSE";
}

int ColumnWidthFromText(const std::string& value, int defaultWidth, int maxWidth) {
    int width = AtoI(value);
    if (width < 1) return defaultWidth;
    return width > maxWidth ? maxWidth : width;
}

int TreeWidthFromText(const std::string& value) {
    int width = AtoI(value);
    return width >= 100 && width <= 500 ? width : 250;
}

std::string ViewModeFromText(const std::string& value) {
    return value.empty() || value == "DETAIL" ? "DETAIL" : "LIST";
}

int SortColumnFromValue(int value) {
    return value >= 2 && value <= 6 ? value : 2;
}

static int Clamp(int value, int low, int high) {
    return value < low ? low : value > high ? high : value;
}

bool WholeNumber(const std::string& text, int& value) {
    size_t at = text.size() > 0 && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (at == text.size() || text.size() - at > 10) return false;
    long long n = 0;
    for (size_t i = at; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        n = n * 10 + (text[i] - '0');
    }
    if (text[0] == '-') n = -n;
    if (n < INT_MIN || n > INT_MAX) return false;
    value = static_cast<int>(n);
    return true;
}

WindowBox WindowBoxFromTexts(const std::string& left, const std::string& top,
                             const std::string& width, const std::string& height) {
    WindowBox box = {0, 0, 600, 400};
    int n;
    if (WholeNumber(left, n)) box.left = n;
    if (WholeNumber(top, n)) box.top = n;
    if (WholeNumber(width, n) && n >= MinWindowWidth) box.width = n;
    if (WholeNumber(height, n) && n >= MinWindowHeight) box.height = n;
    return box;
}

void KeepAColumnShown(std::string* flags) {
    for (int c = 1; c <= 6; ++c)
        if (flags[c] == "TRUE") return;
    for (int c = 1; c <= 6; ++c)
        flags[c] = "TRUE";
}

WindowBox SaneWindowBox(WindowBox box, const RECT& workArea) {
    int areaWidth = workArea.right - workArea.left;
    int areaHeight = workArea.bottom - workArea.top;
    box.width =
        Clamp(box.width, MinWindowWidth, areaWidth > MinWindowWidth ? areaWidth : MinWindowWidth);
    box.height = Clamp(box.height, MinWindowHeight,
                       areaHeight > MinWindowHeight ? areaHeight : MinWindowHeight);
    // Computed in 64 bits: the stored numbers may be anything an int holds.
    long long left = box.left, top = box.top;
    if (left + box.width < workArea.left + GrabbableWidth) left = workArea.left;
    if (left > workArea.right - GrabbableWidth) left = workArea.right - box.width;
    if (top < workArea.top) top = workArea.top;
    if (top > workArea.bottom - GrabbableHeight) top = workArea.bottom - box.height;
    box.left = static_cast<int>(left);
    box.top = static_cast<int>(top);
    return box;
}

int ThumbHeightFor(int thumbWidth) {
    return static_cast<int>(0.8 * thumbWidth);
}

int ThumbWidthFor(int columnWidth) {
    constexpr int kWidestThumbnail = 1024;
    return columnWidth < kWidestThumbnail ? columnWidth : kWidestThumbnail;
}

std::string BlankedNumber(int value) {
    return NumberText(value);
}

std::string PlainNumber(int value) {
    return std::to_string(value);
}

// Blanks and tabs, and carriage returns: a file whose line ends were doubled
// on the way ("\r\r\n") leaves one on every line, which the system's reader
// drops as well.
static bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

static std::string TrimBlanks(const char* p, size_t n) {
    size_t first = 0;
    while (first < n && IsBlank(p[first]))
        ++first;
    while (n > first && IsBlank(p[n - 1]))
        --n;
    return std::string(p + first, n - first);
}

// One line of the text, without its line end: where it starts and its length.
// The file may be megabytes of lines nobody reads, so they are not copied.
struct LineSpan {
    size_t start, length;
};

// The line starting at pos; pos moves to the next one. False past the end.
static bool NextLine(const std::string& text, size_t& pos, LineSpan& line) {
    if (pos >= text.size()) return false;
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    line = {pos, end - pos};
    if (line.length > 0 && text[end - 1] == '\r') --line.length;
    pos = end + 1;
    return true;
}

// The section a "[name]" line opens, its name upper-cased. Without its
// closing bracket a line is no section header.
static bool SectionOfLine(const char* p, size_t n, std::string& upperName) {
    size_t first = 0;
    while (first < n && IsBlank(p[first]))
        ++first;
    if (first == n || p[first] != '[') return false;
    std::string t = TrimBlanks(p + first, n - first);
    size_t close = t.find_last_of(']');
    if (close == std::string::npos) return false;
    upperName = Upper(TrimBlanks(t.data() + 1, close - 1));
    return true;
}

// The key of a "key=value" line, upper-cased, and where its "=" is.
static bool KeyOfLine(const char* p, size_t n, std::string& upperKey, size_t& equals) {
    const void* eq = std::memchr(p, '=', n);
    if (!eq) return false;
    equals = static_cast<size_t>(static_cast<const char*>(eq) - p);
    upperKey = Upper(TrimBlanks(p, equals));
    return true;
}

static bool IsBlankLine(const char* p, size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (!IsBlank(p[i])) return false;
    return true;
}

// A hand-edited file may use LF alone; it keeps doing so.
static const char* LineEndOf(const std::string& text) {
    return text.find('\n') != std::string::npos && text.find("\r\n") == std::string::npos ? "\n"
                                                                                          : "\r\n";
}

std::string WithProfileValues(const std::string& text, const std::string& section,
                              const std::vector<ProfileValue>& values) {
    std::set<std::string> wanted;
    for (const ProfileValue& v : values)
        wanted.insert(Upper(v.key));

    // One pass over the lines: the first section of the name, its last
    // non-empty line, and the first line of each key written.
    std::vector<LineSpan> lines;
    const size_t none = std::string::npos;
    size_t header = none, last = none;
    std::map<std::string, size_t> keyLines;
    const std::string upperSection = Upper(section);
    bool inSection = false, passed = false;
    LineSpan line;
    for (size_t pos = 0; NextLine(text, pos, line);) {
        lines.push_back(line);
        if (passed) continue;
        const char* p = text.data() + line.start;
        std::string name, key;
        size_t equals;
        if (SectionOfLine(p, line.length, name)) {
            passed = inSection; // the first section of that name is the one
            inSection = !passed && name == upperSection;
            if (inSection) header = last = lines.size() - 1;
            continue;
        }
        if (!inSection) continue;
        if (!IsBlankLine(p, line.length)) last = lines.size() - 1;
        if (KeyOfLine(p, line.length, key, equals) && wanted.count(key))
            keyLines.emplace(key, lines.size() - 1);
    }

    // A key's line is replaced; a key not there goes after the section's
    // last line, or with the section at the end; a key written twice keeps
    // the last value.
    std::map<size_t, std::string> replaced;
    std::vector<std::string> added;
    std::map<std::string, size_t> addedAt;
    for (const ProfileValue& v : values) {
        std::string entry = v.key + "=" + v.value, key = Upper(v.key);
        auto found = keyLines.find(key);
        auto again = addedAt.find(key);
        if (found != keyLines.end())
            replaced[found->second] = entry;
        else if (again != addedAt.end())
            added[again->second] = entry;
        else {
            addedAt.emplace(key, added.size());
            added.push_back(entry);
        }
    }

    const std::string lineEnd = LineEndOf(text);
    std::string out;
    out.reserve(text.size() + lines.size() + 64 * (added.size() + 1));
    for (size_t i = 0; i < lines.size(); ++i) {
        auto r = replaced.find(i);
        if (r != replaced.end())
            out += r->second;
        else
            out.append(text, lines[i].start, lines[i].length);
        out += lineEnd;
        if (i == last)
            for (const std::string& entry : added)
                out += entry + lineEnd;
    }
    if (header == none && !added.empty()) {
        out += "[" + section + "]" + lineEnd;
        for (const std::string& entry : added)
            out += entry + lineEnd;
    }
    return out;
}

static std::string WithoutQuotes(const std::string& value) {
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        return value.substr(1, value.size() - 2);
    return value;
}

std::map<std::string, std::string> FindProfileValues(const std::string& text,
                                                     const std::string& section,
                                                     const std::vector<std::string>& keys) {
    std::map<std::string, std::vector<std::string>> wanted; // by upper-cased key
    for (const std::string& key : keys)
        wanted[Upper(key)].push_back(key);
    std::map<std::string, std::string> values;
    const std::string upperSection = Upper(section);
    bool inSection = false;
    LineSpan line;
    for (size_t pos = 0; !wanted.empty() && NextLine(text, pos, line);) {
        const char* p = text.data() + line.start;
        std::string name, key;
        size_t equals;
        if (SectionOfLine(p, line.length, name)) {
            if (inSection) break; // the first section of that name is the one
            inSection = name == upperSection;
            continue;
        }
        if (!inSection || !KeyOfLine(p, line.length, key, equals)) continue;
        auto w = wanted.find(key);
        if (w == wanted.end()) continue;
        std::string value = WithoutQuotes(TrimBlanks(p + equals + 1, line.length - equals - 1));
        for (const std::string& asked : w->second)
            values.emplace(asked, value);
        wanted.erase(w);
    }
    return values;
}

bool FindProfileValue(const std::string& text, const std::string& section, const std::string& key,
                      std::string& value) {
    std::map<std::string, std::string> found = FindProfileValues(text, section, {key});
    if (found.empty()) return false;
    value = found.begin()->second;
    return true;
}

const std::vector<std::string>& MainSectionKeys() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> v = {"Left", "Top",      "Width",  "Height",   "State",
                                      "Path", "DTVWidth", "Invert", "ViewMode", "SortColumn"};
        for (int c = 1; c <= 9; ++c) {
            v.push_back(ShowColumnKeys[c]);
            v.push_back(ColumnWidthKeys[c]);
        }
        for (int n = 1; n <= 5; ++n) {
            v.push_back(ShowCopyToKey(n));
            v.push_back(ShowMoveToKey(n));
            v.push_back(CopyToKey(n));
            v.push_back(MoveToKey(n));
        }
        for (int n = 1; n <= 20; ++n)
            v.push_back(FavoriteKey(n));
        return v;
    }();
    return keys;
}

std::map<std::string, std::string> MainValuesOrDefaults(std::map<std::string, std::string> found) {
    std::vector<std::string> layoutKeys = {"Left", "Top", "Width", "Height"};
    for (int c = 1; c <= 6; ++c) {
        layoutKeys.push_back(ShowColumnKeys[c]);
        layoutKeys.push_back(ColumnWidthKeys[c]);
    }
    for (const std::string& key : layoutKeys)
        if (found.count(key)) return found;
    // The new file's [MAIN] lines, up to the empty line that ends it.
    for (const std::string& line : DefaultSettingsLines()) {
        if (line.empty()) break;
        size_t eq = line.find('=');
        if (eq != std::string::npos) found.emplace(line.substr(0, eq), line.substr(eq + 1));
    }
    return found;
}
