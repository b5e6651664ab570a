#include "inspect/drawing_properties.h"

#include <windows.h>

#include <cstdio>

const char* const kPropertyNames[kPropTextCount] = {
    "Title",    "Subject",       "Author",          "Keywords",
    "Comments", "Last Saved By", "Revision Number", "Hyperlink Base"};

namespace {

// Where the file header keeps the block's address and the code page.
constexpr uint64_t kPropertiesAddress = 0x20;
constexpr uint64_t kCodePageAt = 0x13;

// UTF-16 to UTF-8 as the system converts it: a lone surrogate becomes U+FFFD.
std::string Utf8FromWide(const std::vector<WCHAR>& wide) {
    if (wide.empty()) return std::string();
    int n = static_cast<int>(wide.size());
    int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string();
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, &out[0], size, nullptr, nullptr);
    return out;
}

// The system's code page for a drawing's code page number.
unsigned WindowsCodePage(unsigned drawingCodePage) {
    static const unsigned pages[] = {1252,  20127, 28591, 28592, 28593, 28594, 28595, 28596, 28597,
                                     28598, 28599, 437,   850,   852,   855,   857,   860,   861,
                                     863,   864,   865,   869,   932,   10000, 950,   949,   1361,
                                     866,   1250,  1251,  1252,  936,   1253,  1254,  1255,  1256,
                                     1257,  874,   932,   936,   949,   950,   1361,  1252,  1258};
    return drawingCodePage < sizeof pages / sizeof pages[0] ? pages[drawingCodePage] : 1252;
}

// The bytes read for the block, and a place in them.
struct Cursor {
    const std::string& bytes;
    size_t at = 0;
    bool Take(size_t n, std::string& out) {
        if (n > bytes.size() - at) return false;
        out.assign(bytes, at, n);
        at += n;
        return true;
    }
    bool Le16(uint16_t& v) {
        if (bytes.size() - at < 2) return false;
        v = ReadLE16(reinterpret_cast<const uint8_t*>(bytes.data()) + at);
        at += 2;
        return true;
    }
    bool Le32(uint32_t& v) {
        if (bytes.size() - at < 4) return false;
        v = ReadLE32(reinterpret_cast<const uint8_t*>(bytes.data()) + at);
        at += 4;
        return true;
    }
};

// One stored text: a count of characters, the ending zero counted, then the
// characters.
bool TakeText(Cursor& in, bool wide, unsigned codePage, std::string& text) {
    uint16_t count = 0;
    std::string raw;
    if (!in.Le16(count) || !in.Take(wide ? 2u * count : count, raw)) return false;
    text = wide ? PropertyTextFromUtf16(raw) : PropertyTextFromCodePage(raw, codePage);
    return true;
}

} // namespace

std::string PropertyTextFromUtf16(const std::string& bytes) {
    std::vector<WCHAR> wide(bytes.size() / 2);
    for (size_t i = 0; i < wide.size(); ++i)
        wide[i] =
            static_cast<WCHAR>(ReadLE16(reinterpret_cast<const uint8_t*>(bytes.data()) + 2 * i));
    while (!wide.empty() && wide.back() == 0)
        wide.pop_back();
    return Utf8FromWide(wide);
}

std::string PropertyTextFromCodePage(const std::string& bytes, unsigned drawingCodePage) {
    size_t n = bytes.size();
    while (n > 0 && bytes[n - 1] == '\0')
        --n;
    if (n == 0) return std::string();
    std::vector<WCHAR> wide(n * 2);
    int got = MultiByteToWideChar(WindowsCodePage(drawingCodePage), 0, bytes.data(),
                                  static_cast<int>(n), wide.data(), static_cast<int>(wide.size()));
    if (got > 0) {
        wide.resize(static_cast<size_t>(got));
    } else {
        // A code page the system lacks: its ASCII part still reads.
        for (size_t i = 0; i < n; ++i)
            wide[i] = static_cast<unsigned char>(bytes[i]) < 0x80 ? bytes[i] : 0xFFFD;
        wide.resize(n);
    }
    return Utf8FromWide(wide);
}

// The block's properties from the first `want` bytes at its address (fewer
// when the file ends first). False when they are not all there; `more` then
// tells whether the file holds more bytes to try.
static bool PropertiesFrom(const ByteReader& file, uint64_t address, size_t want, bool wide,
                           unsigned codePage, DrawingProperties& props, bool& more);

bool ReadDrawingProperties(const ByteReader& file, DrawingProperties& props) {
    props = DrawingProperties();
    std::string code = ReleaseCodeOf(file);
    // 2004 keeps 8-bit texts; 2007, 2010, 2013 and 2018 keep UTF-16.
    bool wide;
    if (code == "18")
        wide = false;
    else if (code == "21" || code == "24" || code == "27" || code == "32")
        wide = true;
    else
        return false;
    uint8_t header[4] = {}, page[2] = {};
    if (file.ReadAt(kPropertiesAddress, header, 4) != 4 || file.ReadAt(kCodePageAt, page, 2) != 2)
        return false;
    // The file's size is not asked for: a read past its end says so.
    uint64_t address = ReadLE32(header);
    if (address < kPropertiesAddress + 4) return false;
    // Most blocks are a few hundred bytes: the rest is read only when needed.
    bool more = false;
    return PropertiesFrom(file, address, 1024, wide, ReadLE16(page), props, more) ||
           (more &&
            PropertiesFrom(file, address, kMaxPropertiesBytes, wide, ReadLE16(page), props, more));
}

