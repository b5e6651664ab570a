// Text helpers shared by every subsystem. Free of window calls.
#pragma once
#include <string>

// 1-based positions, as the program's texts are described.
std::string Left(const std::string& s, int n);
std::string Right(const std::string& s, int n);
std::string Mid(const std::string& s, int start, int length = -1);

// Removes blanks, tabs and line breaks at both ends.
std::string Trim(const std::string& s);

// 1-based position of needle in s from position start, 0 when absent.
int InStr(const std::string& s, const std::string& needle, bool ignoreCase = false, int start = 1);

std::string ReplaceAll(const std::string& s, const std::string& from, const std::string& to);
std::string Upper(const std::string& s);
std::string Lower(const std::string& s);

// printf "% .15G": one blank before a number that is not negative (" 5").
std::string NumberText(double value);

// Decimal digits grouped by three with "," ("1,234,567").
std::string GroupedDigits(unsigned long long value);

// C-runtime atoi semantics on a std::string.
int AtoI(const std::string& s);

// A name or path as a menu item's text: "&" doubled, so that "a&b.dwg" reads
// as it is instead of underlining "b", and shortened as ShortenedMiddle does,
// so that the menu fits on the screen.
std::string MenuItemText(const std::string& s);

// The text itself when it has at most maxChars characters; otherwise its
// start and its end joined by "\u2026", maxChars characters in all. A UTF-8
// character is never cut.
std::string ShortenedMiddle(const std::string& s, size_t maxChars);

// Characters a line of a window may show whole: a message box or a menu of
// longer lines would be wider than the screen.
constexpr size_t kLongestShownLine = 100;
