// What a drawing says about itself: the summary properties that drawings of
// release 2004 and later keep (title, author, last saved by, ...). Read from
// bytes through a reader; no window or file-system calls of its own.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "inspect/dwg_format.h"

enum PropertyText {
    kPropTitle,
    kPropSubject,
    kPropAuthor,
    kPropKeywords,
    kPropComments,
    kPropLastSavedBy,
    kPropRevision,
    kPropHyperlinkBase,
    kPropTextCount
};
// Display names of the texts, in their order in the file.
extern const char* const kPropertyNames[kPropTextCount];

// A time as the drawing keeps it: a Julian day and the milliseconds into it.
struct DrawingTime {
    uint32_t day = 0;
    uint32_t ms = 0;
};

// All texts UTF-8.
struct DrawingProperties {
    std::string text[kPropTextCount];
    DrawingTime editing; // total editing time: days and milliseconds
    DrawingTime created, updated;
    std::vector<std::pair<std::string, std::string>> custom; // name, value
};

// The most of a drawing read for its properties.
constexpr size_t kMaxPropertiesBytes = 4096;

// The properties of a drawing of release 2004 or later. False ("no
// properties") for other releases, an address outside the file, a text that
// runs past the block's end, or junk. Custom properties beyond the bytes read
// are left out.
bool ReadDrawingProperties(const ByteReader& file, DrawingProperties& props);

// The UTF-8 text of a text as stored: 8-bit in the drawing's code page (its
// number in the file header at 0x13) or UTF-16LE. Trailing zeros dropped.
std::string PropertyTextFromCodePage(const std::string& bytes, unsigned drawingCodePage);
std::string PropertyTextFromUtf16(const std::string& bytes);

// A compact form of the properties, to be kept and read back.
std::string SerializeProperties(const DrawingProperties& props);
bool ParseProperties(const std::string& data, DrawingProperties& props);

// The filled-in properties as name and text, in file order, then the times
// that are set, then the custom ones.
std::vector<std::pair<std::string, std::string>> FilledProperties(const DrawingProperties& props);
// "03/07/2010 02:05 PM" for a time kept by the drawing; "" when unset.
std::string DrawingTimeText(const DrawingTime& time);
