// A drawing's summary properties: real drawings of each release against a
// reading of their bytes of the test's own, made and damaged blocks.
#include <gtest/gtest.h>

#include <set>

#include "inspect/drawing_properties.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/sample_dwg.h"

namespace {

// The eight texts as plain bytes: 8-bit as they are, UTF-16 with its high
// bytes dropped (the shared drawings' texts are ASCII).
std::vector<std::string> TextsByHand(const std::string& b, bool wide) {
    size_t at = static_cast<uint8_t>(b[0x20]) | static_cast<uint8_t>(b[0x21]) << 8;
    std::vector<std::string> texts;
    for (int i = 0; i < 8; ++i) {
        size_t n = static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8;
        std::string text;
        for (size_t k = 0; k + 1 < n; ++k)
            text += b[at + 2 + (wide ? 2 * k : k)];
        texts.push_back(text);
        at += 2 + (wide ? 2 : 1) * n;
    }
    return texts;
}

TEST(DrawingProperties, SharedDrawingsOfEveryReleaseReadAsTheirBytes) {
    std::string folder = SampleDrawingFolder();
    if (folder.empty()) GTEST_SKIP() << "no shared drawings in this run";
    std::set<std::string> releases;
    for (const auto& row : ReadManifestRows(folder)) {
        std::string bytes = ReadBytes(folder + row[0]);
        MemoryReader reader(bytes);
        DrawingProperties props;
        bool has = ReadDrawingProperties(reader, props);
        SCOPED_TRACE(row[0]);
        if (row[1] < "18" || row[1] > "32") {
            EXPECT_FALSE(has);
            continue;
        }
        ASSERT_TRUE(has);
        releases.insert(row[1]);
        std::vector<std::string> texts = TextsByHand(bytes, row[1] != "18");
        for (int i = 0; i < kPropTextCount; ++i)
            EXPECT_EQ(texts[i], props.text[i]) << kPropertyNames[i];
        EXPECT_FALSE(props.text[kPropLastSavedBy].empty());
    }
    EXPECT_EQ(5u, releases.size()); // 2004, 2007, 2010, 2013, 2018
}

TEST(DrawingProperties, TextsInEveryScriptAndCustomOnes) {
    DrawingProperties props;
    std::string western = WithPropertiesBlock(
        MakeDrawingWithoutImages("AC1018"),
        PropertiesBlock(false, {"\xC9tude", "", "Jos\xE9 M\xFCller"}, {"Proj\xE9t", "\x80 5"}), 30);
    ASSERT_TRUE(ReadDrawingProperties(MemoryReader(western), props));
    EXPECT_EQ("\u00C9tude", props.text[kPropTitle]);
    EXPECT_EQ("Jos\u00E9 M\u00FCller", props.text[kPropAuthor]);
    ASSERT_EQ(1u, props.custom.size());
    EXPECT_EQ("\u20AC 5", props.custom[0].second);
    EXPECT_EQ("01/02/2020 10:00 AM", DrawingTimeText(props.created));

    std::string greek = WithPropertiesBlock(
        MakeDrawingWithoutImages("AC1024"),
        PropertiesBlock(true, {"Σχέδιο 𝄞", "", "张伟", "", "", "Ελένη"}), 30);
    ASSERT_TRUE(ReadDrawingProperties(MemoryReader(greek), props));
    EXPECT_EQ("Σχέδιο 𝄞", props.text[kPropTitle]);
    EXPECT_EQ("张伟", props.text[kPropAuthor]);
    EXPECT_EQ("Ελένη", props.text[kPropLastSavedBy]);

    DrawingProperties back;
    std::string kept = SerializeProperties(props);
    ASSERT_TRUE(ParseProperties(kept, back));
    EXPECT_EQ(kept, SerializeProperties(back));
    EXPECT_FALSE(ParseProperties(kept.substr(0, kept.size() - 1), back));
}

TEST(DrawingProperties, CutAndDamagedBlocksGiveNone) {
    std::string good = WithPropertiesBlock(MakeDrawingWithoutImages("AC1021"),
                                           PropertiesBlock(true, {"T"}, {"n", "v"}), 0);
    auto with = [&](size_t at, uint32_t value) {
        std::string bytes = good;
        PutLE32(bytes, at, value);
        return bytes;
    };
    const size_t block = 64;
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"release 2000", "AC1015" + good.substr(6)},
        {"address 0", with(0x20, 0)},
        {"address past the end", with(0x20, static_cast<uint32_t>(good.size()))},
        {"address in the header", with(0x20, 0x10)},
        {"count past the end", with(block, 0x7FFF)},
        {"milliseconds past a day", with(block + 34 + 4, 86400001)},
        {"custom cut", good.substr(0, good.size() - 1)},
        {"fixed part cut", good.substr(0, block + 40)},
    };
    DrawingProperties props;
    EXPECT_TRUE(ReadDrawingProperties(MemoryReader(good), props));
    for (const Case& c : cases)
        EXPECT_FALSE(ReadDrawingProperties(MemoryReader(c.bytes), props)) << c.what;
}

} // namespace
