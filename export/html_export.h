// The HTML catalogue of the file list's rows (all, or the selected ones): a
// page with a thumbnail that links to each drawing and the chosen texts, the
// thumbnails written as .bmp files beside it, opened in the user's browser.
#pragma once
#include <windows.h>

#include <string>

struct HtmlExportRequest {
    std::string title;
    std::string htmlFolder; // receives the images; ends in "\"
    std::string pagePath;   // htmlFolder + the page's file name
    int layout = 4;         // 1 detail table; 3 or 4 files per grid row
    // Preview, file name, version, size, date, attributes.
    bool show[6] = {true, true, true, true, true, true};
    bool allRows = true;
};

// Writes the page and its images and opens the page. The font, the header
// flag and the header text come from HtmlOptions. progress is the bar that
// shows how far the export is (may be null). A page that cannot be written is
// reported in a message box; nothing is opened then.
void ExportHtml(const HtmlExportRequest& request, HWND progress);

// Deletes the files of the HTML work folder (folders, and files without any
// of the read-only, hidden, system or archive attributes, stay).
void ClearHtmlWorkFolder();

// Shows a finished page; the shell's "open" by default. Tests and benchmarks
// put a recorder in its place, so that no browser starts.
extern void (*OpenExportedPage)(const std::string& pagePath);
