#include <gtest/gtest.h>

#include <map>
#include <string>

#include "export/html_settings.h"

namespace {

using Stored = std::map<std::string, std::string>;

HtmlSettings Read(const Stored& stored, int layoutBefore = 0) {
    HtmlSettings s;
    s.layout = layoutBefore;
    ApplyHtmlSettings(
        [&](const char* key) {
            auto it = stored.find(key);
            return it == stored.end() ? std::string() : it->second;
        },
        s);
    return s;
}

std::string Written(const HtmlSettings& s, const std::string& key) {
    for (const auto& line : HtmlSettingsLines(s))
        if (line.first == key) return line.second;
    return "<absent>";
}

TEST(HtmlSettingsRules, MissingSectionGivesTheDefaults) {
    HtmlSettings s = Read({});
    for (const std::string& flag : s.showItem)
        EXPECT_EQ("TRUE", flag);
    EXPECT_EQ("Times New Roman", s.font);
    EXPECT_EQ(4, s.layout);
    EXPECT_EQ("TRUE", s.showHeader);
    EXPECT_EQ("FALSE", s.useCustomHeader);
    EXPECT_EQ("Korvex HTML Output", s.title);
    EXPECT_EQ("", s.customHeader);
}

TEST(HtmlSettingsRules, HeaderFlagsCountOnlyTheExactWords) {
    HtmlSettings s = Read({{"ShowHeader", "false"}, {"UseCustomHeader", "yes"}});
    EXPECT_EQ("TRUE", s.showHeader);
    EXPECT_EQ("TRUE", s.useCustomHeader);
    EXPECT_EQ("FALSE", Read({{"ShowHeader", "FALSE"}}).showHeader);
}

TEST(HtmlSettingsRules, RowsOutsideTheLayoutsLeaveTheLayout) {
    struct Case {
        const char* rows;
        int before, after;
    } cases[] = {{"1", 4, 1}, {"3", 0, 3}, {" 4 ", 1, 4}, {"", 3, 4}, {"2", 0, 0}, {"2", 3, 3}};
    for (const Case& c : cases)
        EXPECT_EQ(c.after, Read({{"Rows", c.rows}}, c.before).layout) << c.rows;
}

TEST(HtmlSettingsRules, WritingNormalisesEveryKeyInItsOrder) {
    HtmlSettings s;
    s.showItem[1] = "false";
    s.showItem[2] = "FALSE";
    s.font = "";
    s.layout = 0;
    s.showHeader = "yes";
    s.useCustomHeader = "true";
    s.customExport = "kept";
    s.useCustomExport = "TRUE";
    const char* order[] = {"ShowHPreview",    "ShowHFilename",   "ShowHVersion", "ShowHSize",
                           "ShowHDate",       "ShowHAttributes", "Font",         "Rows",
                           "ShowHeader",      "UseCustomHeader", "CustomHeader", "sHtmlTitle",
                           "UseCustomExport", "CustomExport"};
    auto lines = HtmlSettingsLines(s);
    ASSERT_EQ(14u, lines.size());
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(order[i], lines[i].first);
    EXPECT_EQ("TRUE", Written(s, "ShowHFilename"));
    EXPECT_EQ("FALSE", Written(s, "ShowHVersion"));
    EXPECT_EQ("Times New Roman", Written(s, "Font"));
    EXPECT_EQ("1", Written(s, "Rows")) << "no layout chosen is written as 1";
    EXPECT_EQ("TRUE", Written(s, "ShowHeader"));
    EXPECT_EQ("FALSE", Written(s, "UseCustomHeader"));
    EXPECT_EQ("FALSE", Written(s, "UseCustomExport"));
    EXPECT_EQ("kept", Written(s, "CustomExport"));
    s.layout = 3;
    EXPECT_EQ("3", Written(s, "Rows"));
}

} // namespace
