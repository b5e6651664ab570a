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

enum class HtmlExportResult {
    Written,         // the page and its pictures, and the page opened
    NothingToExport, // no rows (or no selected rows): said so, nothing written
    Declined,        // the user kept files Korvex did not write, or a run was on
    Failed,          // the page could not be written: reported
};

// Writes the page and its images and opens the page. The font, the header
// flag and the header text come from HtmlOptions. progress is the bar that
// shows how far the export is (may be null). Files of the html folder that
// Korvex did not write itself are replaced only after one question for the
// run. No rows to export and a page that cannot be written are reported in a
// message box; nothing is opened then. While it runs (it pumps messages) a
// second call does nothing.
HtmlExportResult ExportHtml(const HtmlExportRequest& request, HWND progress);

// Shows a finished page; the shell's "open" by default. Tests and benchmarks
// put a recorder in its place, so that no browser starts.
extern void (*OpenExportedPage)(const std::string& pagePath);
