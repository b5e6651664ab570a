// A drawing's summary properties: real drawings of each release against a
// reading of their bytes of the test's own; damaged blocks.
#include <gtest/gtest.h>

#include <set>

#include "inspect/drawing_properties.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/sample_dwg.h"

namespace {

// The eight texts, UTF-16's high bytes dropped (the shared ones are ASCII).
std::vector<std::string> TextsByHand(const std::string& b, bool wide) {
    auto le16 = [&b](size_t at) { return size_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8); };
    std::vector<std::string> texts;
    for (size_t at = le16(0x20), i = 0; i < 8; ++i, at += 2 + (wide ? 2 : 1) * le16(at)) {
        texts.emplace_back();
        for (size_t k = 0; k + 1 < le16(at); ++k)
            texts.back() += b[at + 2 + (wide ? 2 * k : k)];
    }
    return texts;
}

TEST(DrawingProperties, SharedDrawingsOfEveryReleaseReadAsTheirBytes) {
    std::string folder = SampleDrawingFolder();
    if (folder.empty()) GTEST_SKIP() << "no shared drawings in this run";
    std::set<std::string> releases;
    for (const auto& row : ReadManifestRows(folder)) {
        SCOPED_TRACE(row[0]);
        std::string bytes = ReadBytes(folder + row[0]);
        DrawingProperties props;
        bool has = ReadDrawingProperties(MemoryReader(bytes), props);
        EXPECT_EQ(row[1] >= "18" && row[1] <= "32", has);
        if (!has) continue;
        releases.insert(row[1]);
        std::vector<std::string> texts = TextsByHand(bytes, row[1] != "18");
        EXPECT_EQ(texts, std::vector<std::string>(props.text, props.text + kPropTextCount));
    }
    EXPECT_EQ(5u, releases.size()); // 2004, 2007, 2010, 2013, 2018
}

TEST(DrawingProperties, CutAndDamagedBlocksGiveNone) {
    std::string good = WithPropertiesBlock(MakeDrawingWithoutImages("AC1021"),
                                           PropertiesBlock(true, {"T"}, {"n", "v"}), 0);
    auto with = [&](size_t at, uint32_t value) {
        std::string bytes = good;
        PutLE32(bytes, at, value);
        return bytes;
    };
    const size_t block = 64, times = block + 34; // after the eight texts
    const std::pair<const char*, std::string> cases[] = {
        {"release 2000", "AC1015" + good.substr(6)},
        {"address 0", with(0x20, 0)},
        {"address past the end", with(0x20, static_cast<uint32_t>(good.size()))},
        {"address in the header", with(0x20, 0x10)},
        {"count past the end", with(block, 0x7FFF)},
        {"milliseconds past a day", with(times + 4, 86400001)},
        {"custom cut", good.substr(0, good.size() - 1)},
        {"times cut", good.substr(0, times + 20)},
    };
    DrawingProperties props;
    EXPECT_TRUE(ReadDrawingProperties(MemoryReader(good), props));
    EXPECT_EQ("v", props.custom.at(0).second);
    for (const auto& c : cases)
        EXPECT_FALSE(ReadDrawingProperties(MemoryReader(c.second), props)) << c.first;
}

TEST(DrawingProperties, TextsConvertAsTheSystemDoes) {
    // UTF-16LE bytes, the ending zero left on as stored.
    const std::pair<std::string, std::string> wide[] = {
        {std::string("\x40\xD8\x00\xDC\x00\x00", 6), "\xF0\xA0\x80\x80"}, // U+20000
        {std::string("A\x00\x00\xD8\x42\x00\x00\x00", 8), "A\xEF\xBF\xBD"
                                                          "B"}, // lone
        {std::string("\x00\x00", 2), ""},
    };
    for (const auto& c : wide)
        EXPECT_EQ(c.second, PropertyTextFromUtf16(c.first));
    EXPECT_EQ("Caf\xC3\xA9", PropertyTextFromCodePage(std::string("Caf\xE9\0", 5), 30)); // 1252
}

} // namespace
