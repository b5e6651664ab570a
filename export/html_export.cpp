#include "export/html_export.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <cstdio>
#include <memory>
#include <vector>

#include "export/html_page.h"
#include "filelist/list_rows.h"
#include "inspect/dwg_format.h"
#include "inspect/dwg_inspect.h"
#include "runtime/file_facts.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/handles.h"
#include "runtime/strings.h"
#include "runtime/win_helpers.h"

static void OpenWithShell(const std::string& pagePath) {
    ShellExecuteA(nullptr, "open", pagePath.c_str(), "", nullptr, SW_SHOWNORMAL);
}

void (*OpenExportedPage)(const std::string& pagePath) = OpenWithShell;

namespace {

// The names of the rows to export, in list order.
std::vector<std::string> RowsToExport(bool allRows) {
    std::vector<std::string> names;
    int rows = static_cast<int>(SendMessageA(Win.list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        if (!allRows &&
            !(SendMessageA(Win.list, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED))
            continue;
        names.push_back(RowText(Win.list, row, 2));
    }
    return names;
}

// The page file, written in text mode; remembers whether every write held.
class PageFile {
  public:
    explicit PageFile(const std::string& path) : file_(std::fopen(path.c_str(), "w")) {
        if (file_) std::setvbuf(file_, nullptr, _IOFBF, 1 << 16);
    }
    ~PageFile() {
        if (file_) std::fclose(file_);
    }
    PageFile(const PageFile&) = delete;
    PageFile& operator=(const PageFile&) = delete;
    bool opened() const { return file_ != nullptr; }
    // Writes and empties the text.
    void Write(std::string& text) {
        if (!text.empty() && std::fwrite(text.data(), 1, text.size(), file_) != text.size())
            failed_ = true;
        text.clear();
    }
    // True when everything reached the file.
    bool Close() {
        bool ok = !failed_ && std::fflush(file_) == 0 && !std::ferror(file_);
        ok = std::fclose(file_) == 0 && ok;
        file_ = nullptr;
        return ok;
    }

  private:
    FILE* file_;
    bool failed_ = false;
};

// Writes a drawing's preview as a .bmp file: the same bytes the preview
// bitmap file would hold. False when it could not be written whole.
bool WritePicture(const ByteReader& drawing, const PreviewEntry& entry, const std::string& target) {
    std::unique_ptr<char[]> data = PreviewData(drawing, entry);
    if (!data) return false;
    std::array<uint8_t, 14> header = PreviewFileHeader(entry.header);
    std::FILE* out = std::fopen(target.c_str(), "wb");
    if (!out) return false;
    bool ok = std::fwrite(header.data(), 1, header.size(), out) == header.size() &&
              std::fwrite(data.get(), 1, entry.size, out) == entry.size;
    ok = std::fclose(out) == 0 && ok;
    if (!ok) DeleteFileA(target.c_str());
    return ok;
}

// The release text and the picture of one drawing, from one opening of the
// file: the picture goes straight beside the page under a name of its own
// (image stays "" when the drawing has none or it could not be written).
// Going through the preview bitmap file would write every picture twice.
void ReadDrawing(const std::string& path, bool wantPicture, const std::string& htmlFolder,
                 const std::string& extension, ImageNames& images, HtmlPageFile& file) {
    PreviewSupported = true;
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) {
        bool exists = PathExists(path);
        // A drawing locked by another program is shown, not fatal.
        if (exists) std::fprintf(stderr, "Can't open file %s\n", path.c_str());
        PreviewSupported = !exists;
        file.version = exists ? "Unknown Version" : "File Not Found";
        return;
    }
    StreamReader drawing(in);
    std::string code = ReleaseCodeOf(drawing);
    PreviewSupported = ReleaseSupportsPreview(code);
    file.version = VersionTextOf(code);
    PreviewEntry entry;
    if (wantPicture && FindPreviewEntry(drawing, entry) == PreviewLookup::Found) {
        std::string image = images.Claim(ImageNameFor(file.name, extension));
        if (WritePicture(drawing, entry, htmlFolder + image)) file.image = image;
    }
    std::fclose(in);
}

void ShowPageError(const std::string& pagePath) {
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    ShowMessage("Can't open file " + pagePath, "Error", MB_OK);
}

} // namespace

void ClearHtmlWorkFolder() {
    // The rule of a list box directory listing of files with the read-only,
    // hidden, system or archive attribute: files only, and only those that
    // carry at least one of them. (Wine's LB_DIR lists only files carrying
    // all four, so the folder is read here directly.)
    const DWORD kListed = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                          FILE_ATTRIBUTE_ARCHIVE;
    std::string folder = WithTrailingBackslash(Paths.htmlFolder);
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    {
        FindHandle find(FindFirstFileA((folder + "*.*").c_str(), &data));
        if (!find.valid()) return;
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                (data.dwFileAttributes & kListed))
                names.push_back(data.cFileName);
        } while (FindNextFileA(find.get(), &data));
    }
    for (const std::string& name : names)
        DeleteFileA((folder + name).c_str()); // one that will not go stays
}

