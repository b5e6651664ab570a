// The parts of a drawing file Korvex reads: the release code at offsets 4-5
// and the image block reached through offset 13. Works on bytes through a
// reader and makes no window or file-system calls of its own.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

// Random access to the bytes of one file. A read past the end delivers only
// the bytes that exist.
class ByteReader {
  public:
    virtual ~ByteReader() = default;
    virtual uint64_t Size() const = 0;
    // Reads up to n bytes at offset; returns the number read.
    virtual size_t ReadAt(uint64_t offset, void* buf, size_t n) const = 0;
};

// Release code: the characters at offsets 4 and 5, ended early by a zero byte
// or the end of the file.
std::string ReleaseCodeOf(const ByteReader& file);
// DwgVersion text of a release code ("15" -> "2000"; unknown -> "Unknown Version").
std::string VersionTextOf(const std::string& releaseCode);
// Whether a release can carry a preview: the code read as atoi is 10 or more.
bool ReleaseSupportsPreview(const std::string& releaseCode);

// The first picture entry of code 2 (a device-independent bitmap) in the
// image block, with the first 40 bytes of its data.
struct PreviewEntry {
    uint32_t start = 0;
    uint32_t size = 0;
    std::array<uint8_t, 40> header{};
};

enum class PreviewLookup {
    None,    // no code-2 entry
    Found,   // entry usable: non-empty and inside the file
    Damaged, // a code-2 entry that is empty, larger than the file or starts outside it
};

PreviewLookup FindPreviewEntry(const ByteReader& file, PreviewEntry& entry);

// The 14-byte file header written before the entry's bytes: "BM", bfSize =
// 14 + biSize + 4 * biClrUsed + biSizeImage, two zero words, bfOffBits =
// 14 + biSize + 4 * biClrUsed (32-bit unsigned sums of the header fields).
std::array<uint8_t, 14> PreviewFileHeader(const std::array<uint8_t, 40>& infoHeader);
// The preview file with a file header every reader takes as meant: a colour
// count of 0 names every colour the bit depth can (256 for 8 bits), and the
// table of them lies before the pixels. The preview file's own header counts
// only biClrUsed colours; a picture handed to other programs gets this one.
// The bytes after the header are unchanged.
std::string WithColourTableCounted(std::string bmp);
uint16_t PreviewBitCount(const std::array<uint8_t, 40>& infoHeader);

// The entry's bytes (zeros where the drawing ends early), or nothing when no
// buffer of the entry's size can be had. `got` receives how many of them the
// drawing held.
std::unique_ptr<char[]> PreviewData(const ByteReader& file, const PreviewEntry& entry,
                                    size_t* got = nullptr);

uint32_t ReadLE32(const uint8_t* p);
uint16_t ReadLE16(const uint8_t* p);

// A reader over an open C stream.
class StreamReader : public ByteReader {
  public:
    explicit StreamReader(std::FILE* f);
    uint64_t Size() const override { return size_; }
    size_t ReadAt(uint64_t offset, void* buf, size_t n) const override;

  private:
    std::FILE* f_;
    uint64_t size_ = 0;
};

// A reader over bytes in memory.
class MemoryReader : public ByteReader {
  public:
    explicit MemoryReader(const std::string& bytes) : bytes_(bytes) {}
    uint64_t Size() const override { return bytes_.size(); }
    size_t ReadAt(uint64_t offset, void* buf, size_t n) const override;

  private:
    const std::string& bytes_;
};
