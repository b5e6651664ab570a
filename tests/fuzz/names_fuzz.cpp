// Fuzz target for the texts Korvex makes from file names for HTML pages and
// zip archives: character references, percent-encoded links, image names
// and their numbering, the page's lines, entry and archive names and the
// messages naming unread files. The first byte picks the system's ANSI code
// page and the page's layout, the second the columns it shows; the rest are
// texts parted by zero bytes: the page's title, font and header, the
// extension selection, a folder, then up to four file names. Built natively with
// sanitizers by scripts/fuzz.
#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "export/html_page.h"
#include "export/zip_names.h"
#include "runtime/file_facts.h"
#include "runtime/strings.h"

namespace {

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t end; (end = text.find('\0', start)) != std::string::npos; start = end + 1)
        parts.push_back(text.substr(start, end - start));
    parts.push_back(text.substr(start));
    return parts;
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

// The escaped text holds no markup and reads back as the text.
void CheckHtmlEscape(const std::string& text) {
    std::string escaped = HtmlEscape(text);
    if (escaped.find_first_of("<>\"") != std::string::npos) __builtin_trap();
    std::string back = ReplaceAll(escaped, "&lt;", "<");
    back = ReplaceAll(back, "&gt;", ">");
    back = ReplaceAll(back, "&quot;", "\"");
    back = ReplaceAll(back, "&amp;", "&");
    if (back != text) __builtin_trap();
}

// A link holds only what a URL may hold unencoded, every "%" begins an
// escape, and no backslash is left; an ASCII path reads back with slashes.
void CheckUrl(const std::string& path) {
    std::string url = UrlPathEscape(path);
    std::string decoded;
    for (size_t i = 0; i < url.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(url[i]);
        if (c <= 0x20 || c >= 0x7F || c == '"' || c == '#' || c == '<' || c == '>' || c == '?' ||
            c == '\\')
            __builtin_trap();
        if (c == '%') {
            if (i + 2 >= url.size() || !IsHexDigit(url[i + 1]) || !IsHexDigit(url[i + 2]))
                __builtin_trap();
            decoded += static_cast<char>(std::stoi(url.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            decoded += static_cast<char>(c);
        }
    }
    bool ascii = true;
    for (char c : path)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii && decoded != ReplaceAll(path, "\\", "/")) __builtin_trap();
    std::string file = FileUrl(path);
    if (file.compare(0, 5, "file:") != 0 || file.find(url) == std::string::npos) __builtin_trap();
}

// The zip texts: the entry is the bare name, the single file's archive its
// name with "zip" for the last three characters, the dialog's archive ends
// in ".zip".
void CheckZipNames(const std::string& name, const std::string& folder) {
    std::string entry = FileNamePart(name);
    if (entry.find('\\') != std::string::npos || name.size() < entry.size() ||
        name.compare(name.size() - entry.size(), entry.size(), entry) != 0)
        __builtin_trap();
    std::string single = SingleFileArchivePath(entry);
    if (Right(single, 3) != "zip" || single.substr(0, single.size() - 3) !=
                                         entry.substr(0, entry.size() > 3 ? entry.size() - 3 : 0))
        __builtin_trap();
    if (Upper(Right(DialogArchivePath(name, folder), 4)) != ".ZIP") __builtin_trap();
    FolderPart(name);
    UnreadableFileMessage(name);
}

// Characters that make or end markup.
size_t MarkupCount(const std::string& page) {
    size_t n = 0;
    for (const char* p = page.c_str(); (p = std::strpbrk(p, "<>\"")) != nullptr; ++p)
        ++n;
    return n;
}

std::string Page(const HtmlPageOptions& options, const std::vector<HtmlPageFile>& files) {
    HtmlPageWriter writer(options);
    std::string out;
    writer.Begin(out);
    for (const HtmlPageFile& f : files)
        writer.AddFile(f, out);
    writer.End(out);
    return out;
}

// The page for the files, and the same page for plain names: names, title,
// font and header add no markup, so both hold as many "<", ">" and '"'. The
// plain page's count is kept for each kind of page (layout, columns, files
// with and without a picture), which a run would otherwise write twice.
void CheckPage(const HtmlPageOptions& options, const std::vector<HtmlPageFile>& files) {
    std::string kind = std::to_string(options.layout) + (options.showHeader ? "h" : "-");
    for (bool on : options.show)
        kind += on ? '1' : '0';
    kind += ':';
    for (const HtmlPageFile& f : files)
        kind += f.image.empty() ? '-' : 'i';
    static std::map<std::string, size_t> plainCounts;
    auto plain = plainCounts.find(kind);
    if (plain == plainCounts.end()) {
        HtmlPageOptions plainOptions = options;
        plainOptions.title = plainOptions.font = plainOptions.header = "x";
        std::vector<HtmlPageFile> plainFiles = files;
        for (HtmlPageFile& f : plainFiles) {
            f.name = f.url = "x";
            if (!f.image.empty()) f.image = "x.bmp";
        }
        plain = plainCounts.emplace(kind, MarkupCount(Page(plainOptions, plainFiles))).first;
    }
    if (MarkupCount(Page(options, files)) != plain->second) __builtin_trap();
}

} // namespace

// The stand-in for the system's conversions must convert as the system does,
// or what is found here would not be found in the program.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!NativeTextMatchesSystem()) __builtin_trap();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    NativeAnsiCodePage = data[0] & 1 ? CP_UTF8 : 1252;
    static const int kLayouts[4] = {1, 3, 4, 1};
    HtmlPageOptions options;
    options.layout = kLayouts[(data[0] >> 1) & 3];
    options.showHeader = (data[0] & 8) != 0;
    for (int i = 0; i < 6; ++i)
        options.show[i] = (data[1] >> i & 1) != 0;
    std::vector<std::string> parts =
        Split(std::string(reinterpret_cast<const char*>(data) + 2, size - 2));
    parts.resize(std::max<size_t>(parts.size(), 5));
    options.title = parts[0];
    options.font = parts[1];
    options.header = parts[2];
    const std::string& extension = parts[3];
    const std::string& folder = parts[4];

    // A few names make every case; more only slow each run down.
    std::vector<std::string> names(parts.begin() + 5,
                                   parts.begin() + std::min<size_t>(parts.size(), 9));
    ImageNames images;
    std::vector<std::string> claimed;
    std::vector<HtmlPageFile> files;
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        CheckHtmlEscape(name);
        CheckUrl(name);
        CheckZipNames(name, folder);

        // Image names: lower case, each given once whatever its case.
        std::string wanted = ImageNameFor(name, extension);
        std::string image = images.Claim(wanted);
        if (Lower(Right(wanted, 4)) == ".bmp" && Lower(Right(image, 4)) != ".bmp") __builtin_trap();
        for (const std::string& other : claimed)
            if (Lower(other) == Lower(image)) __builtin_trap();
        claimed.push_back(image);

        HtmlPageFile file;
        file.name = name;
        file.url = FileUrl(WithTrailingBackslash(folder) + name);
        file.image = i % 3 == 2 ? std::string() : image; // some without a preview
        file.version = "2000";
        file.size = "1,234 KB";
        file.date = "03/07/2010 02:05 PM";
        file.attributes = "A";
        files.push_back(file);
    }
    CheckHtmlEscape(options.title);
    CheckPage(options, files);

    std::vector<std::string> cutShort(names.begin() + names.size() / 2, names.end());
    names.resize(names.size() / 2);
    UnreadFilesMessage(names, cutShort);
    return 0;
}
