// Fuzz target for what the drawing index hands back: a thumbnail's compact
// form read into a cell, whatever the stored bytes, and the key of any path.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "drawindex/index_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    // The cell asked for: the stored picture must be of that size.
    int width = data[1] % 64 + 1, height = data[2] % 64 + 1;
    const uint8_t* rest = data + 3;
    size_t restSize = size - 3;
    std::vector<uint8_t> cell;
    if (data[0] & 1) {
        // Stored bytes as they come.
        if (DecodeCellPicture(rest, restSize, width, height, cell) &&
            cell.size() != static_cast<size_t>(width) * height * 4)
            abort();
    } else {
        // A picture made of the bytes, stored, then one byte of it damaged:
        // whole it comes back as it was, damaged it is refused or whole.
        std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
        for (size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = i % 4 == 3 || restSize == 0 ? 0 : rest[i % restSize];
        std::string stored = EncodeCellPicture(pixels, width, height);
        if (stored.empty() ||
            !DecodeCellPicture(reinterpret_cast<const uint8_t*>(stored.data()), stored.size(),
                               width, height, cell) ||
            cell != pixels)
            abort();
        if (restSize >= 2) {
            stored[rest[0] % stored.size()] ^= static_cast<char>(rest[1] | 1);
            if (DecodeCellPicture(reinterpret_cast<const uint8_t*>(stored.data()), stored.size(),
                                  width, height, cell) &&
                cell.size() != pixels.size())
                abort();
        }
    }
    NativeAnsiCodePage = CP_UTF8;
    std::string key = IndexKeyOf(std::string(reinterpret_cast<const char*>(rest), restSize));
    if (FolderKeyOf(key).size() > key.size()) abort();
    return 0;
}
