// The text of the HTML catalogue page: its head, the detail table or the grid
// of 3 or 4 files per row, and its foot, line by line; and the rules for the
// names and links the page refers to. Free of window calls.
#pragma once
#include <set>
#include <string>
#include <vector>

struct HtmlPageOptions {
    std::string title;
    std::string font;
    std::string header;
    bool showHeader = true;
    int layout = 1; // 1 detail table; 3 or 4 files per grid row
    // Preview, file name, version, size, date, attributes.
    bool show[6] = {true, true, true, true, true, true};
    // The character set the page's bytes are in (the program's code page).
    std::string charset = "iso-8859-1";
};

// The name a page declares for the bytes of a code page: "utf-8" for UTF-8,
// "iso-8859-1" for the Western one, "windows-N" for any other.
std::string CharsetOfCodePage(unsigned codePage);

// One file of the page. An empty image writes "No Preview" in its place.
struct HtmlPageFile {
    std::string name;  // as listed
    std::string url;   // the link to the drawing
    std::string image; // image file name beside the page, or ""
    std::string version;
    std::string size;
    std::string date;
    std::string attributes;
    // What the drawing says about itself; the detail table shows them under
    // the name when there are any.
    std::string title, author;
};

// Appends the page's lines, each ending in "\n", to a text the caller writes
// out as it goes (a page may list more files than it is worth holding).
class HtmlPageWriter {
  public:
    explicit HtmlPageWriter(const HtmlPageOptions& options);
    void Begin(std::string& out);
    void AddFile(const HtmlPageFile& file, std::string& out);
    void End(std::string& out);

  private:
    void AddTableRow(const HtmlPageFile& file, std::string& out) const;
    void AddGridCell(const HtmlPageFile& file, std::string& out);

    HtmlPageOptions options_;
    std::string face_; // the escaped font face
    int cell_ = 1;     // grid: the next cell's place in its row
};

// "&", "<", ">" and '"' as character references, so that any text reads as
// typed in the page and no name can add markup.
std::string HtmlEscape(const std::string& text);

// A path or file name (ANSI) for use in a URL: backslashes become slashes,
// and blanks, control characters, '"', '#', '%', '<', '>', '?' and every
// non-ASCII character are percent-encoded (non-ASCII as its UTF-8 bytes).
std::string UrlPathEscape(const std::string& path);
// The file: URL of a Windows path: "C:\a b\x.dwg" gives "file:///C:/a%20b/x.dwg",
// "\\server\share\x.dwg" gives "file://server/share/x.dwg".
std::string FileUrl(const std::string& path);

// The image file name of a listed drawing: the name in lower case with every
// occurrence of the extension (the extension box's selection, or the name's
// last four characters when all types are listed) replaced by ".bmp".
std::string ImageNameFor(const std::string& name, const std::string& extensionSelection);

// Whether a page's text, or its last few kilobytes, is a page Korvex wrote:
// it carries the generator line that ends every such page.
bool IsKorvexPage(const std::string& text);
// The picture files a Korvex page shows, named as they lie beside it (the
// references undone: character references, percent-encoding, UTF-8).
std::vector<std::string> PageImageNames(const std::string& page);

// The question before files of the page's folder that Korvex did not write
// are replaced: their names, a long list cut short.
std::string ReplaceQuestion(const std::vector<std::string>& names);

// The image names given out in one export, so that no two drawings share a
// picture: a name already given (letter case aside) becomes "name_2.bmp",
// "name_3.bmp" and so on.
class ImageNames {
  public:
    std::string Claim(const std::string& wanted);
    // Gives a name back, as if it had never been claimed.
    void Release(const std::string& name);

  private:
    std::set<std::string> used_; // lower case
};
