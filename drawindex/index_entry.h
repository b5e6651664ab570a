// What the drawing index keeps for one drawing, and the rules it is kept by:
// the key a path is found under (names compared as Windows compares them),
// when an entry still speaks for the drawing on disk, and the compact form of
// a thumbnail cell. No window calls and no database: built natively as well.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The facts of a drawing as its folder's listing reports them; a drawing
// whose facts changed is a changed drawing.
struct DrawingFacts {
    uint64_t size = 0;
    uint64_t lastWrite = 0; // the system's file times: 100 ns units since 1601, UTC
    uint64_t created = 0;
    bool operator==(const DrawingFacts& o) const {
        return size == o.size && lastWrite == o.lastWrite && created == o.created;
    }
    bool operator!=(const DrawingFacts& o) const { return !(*this == o); }
};

// What the thumbnail cell of a drawing shows, as the index keeps it.
enum class IndexedCell : int {
    kUnknown = -1, // not made yet: the drawing is read for it when its row is seen
    kPicture = 0,  // its own thumbnail, in `picture`
    kNotFound = 1, // the Preview Not Found placeholder
    kNotSupported = 2,
};

// The cell a thumbnail was made for: another size, background or black and
// white choice makes it another thumbnail.
struct CellFormat {
    int width = 0, height = 0;
    uint32_t background = 0; // 0x00BBGGRR
    bool swapped = false;
    bool operator==(const CellFormat& o) const {
        return width == o.width && height == o.height && background == o.background &&
               swapped == o.swapped;
    }
};

struct IndexedDrawing {
    std::string path; // as the listing named it
    DrawingFacts facts;
    std::string version; // the release text
    IndexedCell cell = IndexedCell::kUnknown;
    CellFormat format;   // what cell was made for
    std::string picture; // EncodeCellPicture of the cell, with kPicture
    // The drawing's properties, opaque here: their first byte is the
    // version of their layout. Empty when none were read.
    std::string properties;
};

// The key an entry is found under: the path with "/" as "\", without a
// "\\?\" prefix, each character in upper case as the file system folds
// names, so that "Plan.DWG" and "PLAN.dwg" in one folder are one drawing.
std::string IndexKeyOf(const std::string& path);
// The key of the folder holding a path (its key up to the last "\").
std::string FolderKeyOf(const std::string& key);

// The layout version of a properties blob; -1 for none.
int PropertiesVersion(const std::string& properties);

// A thumbnail cell (32-bit pixels, top-down, width x height) in its compact
// form: a version byte, the size and the deflated 24-bit pixels.
std::string EncodeCellPicture(const std::vector<uint8_t>& cell, int width, int height);
// The cell back from its compact form, when it is whole and of the size
// asked for; false for anything else, whatever the bytes.
bool DecodeCellPicture(const uint8_t* data, size_t size, int width, int height,
                       std::vector<uint8_t>& cell);
