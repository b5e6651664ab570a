#include "settings/settings_rules.h"

#include <cstdio>

#include "runtime/strings.h"

const char* const MainSection = "MAIN";
const char* const HtmlSection = "HTML";

const char* const ShowColumnKeys[7] = {"",         "ShowPreview",  "ShowFileName",  "ShowVersion",
                                       "ShowSize", "ShowModified", "ShowAttributes"};
const char* const ColumnWidthKeys[7] = {
    "",          "PreviewWidth",  "FilenameWidth",  "VersionWidth",
    "SizeWidth", "ModifiedWidth", "AttributesWidth"};
const int DefaultColumnWidths[7] = {0, 180, 175, 100, 75, 120, 60};
const int MaxColumnWidths[7] = {0, 1024, 2048, 2048, 2048, 2048, 2048};

// A window smaller than this shows neither its controls nor its list.
static const int MinWindowWidth = 240;
static const int MinWindowHeight = 160;
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

std::string BlankedNumber(int value) {
    return NumberText(value);
}

std::string PlainNumber(int value) {
    return std::to_string(value);
}

// Blanks and tabs, and carriage returns: a file whose line ends were doubled
// on the way ("\r\r\n") leaves one on every line, which the system's reader
// drops as well.
static std::string TrimBlanks(const std::string& s) {
    size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return std::string();
    size_t last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

static bool SameName(const std::string& a, const std::string& b) {
    return Upper(a) == Upper(b);
}

// The section named by a "[name]" line, or "" with isSection false.
static std::string SectionName(const std::string& line, bool& isSection) {
    std::string t = TrimBlanks(line);
    // Without its closing bracket a line is no section header.
    size_t close = t.find_last_of(']');
    isSection = !t.empty() && t[0] == '[' && close != std::string::npos;
    if (!isSection) return std::string();
    return TrimBlanks(t.substr(1, close - 1));
}

static bool IsKeyLine(const std::string& line, const std::string& key) {
    size_t eq = line.find('=');
    return eq != std::string::npos && SameName(TrimBlanks(line.substr(0, eq)), key);
}

// The text's lines without their line ends.
static std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// A hand-edited file may use LF alone; it keeps doing so.
static const char* LineEndOf(const std::string& text) {
    return text.find('\n') != std::string::npos && text.find("\r\n") == std::string::npos ? "\n"
                                                                                          : "\r\n";
}

std::string WithProfileValues(const std::string& text, const std::string& section,
                              const std::vector<ProfileValue>& values) {
    std::vector<std::string> lines = SplitLines(text);

    for (const ProfileValue& v : values) {
        std::string entry = v.key + "=" + v.value;
        // Where the section starts (its header line) and its last non-empty line.
        size_t header = lines.size(), last = lines.size();
        bool inSection = false, written = false;
        for (size_t i = 0; i < lines.size() && !written; ++i) {
            bool isSection;
            std::string name = SectionName(lines[i], isSection);
            if (isSection) {
                if (inSection) break; // the first section of that name is the one
                inSection = SameName(name, section);
                if (inSection) header = last = i;
                continue;
            }
            if (!inSection) continue;
            if (IsKeyLine(lines[i], v.key)) {
                lines[i] = entry;
                written = true;
            } else if (!TrimBlanks(lines[i]).empty()) {
                last = i;
            }
        }
        if (written) continue;
        if (header < lines.size()) {
            lines.insert(lines.begin() + last + 1, entry);
        } else {
            lines.push_back("[" + section + "]");
            lines.push_back(entry);
        }
    }

    const char* lineEnd = LineEndOf(text);
    std::string out;
    for (const std::string& line : lines)
        out += line + lineEnd;
    return out;
}

static std::string WithoutQuotes(const std::string& value) {
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        return value.substr(1, value.size() - 2);
    return value;
}

bool FindProfileValue(const std::string& text, const std::string& section, const std::string& key,
                      std::string& value) {
    bool inSection = false;
    for (const std::string& line : SplitLines(text)) {
        bool isSection;
        std::string name = SectionName(line, isSection);
        if (isSection) {
            if (inSection) return false; // the first section of that name is the one
            inSection = SameName(name, section);
            continue;
        }
        if (inSection && IsKeyLine(line, key)) {
            value = WithoutQuotes(TrimBlanks(line.substr(line.find('=') + 1)));
            return true;
        }
    }
    return false;
}
