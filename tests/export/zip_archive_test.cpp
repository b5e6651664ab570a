#include <gtest/gtest.h>
#include <zlib.h>

#include "export/zip_archive.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/scratch_folder.h"

namespace {

uint32_t At32(const std::string& s, size_t i) {
    return static_cast<uint32_t>(static_cast<unsigned char>(s[i]) |
                                 static_cast<unsigned char>(s[i + 1]) << 8 |
                                 static_cast<unsigned char>(s[i + 2]) << 16 |
                                 static_cast<uint32_t>(static_cast<unsigned char>(s[i + 3])) << 24);
}

TEST(ZipArchive, PacksFilesWithTheirNamesAndSizes) {
    ScratchFolder folder;
    std::string body(20000, 'k');
    ASSERT_TRUE(WriteBytes(folder.file("plan.dwg"), body));
    ASSERT_TRUE(WriteBytes(folder.file("notes.txt"), "hello"));
    std::string zip = folder.file("out.zip");
    ASSERT_TRUE(WriteZipArchive(
        zip, {{folder.file("plan.dwg"), "plan.dwg"}, {folder.file("notes.txt"), "notes.txt"}}));
    std::string bytes = ReadBytes(zip);
    ASSERT_GT(bytes.size(), 22u);
    EXPECT_EQ(0x04034b50u, At32(bytes, 0)); // local header
    // End of central directory: two entries.
    size_t eocd = bytes.rfind(std::string("PK\x05\x06", 4));
    ASSERT_NE(std::string::npos, eocd);
    EXPECT_EQ(2, static_cast<unsigned char>(bytes[eocd + 10]));
    // Central directory record of the first entry: deflated, true sizes, name.
    size_t central = bytes.find(std::string("PK\x01\x02", 4));
    ASSERT_NE(std::string::npos, central);
    EXPECT_EQ(8, static_cast<unsigned char>(bytes[central + 10])); // deflate
    EXPECT_LT(At32(bytes, central + 20), body.size());             // compressed
    EXPECT_EQ(body.size(), At32(bytes, central + 24));
    EXPECT_EQ("plan.dwg", bytes.substr(central + 46, 8));
    // The entry's data inflates back to the file, whose CRC is recorded.
    uint32_t crc = static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size())));
    EXPECT_EQ(crc, At32(bytes, central + 16));
    size_t data = 30 + (At32(bytes, 26) & 0xFFFF) + (At32(bytes, 28) & 0xFFFF); // name, extra
    std::string inflated(body.size() + 16, '\0');
    z_stream z = {};
    ASSERT_EQ(Z_OK, inflateInit2(&z, -MAX_WBITS)); // raw deflate, as zip stores it
    z.next_in = reinterpret_cast<Bytef*>(&bytes[data]);
    z.avail_in = At32(bytes, central + 20);
    z.next_out = reinterpret_cast<Bytef*>(&inflated[0]);
    z.avail_out = static_cast<uInt>(inflated.size());
    EXPECT_EQ(Z_STREAM_END, inflate(&z, Z_FINISH));
    inflated.resize(z.total_out);
    inflateEnd(&z);
    EXPECT_EQ(body, inflated);
    // The second entry follows with its own name and size.
    size_t second = bytes.find(std::string("PK\x01\x02", 4), central + 46);
    ASSERT_NE(std::string::npos, second);
    EXPECT_EQ(5u, At32(bytes, second + 24));
    EXPECT_EQ("notes.txt", bytes.substr(second + 46, 9));
}

TEST(ZipArchive, MissingSourceFails) {
    ScratchFolder folder;
    EXPECT_FALSE(WriteZipArchive(folder.file("out.zip"), {{folder.file("none.dwg"), "none.dwg"}}));
}

} // namespace
