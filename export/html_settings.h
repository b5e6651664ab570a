// The [HTML] section of the settings file: the rules by which its texts become
// the HTML options in memory and are written back, and the reading and writing
// of the section itself.
#pragma once
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "runtime/app_state.h"

// The page's font where none is chosen.
extern const char kDefaultHtmlFont[];

// Applies the stored texts (read(key) gives "" for a missing key) to the
// options; the layout keeps its value when "Rows" holds no known layout.
void ApplyHtmlSettings(const std::function<std::string(const char* key)>& read,
                       HtmlSettings& options);
// The key lines of the section, in the order they are written.
std::vector<std::pair<std::string, std::string>> HtmlSettingsLines(const HtmlSettings& options);

// Loads HtmlOptions from the settings file; saves them to it.
void LoadHtmlSettings();
void SaveHtmlSettings();
