// The zip run of the zip options dialog.
#include "export/zip_archive.h"

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "export/zip_names.h"
#include "export/zip_options.h"
#include "export/zip_run.h"
#include "filelist/list_rows.h"
#include "runtime/file_facts.h"
#include "runtime/app_state.h"
#include "runtime/ids.h"
#include "runtime/win_helpers.h"

// The bar moves this many steps a file, part of them between its blocks, so
// that a large file shows its progress too.
static const int kStepsPerFile = 100;

// The list names of the rows to pack, in list order, whole however long.
static std::vector<std::string> ChosenNames(bool allRows) {
    std::vector<std::string> names;
    if (allRows) {
        int rows = RowCount(Win.list);
        for (int row = 0; row < rows; ++row)
            names.push_back(WholeRowText(Win.list, row, 2));
    } else {
        for (int row : SelectedRows())
            names.push_back(WholeRowText(Win.list, row, 2));
    }
    return names;
}

// Moves the bar only when its position changes: a repaint costs more than a block.
static void MoveProgress(HWND progress, int& shown, int position) {
    if (position == shown) return;
    shown = position;
    SendMessageA(progress, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

// Adds the files one by one, pumping messages before each and between the
// blocks of each, so that Esc and Cancel are seen. Collects the names of the
// files that could not be read; true when a stop came inside a file, whose
// partial entry is then the archive's last.
static bool AddChosenFiles(zipFile zip, const std::vector<std::string>& names, HWND progress,
                           std::vector<std::string>& leftOut, std::vector<std::string>& cutShort) {
    int shown = -1;
    for (size_t i = 0; i < names.size(); ++i) {
        PumpMessages();
        if (ZipCancelRequested) break;
        const int base = static_cast<int>(i) * kStepsPerFile;
        ZipBlockStep step = [&](uint64_t done, uint64_t size) {
            MoveProgress(progress, shown, base + static_cast<int>(done * kStepsPerFile / size));
            PumpMessages();
            return !ZipCancelRequested;
        };
        ZipAddResult result = AddFileToZip(zip, names[i], FileNamePart(names[i]), step);
        if (result.stopped) return true;
        if (result.unreadable) leftOut.push_back(names[i]);
        if (result.cutShort) cutShort.push_back(names[i]);
        ReportAddFailures(result);
        MoveProgress(progress, shown, base + kStepsPerFile);
    }
    return false;
}

void ZipListedFiles(bool allRows) {
    ZipInProgress = true;
    std::string archive = DialogArchivePath(WindowText(ZipOptionsItem(ID_ZIP_NAME)),
                                            WindowText(ZipOptionsItem(ID_ZIP_FOLDER)));
    std::vector<std::string> names = ChosenNames(allRows);
    // No rows to pack, of the list or of the selection, make no archive and
    // leave an existing one alone.
    if (names.empty()) {
        ShowZipMessage("There are no files to zip.");
    } else if (ConfirmArchiveReplace(archive)) {
        // An archive that cannot be created ends the run: every file would fail.
        if (zipFile zip = CreateArchiveOrReport(archive)) {
            HWND progress = ZipOptionsItem(ID_ZIP_PROGRESS);
            ShowWindow(progress, SW_SHOW);
            // The 32-bit range: a folder may hold more than 65,535 files.
            SendMessageA(progress, PBM_SETRANGE32, 0,
                         static_cast<LPARAM>(names.size() * kStepsPerFile));
            std::vector<std::string> leftOut, cutShort;
            bool stoppedInFile = AddChosenFiles(zip, names, progress, leftOut, cutShort);
            // A file stopped partway is no entry: the archive holds the files
            // done before it.
            if (CloseArchiveOrReport(zip) && stoppedInFile && !DropLastZipEntry(archive))
                ShowZipMessage("Error Closing Zip File");
            if (!leftOut.empty() || !cutShort.empty())
                ShowZipMessage(UnreadFilesMessage(leftOut, cutShort));
            ShowWindow(progress, SW_HIDE);
        }
    }
    ZipCancelRequested = false;
    ZipInProgress = false;
}
