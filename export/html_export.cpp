#include "export/html_export.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <set>
#include <vector>

#include "export/html_page.h"
#include "filelist/list_rows.h"
#include "inspect/dwg_format.h"
#include "inspect/dwg_inspect.h"
#include "runtime/dir_entries.h"
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

// The last few kilobytes of a page hold its generator lines.
const size_t kPageTail = 4096;

// The names of the rows to export, in list order, each read whole however
// long.
std::vector<std::string> RowsToExport(bool allRows) {
    std::vector<std::string> names;
    int rows = static_cast<int>(SendMessageA(Win.list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        if (!allRows &&
            !(SendMessageA(Win.list, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED))
            continue;
        names.push_back(WholeRowText(Win.list, row, 2));
    }
    return names;
}

// The page file, written in text mode; remembers whether every write held.
class PageFile {
  public:
    explicit PageFile(const std::string& path) : file_(OpenFileStream(path, "w")) {
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

// Writes a drawing's preview file bytes as a picture beside the page. False
// when it could not be written whole.
bool WritePicture(const std::string& bytes, const std::string& target) {
    bool ok = WriteWholeFile(target, bytes);
    if (!ok) DeleteFileOf(target);
    return ok;
}

// Reads a whole file, or only its last `tail` bytes; false when it cannot be read.
bool ReadFileEnd(const std::string& path, size_t tail, std::string& bytes) {
    FileStream in(path.c_str(), "rb");
    if (!in || _fseeki64(in.get(), 0, SEEK_END) != 0) return false;
    long long size = _ftelli64(in.get());
    if (size < 0) return false;
    long long from = tail && static_cast<unsigned long long>(size) > tail ? size - tail : 0;
    if (_fseeki64(in.get(), from, SEEK_SET) != 0) return false;
    bytes.assign(static_cast<size_t>(size - from), '\0');
    return bytes.empty() || std::fread(&bytes[0], 1, bytes.size(), in.get()) == bytes.size();
}

bool IsKorvexPageFile(const std::string& path) {
    std::string tail;
    return ReadFileEnd(path, kPageTail, tail) && IsKorvexPage(tail);
}

// The long name's extension, whatever the 8.3 name matched.
bool IsPageName(const std::string& name) {
    std::string lower = Lower(name);
    return Right(lower, 4) == ".htm" || Right(lower, 5) == ".html";
}

// What the html folder holds before a run, and which of its files this run
// may replace: those Korvex wrote (its pages and the pictures they show) and
// those the user agreed to.
struct HtmlTargets {
    std::set<std::string> files;    // lower-case names of the files there
    std::set<std::string> replaced; // lower-case names that may be replaced

    bool Taken(const std::string& name) const {
        std::string key = Lower(name);
        return files.count(key) && !replaced.count(key);
    }
};

HtmlTargets ExistingTargets(const std::string& htmlFolder) {
    HtmlTargets targets;
    std::vector<std::string> pages;
    DirEntries entries(htmlFolder + "*");
    DirEntry entry;
    while (entries.Next(entry)) {
        if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        targets.files.insert(Lower(entry.name));
        if (IsPageName(entry.name)) pages.push_back(entry.name);
    }
    for (const std::string& page : pages) {
        std::string text;
        if (!IsKorvexPageFile(htmlFolder + page) || !ReadFileEnd(htmlFolder + page, 0, text))
            continue;
        targets.replaced.insert(Lower(page));
        for (const std::string& image : PageImageNames(text))
            targets.replaced.insert(Lower(image));
    }
    return targets;
}

// The image name a drawing's picture gets: its own, unless that is taken by
// this run or by a file the run may not replace.
std::string ClaimImage(ImageNames& images, const HtmlTargets& targets, const std::string& wanted) {
    std::string image = images.Claim(wanted);
    while (targets.Taken(image))
        image = images.Claim(wanted);
    return image;
}

// The pictures the run would put over files it may not replace, found by
// giving out the names as the run will. Only a drawing whose picture would
// land on such a file is read, to see whether it has a picture at all.
std::vector<std::string> ImagesToAskAbout(const HtmlExportRequest& request,
                                          const std::vector<std::string>& names,
                                          const HtmlTargets& targets) {
    std::vector<std::string> asked;
    if (!request.show[0] || targets.files.empty()) return asked;
    const std::string folder = WithTrailingBackslash(CurrentFolder());
    const std::string extension = WindowText(Win.extensionBox);
    ImageNames images;
    images.Claim(FileNamePart(request.pagePath));
    for (const std::string& name : names) {
        std::string image = images.Claim(ImageNameFor(name, extension));
        if (!targets.Taken(image)) continue;
        if (ReadDrawingAlone(folder + name, true).preview.empty())
            images.Release(image);
        else
            asked.push_back(image);
    }
    return asked;
}

void ShowPageError(const std::string& pagePath) {
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    ShowMessage("Can't open file " + pagePath, "Error", MB_OK);
}

} // namespace

// The default page's folder keeps a record of the files the last export to
// it wrote: name, size and last-write time, a line each. The next export
// there removes those files, and only while they are as written; anything
// else in the folder is the user's.
static std::string RecordPath() {
    return WithTrailingBackslash(Paths.htmlFolder) + "KvxHtml.lst";
}

static std::string RecordLine(const std::string& folder, const std::string& name) {
    DirEntry entry;
    if (!FindFirstEntry(folder + name, entry)) return std::string();
    return name + "\t" + std::to_string(entry.size) + "\t" + std::to_string(entry.lastWrite) +
           "\r\n";
}

static void WriteRecord(const std::string& folder, const std::vector<std::string>& written) {
    std::string text;
    for (const std::string& name : written)
        text += RecordLine(folder, name);
    if (!WriteWholeFile(RecordPath(), text)) DeleteFileOf(RecordPath());
}

static void RemoveRecordedFiles() {
    std::string folder = WithTrailingBackslash(Paths.htmlFolder), text;
    if (!ReadWholeFile(RecordPath(), text)) return;
    for (size_t at = 0, end; at < text.size(); at = end + 2) {
        end = text.find("\r\n", at);
        if (end == std::string::npos) break;
        std::string line = text.substr(at, end - at + 2);
        std::string name = line.substr(0, line.find('\t'));
        // A name with a folder in it is none this record wrote.
        if (name.empty() || name.find_first_of("\\/:") != std::string::npos) continue;
        if (RecordLine(folder, name) == line) DeleteFileOf(folder + name);
    }
    DeleteFileOf(RecordPath());
}

// The release text and the picture of one drawing, read as the listing reads
// it (the bitmap entry, or else the PNG preview decoded, each checked as the
// listing checks it): the picture goes straight beside the page under a name
// of its own (image stays "" when the drawing has none or it could not be
// written). Going through the preview bitmap file would write every picture
// twice.
static void ReadDrawingInto(const std::string& path, bool wantPicture,
                            const HtmlExportRequest& request, const std::string& extension,
                            ImageNames& images, const HtmlTargets& targets, HtmlPageFile& file,
                            std::vector<std::string>& written) {
    DrawingRead read = ReadDrawingAlone(path, wantPicture, request.layout == 1);
    TakeDrawingRead(path, read, false);
    file.version = read.version;
    if (read.properties) {
        file.title = read.properties->text[kPropTitle];
        file.author = read.properties->text[kPropAuthor];
    }
    if (read.preview.empty()) return;
    std::string image = ClaimImage(images, targets, ImageNameFor(file.name, extension));
    // Browsers take the header as written: it must count the colour table.
    if (WritePicture(WithColourTableCounted(read.preview), request.htmlFolder + image)) {
        file.image = image;
        written.push_back(image);
    }
}

// Writes the page; false when it could not be created or written whole.
// Every file it wrote is named in written.
static bool WritePage(const HtmlExportRequest& request, const std::vector<std::string>& names,
                      const HtmlTargets& targets, HWND progress,
                      std::vector<std::string>& written) {
    PageFile page(request.pagePath);
    if (!page.opened()) return false;

    HtmlPageOptions options;
    options.charset = CharsetOfCodePage(GetACP());
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
    images.Claim(FileNamePart(request.pagePath)); // no picture takes the page's name
    std::string text;
    writer.Begin(text);
    for (size_t i = 0; i < names.size(); ++i) {
        if (HtmlExportStopRequested) break;
        // Every 64th file keeps the bar moving without a window update per
        // file, which costs more than the file itself under Wine.
        if (progress && (i % 64 == 0 || i + 1 == names.size()))
            SendMessageA(progress, PBM_SETPOS, static_cast<WPARAM>(i), 0);
        HtmlPageFile file;
        file.name = names[i];
        std::string path = folder + file.name;
        file.url = FileUrl(path);
        if (request.show[0] || request.show[2])
            ReadDrawingInto(path, request.show[0], request, extension, images, targets, file,
                            written);
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
    if (page.Close() && !HtmlExportStopRequested) {
        written.push_back(FileNamePart(request.pagePath));
        return true;
    }
    DeleteFileOf(request.pagePath); // a page cut short is no page
    return false;
}

// Whether the page's own file may be written: a file there that is no page
// of Korvex's is the user's.
static bool PageTaken(const std::string& pagePath) {
    DWORD attributes = FileAttributesOf(pagePath);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !IsKorvexPageFile(pagePath);
}

// Asks once before files Korvex did not write are replaced; false when the
// user declined. Those agreed to join the files the run may replace.
static bool ConfirmReplace(const HtmlExportRequest& request, const std::vector<std::string>& names,
                           HtmlTargets& targets) {
    std::vector<std::string> asked;
    if (PageTaken(request.pagePath)) asked.push_back(FileNamePart(request.pagePath));
    for (const std::string& image : ImagesToAskAbout(request, names, targets))
        asked.push_back(image);
    if (asked.empty()) return true;
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    if (ShowMessage(ReplaceQuestion(asked), "File Exists!", MB_YESNOCANCEL) != IDYES) return false;
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    for (const std::string& name : asked)
        targets.replaced.insert(Lower(name));
    return true;
}

static HtmlExportResult RunExport(const HtmlExportRequest& request, HWND progress) {
    std::vector<std::string> names = RowsToExport(request.allRows);
    if (progress) {
        SendMessageA(progress, PBM_SETRANGE32, 0, static_cast<LPARAM>(names.size()));
        ShowWindow(progress, SW_SHOW);
    }
    if (names.empty()) {
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        ShowMessage("There are no files to export.", "", MB_OK);
        return HtmlExportResult::NothingToExport;
    }
    const bool defaultPage = Upper(request.pagePath) == Upper(Paths.htmlFile);
    if (defaultPage) RemoveRecordedFiles();
    HtmlTargets targets = ExistingTargets(request.htmlFolder);
    if (!ConfirmReplace(request, names, targets)) return HtmlExportResult::Declined;
    std::vector<std::string> written;
    bool pageWritten = WritePage(request, names, targets, progress, written);
    if (defaultPage) WriteRecord(request.htmlFolder, written);
    if (!pageWritten && HtmlExportStopRequested) return HtmlExportResult::Declined;
    if (!pageWritten) {
        ShowPageError(request.pagePath);
        return HtmlExportResult::Failed;
    }
    OpenExportedPage(request.pagePath);
    return HtmlExportResult::Written;
}

HtmlExportResult ExportHtml(const HtmlExportRequest& request, HWND progress) {
    // Messages are pumped while it runs: an OK pressed again is no second run.
    if (HtmlExportInProgress) return HtmlExportResult::Declined;
    HtmlExportInProgress = true;
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    PumpMessages();
    HtmlExportResult result = RunExport(request, progress);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    PumpMessages();
    HtmlExportInProgress = false;
    HtmlExportStopRequested = false;
    CloseIfAskedDuringRun();
    return result;
}
