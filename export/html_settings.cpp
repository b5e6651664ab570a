#include "export/html_settings.h"

#include <windows.h>

#include "runtime/strings.h"
#include "settings/settings_file.h"

const char kDefaultHtmlFont[] = "Times New Roman";

namespace {

const char kSection[] = "HTML";
const char* const kDefaultFont = kDefaultHtmlFont;
const char kDefaultTitle[] = "Korvex HTML Output";
const char* const kShowKeys[6] = {"ShowHPreview", "ShowHFilename", "ShowHVersion",
                                  "ShowHSize",    "ShowHDate",     "ShowHAttributes"};

// Flags compare exactly: "false" in lower case is not "FALSE".
std::string FalseOrTrue(bool isFalse) {
    return isFalse ? "FALSE" : "TRUE";
}

} // namespace

void ApplyHtmlSettings(const std::function<std::string(const char* key)>& read,
                       HtmlSettings& options) {
    for (int i = 0; i < 6; ++i)
        options.showItem[i] = FalseOrTrue(read(kShowKeys[i]) == "FALSE");

    std::string font = read("Font");
    options.font = font.empty() ? kDefaultFont : font;

    std::string rows = Trim(read("Rows"));
    if (rows == "1") options.layout = 1;
    if (rows == "3") options.layout = 3;
    if (rows == "4" || rows.empty()) options.layout = 4;

    std::string showHeader = read("ShowHeader");
    options.showHeader = FalseOrTrue(!showHeader.empty() && Trim(showHeader) == "FALSE");

    std::string custom = read("UseCustomHeader");
    options.useCustomHeader = FalseOrTrue(custom.empty() || Trim(custom) == "FALSE");

    options.customHeader = read("CustomHeader");
    std::string title = read("sHtmlTitle");
    options.title = title.empty() ? kDefaultTitle : title;
    options.useCustomExport = "FALSE";
    options.customExport = read("CustomExport");
}

std::vector<std::pair<std::string, std::string>> HtmlSettingsLines(const HtmlSettings& options) {
    std::vector<std::pair<std::string, std::string>> lines;
    for (int i = 0; i < 6; ++i)
        lines.push_back({kShowKeys[i], FalseOrTrue(options.showItem[i] == "FALSE")});
    lines.push_back({"Font", options.font.empty() ? kDefaultFont : options.font});
    lines.push_back({"Rows", options.layout == 3 ? "3" : options.layout == 4 ? "4" : "1"});
    lines.push_back({"ShowHeader", FalseOrTrue(options.showHeader == "FALSE")});
    lines.push_back({"UseCustomHeader", options.useCustomHeader == "TRUE" ? "TRUE" : "FALSE"});
    lines.push_back({"CustomHeader", options.customHeader});
    lines.push_back({"sHtmlTitle", options.title});
    lines.push_back({"UseCustomExport", "FALSE"});
    lines.push_back({"CustomExport", options.customExport});
    return lines;
}

// Every key the section is read by is one it is written with; they are read
// in one pass over the settings file.
void LoadHtmlSettings() {
    std::vector<std::string> keys;
    for (const auto& line : HtmlSettingsLines(HtmlOptions))
        keys.push_back(line.first);
    std::vector<std::string> values = ReadSettingsValues(kSection, keys);
    ApplyHtmlSettings(
        [&](const char* key) {
            for (size_t i = 0; i < keys.size(); ++i)
                if (keys[i] == key) return values[i];
            return std::string();
        },
        HtmlOptions);
}

void SaveHtmlSettings() {
    std::vector<ProfileValue> values;
    for (const auto& line : HtmlSettingsLines(HtmlOptions))
        values.push_back({line.first, line.second});
    WriteSettingsValues(kSection, values);
}
