#include "filelist/sort_keys.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "runtime/strings.h"

std::string VersionSortCode(const std::string& versionText) {
    static const char* const codes[][2] = {
        {"2.5", "000025"},   {"2.6", "000026"},  {"9", "000090"},    {"10", "000100"},
        {"11/12", "000110"}, {"13", "000130"},   {"14", "000140"},   {"2000", "020000"},
        {"2004", "020040"},  {"2007", "020070"}, {"2010", "020100"}, {"2013", "020130"},
        {"2018", "020180"},
    };
    std::string text = Trim(versionText);
    for (const auto& row : codes)
        if (text == row[0]) return row[1];
    return std::string();
}

std::string SizeLengthKey(const std::string& sizeText) {
    // " 5" for "12 KB". Texts of ten characters and more (100,000 KB and up)
    // would give " 10" and sort before " 9"; they get " 9~" and their length
    // instead, which orders after every nine-character text and among
    // themselves by length.
    if (sizeText.size() < 10) return NumberText(static_cast<double>(sizeText.size()));
    return " 9~" + std::to_string(sizeText.size());
}

std::string SortKey(int column, const std::string& fileName, const std::string& text) {
    if (column < 3 || column > 9) return fileName;
    // Built in place: a sort makes one key for every row.
    std::string key;
    key.reserve(text.size() + fileName.size() + 16);
    switch (column) {
    case 3: key.append(VersionSortCode(text)); break;
    case 4: key.append(SizeLengthKey(text)).append("-").append(text); break;
    case 5: {
        // "MM/dd/yyyy hh:mm tt": year, month, day, the half of the day, then
        // the time from the blank on. The 12-hour clock starts each half of
        // the day at 12: it sorts as 00.
        auto part = [&](size_t at, size_t n) {
            if (at < text.size()) key.append(text, at, n);
        };
        part(6, 4);
        part(0, 2);
        part(3, 2);
        key += text.find("AM") != std::string::npos ? 'A' : 'P';
        if (text.size() >= 13 && text.compare(11, 2, "12") == 0) {
            key.append(text, 10, 1).append("00");
            part(13, std::string::npos);
        } else {
            part(10, std::string::npos);
        }
        break;
    }
    default: key.append(text); break;
    }
    return key.append("-").append(fileName);
}

std::string RankText(int k) {
    std::string digits = std::to_string(k);
    return digits.size() < 4 ? std::string(4 - digits.size(), '0') + digits : digits;
}

static const DWORD kCollation = NORM_IGNORECASE | SORT_STRINGSORT;

int CompareKeys(const std::string& a, const std::string& b) {
    // The user's locale decides, as everywhere in Windows: letters beyond
    // ASCII ("Ö" and "ö") are equal apart from case and sort among their
    // kin. String sort keeps hyphens as symbols, so a key beginning with
    // one sorts first.
    int order = CompareStringA(LOCALE_USER_DEFAULT, kCollation, a.data(),
                               static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()));
    if (order != 0) return order - CSTR_EQUAL;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

static std::string LocaleSortKey(const char* text, int length) {
    std::string bytes(8 * length + 16, '\0');
    int n = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | kCollation, text, length, &bytes[0],
                         static_cast<int>(bytes.size()));
    if (n == 0) {
        n = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | kCollation, text, length, nullptr, 0);
        bytes.assign(n > 0 ? n : 0, '\0');
        if (n > 0)
            n = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | kCollation, text, length,
                             &bytes[0], n);
    }
    bytes.resize(n > 0 ? n : 0);
    return bytes;
}

// The sort key of a text of printable ASCII characters is their weights one
// after the other, then the end of the key. Asking the system once per
// character instead of once per text saves most of the time, provided the
// locale joins no letters into one (as some do with "aa" or "ch"); a
// locale that does is asked for every text.
static const char kKeyEnd[] = "\x01\x01\x01\x01"; // and the closing zero
struct AsciiWeights {
    bool usable = false;
    char weight[128][2] = {};
};

static const AsciiWeights& Weights() {
    static const AsciiWeights weights = [] {
        AsciiWeights w;
        const std::string end(kKeyEnd, 5);
        for (int c = 0x20; c < 0x7F; ++c) {
            char text = static_cast<char>(c);
            std::string key = LocaleSortKey(&text, 1);
            if (key.size() != 2 + end.size() || key.compare(2, end.size(), end)) return w;
            w.weight[c][0] = key[0];
            w.weight[c][1] = key[1];
        }
        const std::string sample = "abcdefghijklmnopqrstuvwxyz0123456789 -.";
        for (char a : sample)
            for (char b : sample) {
                const char pair[2] = {a, b};
                std::string joined =
                    std::string(w.weight[int(a)], 2) + std::string(w.weight[int(b)], 2) + end;
                if (LocaleSortKey(pair, 2) != joined) return w;
            }
        w.usable = true;
        return w;
    }();
    return weights;
}

// Appends the locale's sort key of a text: compared byte by byte, sort keys
// order as the comparison orders their texts. An empty text has none.
static void AppendCollationBytes(const std::string& text, const AsciiWeights& weights,
                                 std::string& bytes) {
    if (text.empty()) return;
    bool ascii = weights.usable;
    for (unsigned char c : text)
        if (c < 0x20 || c >= 0x7F) ascii = false;
    if (!ascii) {
        bytes += LocaleSortKey(text.data(), static_cast<int>(text.size()));
        return;
    }
    for (unsigned char c : text)
        bytes.append(weights.weight[c], 2);
    bytes.append(kKeyEnd, 5);
}

std::vector<int> AscendingOrder(const std::vector<std::string>& keys) {
    // One sort key per text instead of a comparison of two texts each time:
    // the comparisons outnumber the texts many times over. The sort keys lie
    // one after the other in one string.
    const AsciiWeights& weights = Weights();
    size_t n = keys.size(), total = 0;
    for (const std::string& key : keys)
        total += 2 * key.size() + 5;
    std::string bytes;
    bytes.reserve(total);
    std::vector<size_t> start(n + 1);
    for (size_t i = 0; i < n; ++i) {
        start[i] = bytes.size();
        AppendCollationBytes(keys[i], weights, bytes);
    }
    start[n] = bytes.size();

    std::vector<int> order(n);
    for (size_t i = 0; i < n; ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        size_t lengthA = start[a + 1] - start[a], lengthB = start[b + 1] - start[b];
        // Texts without a sort key are compared as texts.
        if (lengthA == 0 || lengthB == 0) return CompareKeys(keys[a], keys[b]) < 0;
        int order = std::memcmp(bytes.data() + start[a], bytes.data() + start[b],
                                std::min(lengthA, lengthB));
        return order != 0 ? order < 0 : lengthA < lengthB;
    });
    return order;
}

const char* const kFileListHeaders[10] = {"SortItem", "Preview",      "Filename",   "Version",
                                          "Size",     "Modified",     "Attributes", "Title",
                                          "Author",   "Last Saved By"};

std::string MarkedHeader(const std::string& name, bool marked, bool ascending) {
    return marked ? name + (ascending ? " ^" : " v") : name;
}

std::string HeaderText(int column, int sortColumn, bool ascending) {
    if (column < 0 || column > 9) return std::string();
    return MarkedHeader(kFileListHeaders[column], column == sortColumn && column >= 2, ascending);
}
