#include "inspect/dwg_format.h"

#include <cstdlib>
#include <cstring>
#include <new>

#ifdef _WIN32
#define SeekFile _fseeki64
#define TellFile _ftelli64
#else
#define SeekFile fseeko
#define TellFile ftello
#endif

uint32_t ReadLE32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint16_t ReadLE16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

static void WriteLE32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

std::string ReleaseCodeOf(const ByteReader& file) {
    char code[3] = {};
    file.ReadAt(4, code, 2);
    return std::string(code); // a zero byte ends the code early
}

std::string VersionTextOf(const std::string& releaseCode) {
    // A release that introduced a format names every later one saving in it:
    // 2013 stands for 2013-2017, 2018 for 2018 onwards.
    static const char* const table[][2] = {
        {"02", "2.5"},   {"03", "2.6"},  {"04", "9"},    {"06", "10"},
        {"09", "11/12"}, {"10", "13"},   {"11", "13"},   {"12", "13"},
        {"13", "14"},    {"14", "14"},   {"15", "2000"}, {"18", "2004"},
        {"21", "2007"},  {"24", "2010"}, {"27", "2013"}, {"32", "2018"},
    };
    for (const auto& row : table)
        if (releaseCode == row[0]) return row[1];
    return "Unknown Version";
}

bool ReleaseSupportsPreview(const std::string& releaseCode) {
    return std::atoi(releaseCode.c_str()) >= 10;
}

// A fixed-size field: a read that cannot deliver all of it leaves it unchanged.
template <size_t N>
static bool ReadField(const ByteReader& file, uint64_t offset, uint8_t (&out)[N]) {
    uint8_t tmp[N];
    if (file.ReadAt(offset, tmp, N) != N) return false;
    std::memcpy(out, tmp, N);
    return true;
}

PreviewLookup FindPreviewEntry(const ByteReader& file, PreviewEntry& entry) {
    uint8_t address[4] = {}, count[1] = {};
    ReadField(file, 13, address);
    uint64_t pos = static_cast<uint64_t>(ReadLE32(address)) + 20;
    ReadField(file, pos, count);
    pos += 1;
    // The entry fields live across entries, as a sequential reader's would:
    // a truncated entry keeps what the previous one left.
    uint8_t code[1] = {}, start[4] = {}, size[4] = {};
    for (int i = 0; i < count[0]; ++i) {
        ReadField(file, pos, code);
        ReadField(file, pos + 1, start);
        ReadField(file, pos + 5, size);
        pos += 9;
        if (code[0] != 2) continue;
        entry.start = ReadLE32(start);
        entry.size = ReadLE32(size);
        entry.header.fill(0);
        if (entry.size == 0 || entry.start >= file.Size() || entry.size > file.Size())
            return PreviewLookup::Damaged;
        file.ReadAt(entry.start, entry.header.data(), entry.header.size());
        return PreviewLookup::Found;
    }
    return PreviewLookup::None;
}

std::array<uint8_t, 14> PreviewFileHeader(const std::array<uint8_t, 40>& info) {
    uint32_t biSize = ReadLE32(&info[0]);
    uint32_t biSizeImage = ReadLE32(&info[20]);
    uint32_t biClrUsed = ReadLE32(&info[32]);
    uint32_t offBits = 14u + biSize + 4u * biClrUsed;
    std::array<uint8_t, 14> header{};
    header[0] = 'B';
    header[1] = 'M';
    WriteLE32(&header[2], offBits + biSizeImage);
    WriteLE32(&header[10], offBits);
    return header;
}

uint16_t PreviewBitCount(const std::array<uint8_t, 40>& info) {
    return ReadLE16(&info[14]);
}

std::unique_ptr<char[]> PreviewData(const ByteReader& file, const PreviewEntry& entry,
                                    size_t* got) {
    // A damaged entry in a very large drawing can claim more than the address
    // space holds: that gives no preview rather than the end of the program.
    std::unique_ptr<char[]> data(new (std::nothrow) char[entry.size]());
    size_t read = data ? file.ReadAt(entry.start, data.get(), entry.size) : 0;
    if (got) *got = read;
    return data;
}

StreamReader::StreamReader(std::FILE* f) : f_(f) {
    if (f_ && std::fseek(f_, 0, SEEK_END) == 0) {
        long long end = TellFile(f_);
        size_ = end > 0 ? static_cast<uint64_t>(end) : 0;
    }
}

size_t StreamReader::ReadAt(uint64_t offset, void* buf, size_t n) const {
    if (!f_ || offset >= size_) return 0;
    if (SeekFile(f_, static_cast<decltype(TellFile(f_))>(offset), SEEK_SET) != 0) return 0;
    return std::fread(buf, 1, n, f_);
}

size_t MemoryReader::ReadAt(uint64_t offset, void* buf, size_t n) const {
    if (offset >= bytes_.size()) return 0;
    size_t avail = bytes_.size() - static_cast<size_t>(offset);
    if (n > avail) n = avail;
    std::memcpy(buf, bytes_.data() + offset, n);
    return n;
}

std::string WithColourTableCounted(std::string bmp) {
    if (bmp.size() < 54 || bmp.compare(0, 2, "BM") != 0) return bmp;
    std::array<uint8_t, 40> info{};
    std::memcpy(info.data(), bmp.data() + 14, 40);
    uint32_t biSize = ReadLE32(&info[0]);
    uint16_t bitCount = PreviewBitCount(info);
    if (ReadLE32(&info[32]) != 0 || bitCount > 8 || biSize > bmp.size()) return bmp;
    uint64_t offBits = 14ull + biSize + 4ull * (1u << bitCount);
    if (offBits > bmp.size()) return bmp;
    uint32_t off = static_cast<uint32_t>(offBits), size = static_cast<uint32_t>(bmp.size());
    for (int i = 0; i < 4; ++i) {
        bmp[2 + i] = static_cast<char>(size >> (8 * i));
        bmp[10 + i] = static_cast<char>(off >> (8 * i));
    }
    return bmp;
}