// Writes the page; false when it could not be created or written whole.
static bool WritePage(const HtmlExportRequest& request, const std::vector<std::string>& names,
                      HWND progress) {
    if (Upper(request.pagePath) == Upper(Paths.htmlFile)) ClearHtmlWorkFolder();
    PageFile page(request.pagePath);
    if (!page.opened()) return false;

    HtmlPageOptions options;
    options.title = request.title;
    options.font = HtmlOptions.font;
    options.header = HtmlOptions.headerText;
    options.showHeader = HtmlOptions.showHeader == "TRUE";
    options.layout = request.layout;
    for (int i = 0; i < 6; ++i)
        options.show[i] = request.show[i];
    HtmlPageWriter writer(options);

    const std::string folder = WithTrailingBackslash(CurrentFolder());
    const std::string extension = WindowText(Win.extensionBox);
    ImageNames images;
    std::string text;
    writer.Begin(text);
    for (size_t i = 0; i < names.size(); ++i) {
        // Every 64th file keeps the bar moving without a window update per
        // file, which costs more than the file itself under Wine.
        if (progress && (i % 64 == 0 || i + 1 == names.size()))
            SendMessageA(progress, PBM_SETPOS, static_cast<WPARAM>(i), 0);
        HtmlPageFile file;
        file.name = names[i];
        std::string path = folder + file.name;
        file.url = FileUrl(path);
        if (request.show[0] || request.show[2])
            ReadDrawing(path, request.show[0], request.htmlFolder, extension, images, file);
        if (!request.show[2]) file.version.clear();
        if (request.show[3]) file.size = SizeText(path);
        if (request.show[4]) file.date = ModifiedText(path);
        if (request.show[5]) file.attributes = AttributeText(path);
        writer.AddFile(file, text);
        if (text.size() >= (1 << 15)) page.Write(text);
    }
    writer.End(text);
    page.Write(text);
    // The preview bitmap file is left holding the last drawing's preview.
    if (request.show[0] && !names.empty()) {
        ExtractPreview(folder + names.back());
        PreviewFound = PathExists(Paths.previewBitmap);
    }
    if (page.Close()) return true;
    DeleteFileA(request.pagePath.c_str()); // a page cut short is no page
    return false;
}

void ExportHtml(const HtmlExportRequest& request, HWND progress) {
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    PumpMessages();
    std::vector<std::string> names = RowsToExport(request.allRows);
    if (progress) {
        SendMessageA(progress, PBM_SETRANGE32, 0, static_cast<LPARAM>(names.size()));
        ShowWindow(progress, SW_SHOW);
    }
    if (!names.empty()) {
        if (!WritePage(request, names, progress)) {
            ShowPageError(request.pagePath);
        } else {
            OpenExportedPage(request.pagePath);
        }
    }
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    PumpMessages();
}
