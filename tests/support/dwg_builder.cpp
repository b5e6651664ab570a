#include "tests/support/dwg_builder.h"

#include <windows.h>

#include <cstdio>

#include "inspect/dwg_format.h"
#include "runtime/files.h"
#include "runtime/handles.h"

void PutLE32(std::string& bytes, size_t offset, uint32_t value) {
    if (bytes.size() < offset + 4) bytes.resize(offset + 4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>(value >> (8 * i));
}

static void AppendLE32(std::string& bytes, uint32_t value) {
    PutLE32(bytes, bytes.size(), value);
}

static void AppendLE16(std::string& bytes, uint16_t value) {
    bytes += static_cast<char>(value & 0xFF);
    bytes += static_cast<char>(value >> 8);
}

std::vector<uint32_t> DrawingPalette() {
    std::vector<uint32_t> palette(256);
    const uint32_t basic[8] = {0x000000, 0xFF0000, 0xFFFF00, 0x00FF00,
                               0x00FFFF, 0x0000FF, 0xFF00FF, 0xFFFFFF};
    for (int i = 0; i < 256; ++i) {
        if (i < 8) {
            palette[i] = basic[i];
        } else {
            uint32_t r = (i * 37) & 0xFF, g = (i * 91) & 0xFF, b = (i * 53) & 0xFF;
            palette[i] = r << 16 | g << 8 | b;
        }
    }
    palette[8] = 0x808080;
    palette[9] = 0xC0C0C0;
    palette[10] = 0xFEFFFF; // almost white: must never be swapped
    return palette;
}

static int PaletteIndex(const std::vector<uint32_t>& palette, uint32_t color) {
    for (size_t i = 0; i < palette.size(); ++i)
        if (palette[i] == color) return static_cast<int>(i);
    return 0;
}

std::string MakeDib(const DibRecipe& recipe) {
    int bytesPerPixel = recipe.bits / 8;
    uint32_t stride = (static_cast<uint32_t>(recipe.width * recipe.bits) + 31) / 32 * 4;
    uint32_t imageSize = stride * static_cast<uint32_t>(recipe.height);
    std::vector<uint32_t> palette = recipe.palette;
    if (recipe.bits == 8 && palette.empty()) palette = DrawingPalette();
    if (recipe.bits == 8) palette.resize(256, 0);

    std::string dib;
    AppendLE32(dib, 40);
    AppendLE32(dib, static_cast<uint32_t>(recipe.width));
    AppendLE32(dib, static_cast<uint32_t>(recipe.height));
    AppendLE16(dib, 1);
    AppendLE16(dib, static_cast<uint16_t>(recipe.bits));
    AppendLE32(dib, 0); // BI_RGB
    AppendLE32(dib, recipe.writeSizeImage ? imageSize : 0);
    AppendLE32(dib, 2835);
    AppendLE32(dib, 2835);
    AppendLE32(dib, recipe.bits == 8 && recipe.writeClrUsed ? 256 : 0);
    AppendLE32(dib, 0);
    for (uint32_t c : palette)
        AppendLE32(dib, c); // RGBQUAD: blue, green, red, 0

    for (int row = recipe.height - 1; row >= 0; --row) {
        std::string line(stride, '\0');
        for (int x = 0; x < recipe.width; ++x) {
            uint32_t c = recipe.color ? recipe.color(x, row) : 0xFFFFFF;
            if (recipe.bits == 8) {
                line[x] = static_cast<char>(PaletteIndex(palette, c));
            } else {
                line[x * bytesPerPixel] = static_cast<char>(c & 0xFF);
                line[x * bytesPerPixel + 1] = static_cast<char>((c >> 8) & 0xFF);
                line[x * bytesPerPixel + 2] = static_cast<char>((c >> 16) & 0xFF);
            }
        }
        dib += line;
    }
    return dib;
}

std::string MakeDrawing(const std::string& signature, const std::vector<ImageEntry>& entries) {
    std::string bytes = signature;
    bytes.resize(kImageBlockAddress, '\0');
    PutLE32(bytes, 13, kImageBlockAddress);
    // Start sentinel of the image block, then its size, then the directory.
    const unsigned char sentinel[16] = {0x1F, 0x25, 0x6D, 0x07, 0xD4, 0x36, 0x28, 0x28,
                                        0x9D, 0x57, 0xCA, 0x3F, 0x9D, 0x44, 0x10, 0x2B};
    bytes.append(reinterpret_cast<const char*>(sentinel), sizeof sentinel);
    size_t sizeAt = bytes.size();
    AppendLE32(bytes, 0);
    bytes += static_cast<char>(entries.size());
    uint32_t dataAt = static_cast<uint32_t>(bytes.size() + 9 * entries.size());
    for (const ImageEntry& e : entries) {
        bytes += static_cast<char>(e.code);
        AppendLE32(bytes, dataAt);
        AppendLE32(bytes, static_cast<uint32_t>(e.data.size()));
        dataAt += static_cast<uint32_t>(e.data.size());
    }
    for (const ImageEntry& e : entries)
        bytes += e.data;
    PutLE32(bytes, sizeAt, static_cast<uint32_t>(bytes.size() - kImageBlockAddress));
    return bytes;
}

std::string MakeDrawingWithoutImages(const std::string& signature, size_t length) {
    std::string bytes = signature;
    bytes.resize(length < 17 ? 17 : length, '\0');
    PutLE32(bytes, 13, 0x7FFFFFF0u);
    return bytes;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    FileStream f(path.c_str(), "wb");
    return f && std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
}

bool ExtendFile(const std::string& path, uint64_t size) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    bool ok = f != INVALID_HANDLE_VALUE && SetFilePointerEx(f, end, nullptr, FILE_BEGIN) &&
              SetEndOfFile(f);
    if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
    return ok;
}

