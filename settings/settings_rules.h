// Rules of the settings file that need no window: the default contents, the
// key names, how values are read back and how numbers are written.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

// Section names of the settings file.
extern const char* const MainSection; // "MAIN"
extern const char* const HtmlSection; // "HTML"

// The lines of a new settings file, in order, without line ends.
const std::vector<std::string>& DefaultSettingsLines();

// Keys of the six list columns, indexed by list column (1 Preview ..
// 6 Attributes); element 0 is unused.
extern const char* const ShowColumnKeys[10];
extern const char* const ColumnWidthKeys[10];
extern const int DefaultColumnWidths[10];

// "ShowCopyTo1".."ShowCopyTo5", "CopyTo1".., "ShowMoveTo1".., "MoveTo1"..
std::string ShowCopyToKey(int n);
std::string ShowMoveToKey(int n);
std::string CopyToKey(int n);
std::string MoveToKey(int n);
// "Favorite01".."Favorite20".
std::string FavoriteKey(int n);

// "TRUE" only for exactly "TRUE"; anything else is "FALSE".
std::string TrueOnlyFlag(const std::string& value);

// A width key's value: its integer reading, or the default when below 1;
// no wider than the column's limit (the preview column's sets the thumbnail
// size, which the image list must hold for every row).
int ColumnWidthFromText(const std::string& value, int defaultWidth, int maxWidth);
extern const int MaxColumnWidths[10];

// "DTVWidth": taken when its integer reading lies in 100..500, else 250.
int TreeWidthFromText(const std::string& value);

// "ViewMode": empty or "DETAIL" gives "DETAIL", anything else "LIST".
std::string ViewModeFromText(const std::string& value);

// "SortColumn": a list column 2..6 is taken; 0 and anything else give 2.
int SortColumnFromValue(int value);

// The main window's outer rectangle as the settings give it.
struct WindowBox {
    int left, top, width, height;
};
// The box the four window keys give, each read on its own: a value that is
// not a whole number, or a width or height below a usable window's, takes
// that key's default (0, 0, 600, 400).
WindowBox WindowBoxFromTexts(const std::string& left, const std::string& top,
                             const std::string& width, const std::string& height);
// A whole decimal number, with an optional sign, that an int holds; false
// for anything else.
bool WholeNumber(const std::string& text, int& value);

// The six column flags ("TRUE" or "FALSE", indexed 1..6): when none is
// "TRUE", all six are, so that the list always shows a column.
void KeepAColumnShown(std::string* flags);

// The box brought onto the work area it is nearest to: no larger than that
// area and no smaller than a usable window, and placed so that its title bar
// lies inside the area with enough of it showing to be grabbed.
WindowBox SaneWindowBox(WindowBox box, const RECT& workArea);

// Thumbnail height for a thumbnail width: 0.8 times it, truncated.
int ThumbHeightFor(int thumbWidth);
// Thumbnail width for a Preview column width: the column's, up to 1,024
// pixels. A wider column shows the thumbnail at that width, so that a cell
// stays a few megabytes however wide the column is dragged.
int ThumbWidthFor(int columnWidth);

// Window numbers and the sort column are written with one blank before a
// number that is not negative (" 100"); widths without it ("250").
std::string BlankedNumber(int value);
std::string PlainNumber(int value);

// One key and the value to write for it.
struct ProfileValue {
    std::string key;
    std::string value;
};

// The settings text with the values written into one section, each as the
// private-profile writer does it: the key's line (key and section names
// matched without regard to case) is replaced, or the line is added after the
// section's last line, or the section is added at the end. Values are written
// exactly as given, leading blanks included. Every other line is kept as it
// is; lines end as the text's own do (LF when it has no CR LF, else CR LF).
std::string WithProfileValues(const std::string& text, const std::string& section,
                              const std::vector<ProfileValue>& values);

// A key's value read the way the private-profile reader reads it: the first
// section and then the first key line of the names, both matched without
// regard to case; the text after "=" without surrounding blanks, tabs and
// carriage returns, and without a pair of quotes around it. False when the
// key or its section is missing.
bool FindProfileValue(const std::string& text, const std::string& section, const std::string& key,
                      std::string& value);
// The values of the keys that are there, read as FindProfileValue reads them
// but in one pass over the text, by the names asked for.
std::map<std::string, std::string> FindProfileValues(const std::string& text,
                                                     const std::string& section,
                                                     const std::vector<std::string>& keys);

// Every key of [MAIN] the program reads and writes.
const std::vector<std::string>& MainSectionKeys();

// The [MAIN] values as the program takes them from those found. A section
// holding none of the window's and the columns' keys (empty, junk, or no
// section at all) was not written by the program and would give a window
// too small to use with every column hidden: it reads as a new file's
// section, the values it does hold kept.
std::map<std::string, std::string> MainValuesOrDefaults(std::map<std::string, std::string> found);