static bool PropertiesFrom(const ByteReader& file, uint64_t address, size_t want, bool wide,
                           unsigned codePage, DrawingProperties& props, bool& more) {
    props = DrawingProperties();
    // One byte more than wanted tells whether the file goes on.
    std::string bytes(want + 1, '\0');
    size_t got = file.ReadAt(address, &bytes[0], bytes.size());
    if (got == 0 || got > bytes.size()) return false;
    more = got > want;
    bytes.resize(more ? want : got);
    bool cut = more && want == kMaxPropertiesBytes; // may go on past them

    Cursor in{bytes};
    for (std::string& text : props.text)
        if (!TakeText(in, wide, codePage, text)) return false;
    DrawingTime* times[] = {&props.editing, &props.created, &props.updated};
    for (DrawingTime* time : times)
        if (!in.Le32(time->day) || !in.Le32(time->ms)) return false;
    uint16_t customs = 0;
    if (!in.Le16(customs)) return false;
    // Junk shows in the times first: milliseconds past a day's end, or a
    // date after the year 9999.
    for (DrawingTime* time : times)
        if (time->ms > 86400000u || (time != times[0] && time->day > 5373484)) return false;
    for (uint16_t i = 0; i < customs; ++i) {
        std::pair<std::string, std::string> custom;
        if (!TakeText(in, wide, codePage, custom.first) ||
            !TakeText(in, wide, codePage, custom.second))
            return cut; // beyond the bytes read: the rest is left out
        if (!custom.first.empty()) props.custom.push_back(std::move(custom));
    }
    return true;
}

namespace {

void PutLe16(std::string& out, uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8 & 0xFF);
}

void PutLe32(std::string& out, uint32_t v) {
    PutLe16(out, v & 0xFFFF);
    PutLe16(out, v >> 16);
}

void PutText(std::string& out, const std::string& text) {
    size_t n = text.size() < 0xFFFF ? text.size() : 0xFFFF;
    PutLe16(out, static_cast<uint32_t>(n));
    out.append(text, 0, n);
}

bool TakeText(Cursor& in, std::string& text) {
    uint16_t n = 0;
    return in.Le16(n) && in.Take(n, text);
}

constexpr char kSerialTag = 'P';

} // namespace

std::string SerializeProperties(const DrawingProperties& props) {
    std::string out(1, kSerialTag);
    for (const std::string& text : props.text)
        PutText(out, text);
    for (const DrawingTime* time : {&props.editing, &props.created, &props.updated}) {
        PutLe32(out, time->day);
        PutLe32(out, time->ms);
    }
    size_t customs = props.custom.size() < 0xFFFF ? props.custom.size() : 0xFFFF;
    PutLe16(out, static_cast<uint32_t>(customs));
    for (size_t i = 0; i < customs; ++i) {
        PutText(out, props.custom[i].first);
        PutText(out, props.custom[i].second);
    }
    return out;
}

bool ParseProperties(const std::string& data, DrawingProperties& props) {
    props = DrawingProperties();
    if (data.empty() || data[0] != kSerialTag) return false;
    Cursor in{data, 1};
    for (std::string& text : props.text)
        if (!TakeText(in, text)) return false;
    for (DrawingTime* time : {&props.editing, &props.created, &props.updated})
        if (!in.Le32(time->day) || !in.Le32(time->ms)) return false;
    uint16_t customs = 0;
    if (!in.Le16(customs)) return false;
    for (uint16_t i = 0; i < customs; ++i) {
        std::pair<std::string, std::string> custom;
        if (!TakeText(in, custom.first) || !TakeText(in, custom.second)) return false;
        props.custom.push_back(std::move(custom));
    }
    return in.at == data.size();
}

std::string DrawingTimeText(const DrawingTime& time) {
    if (time.day == 0) return std::string();
    // Days since 1 March of year 0, then the civil date (proleptic Gregorian).
    long long z = static_cast<long long>(time.day) - 1721120;
    long long era = (z >= 0 ? z : z - 146096) / 146097;
    long long doe = z - era * 146097;
    long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long long mp = (5 * doy + 2) / 153;
    long long day = doy - (153 * mp + 2) / 5 + 1;
    long long month = mp < 10 ? mp + 3 : mp - 9;
    long long year = yoe + era * 400 + (month <= 2);
    unsigned minutes = time.ms / 60000;
    unsigned hour = minutes / 60 % 24, minute = minutes % 60;
    char text[48];
    std::snprintf(text, sizeof text, "%02lld/%02lld/%04lld %02u:%02u %s", month, day, year,
                  hour % 12 == 0 ? 12 : hour % 12, minute, hour < 12 ? "AM" : "PM");
    return text;
}

// "2 days 03:15:07" for a total editing time.
static std::string EditingTimeText(const DrawingTime& time) {
    unsigned seconds = time.ms / 1000;
    char text[64];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    if (time.day == 0) return text;
    return std::to_string(time.day) + (time.day == 1 ? " day " : " days ") + text;
}

std::vector<std::pair<std::string, std::string>> FilledProperties(const DrawingProperties& props) {
    std::vector<std::pair<std::string, std::string>> lines;
    for (int i = 0; i < kPropTextCount; ++i)
        if (!props.text[i].empty()) lines.emplace_back(kPropertyNames[i], props.text[i]);
    if (props.created.day) lines.emplace_back("Created", DrawingTimeText(props.created));
    if (props.updated.day) lines.emplace_back("Last Updated", DrawingTimeText(props.updated));
    if (props.editing.day || props.editing.ms)
        lines.emplace_back("Total Editing Time", EditingTimeText(props.editing));
    for (const auto& custom : props.custom)
        lines.push_back(custom);
    return lines;
}
