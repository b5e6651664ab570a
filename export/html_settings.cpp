#include "export/html_settings.h"

#include <windows.h>

#include "runtime/strings.h"

namespace {

const char kSection[] = "HTML";
const char kDefaultFont[] = "Times New Roman";
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

// The section's values go through the private-profile functions directly:
// text values up to 2047 characters.
static std::string ReadHtmlValue(const char* key) {
    std::string value(2048, '\0');
    DWORD n =
        GetPrivateProfileStringA(kSection, key, "", &value[0], 2048, Paths.settingsFile.c_str());
    value.resize(n);
    return value;
}

void LoadHtmlSettings() {
    ApplyHtmlSettings(ReadHtmlValue, HtmlOptions);
}

void SaveHtmlSettings() {
    for (const auto& line : HtmlSettingsLines(HtmlOptions))
        WritePrivateProfileStringA(kSection, line.first.c_str(), line.second.c_str(),
                                   Paths.settingsFile.c_str());
}