std::string ReadBytes(const std::string& path) {
    std::string bytes;
    ReadWholeFile(path, bytes);
    return bytes;
}

static void PutStoredText(std::string& out, bool wide, const std::string& text) {
    std::wstring units(text.size() + 1, L'\0');
    size_t n = wide ? MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                          &units[0], static_cast<int>(units.size()))
                    : text.size();
    out.append({static_cast<char>((n + 1) & 0xFF), static_cast<char>((n + 1) >> 8)});
    for (size_t i = 0; i <= n; ++i)
        out.append(wide ? std::string{char(units[i] & 0xFF), char(units[i] >> 8)}
                        : std::string(1, i < n ? text[i] : '\0'));
}

std::string PropertiesBlock(bool wide, const std::vector<std::string>& texts,
                            const std::vector<std::string>& customPairs) {
    std::string out;
    for (size_t i = 0; i < 8; ++i)
        PutStoredText(out, wide, i < texts.size() ? texts[i] : "");
    // Editing time 1 h; created 2 Jan 2020 10:00; updated 3 Jan 2020 15:30.
    for (uint32_t t : {0, 3600000, 2458851, 36000000, 2458852, 55800000})
        AppendLE32(out, t);
    out.append({static_cast<char>(customPairs.size() / 2), 0});
    for (const std::string& text : customPairs)
        PutStoredText(out, wide, text);
    return out;
}

std::string WithPropertiesBlock(std::string drawing, const std::string& block, uint16_t codePage) {
    PutLE32(drawing, 0x20, static_cast<uint32_t>(drawing.size()));
    drawing[0x13] = static_cast<char>(codePage & 0xFF);
    drawing[0x14] = static_cast<char>(codePage >> 8);
    return drawing + block;
}

std::string WithPropertiesBlockInFront(const std::string& drawing, const std::string& block,
                                       uint16_t codePage) {
    // The image block moves behind the properties: its own address and its
    // entries' addresses move with it.
    const uint32_t at = 0x120;
    const uint32_t moved = static_cast<uint32_t>(at + block.size());
    std::string out = drawing.substr(0, kImageBlockAddress);
    out.resize(at, '\0');
    out += block;
    out += drawing.substr(kImageBlockAddress);
    const uint32_t shift = moved - kImageBlockAddress;
    PutLE32(out, 13, moved);
    size_t entries = static_cast<unsigned char>(out[moved + 20]);
    for (size_t i = 0; i < entries; ++i) {
        size_t field = moved + 21 + 9 * i + 1;
        PutLE32(out, field, ReadLE32(reinterpret_cast<const uint8_t*>(out.data()) + field) + shift);
    }
    PutLE32(out, 0x20, at);
    out[0x13] = static_cast<char>(codePage & 0xFF);
    out[0x14] = static_cast<char>(codePage >> 8);
    return out;
}
