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

// The list names of the rows to pack, in list order.
static std::vector<std::string> ChosenNames(bool allRows) {
    std::vector<std::string> names;
    if (allRows) {
        int rows = RowCount(Win.list);
        for (int row = 0; row < rows; ++row)
            names.push_back(RowText(row, 2));
    } else {
        for (int row : SelectedRows())
            names.push_back(RowText(row, 2));
    }
    return names;
}

// Adds the files one by one, pumping messages before each so that Esc and
// Cancel are seen; returns the names of the files that could not be read.
static void AddChosenFiles(zipFile zip, const std::vector<std::string>& names, HWND progress,
                           std::vector<std::string>& leftOut, std::vector<std::string>& cutShort) {
    for (size_t i = 0; i < names.size(); ++i) {
        PumpMessages();
        if (ZipCancelRequested) break;
        ZipAddResult result = AddFileToZip(zip, names[i], FileNamePart(names[i]));
        if (result.unreadable) leftOut.push_back(names[i]);
        if (result.cutShort) cutShort.push_back(names[i]);
        ReportAddFailures(result);
        SendMessageA(progress, PBM_SETPOS, i, 0);
    }
}

void ZipListedFiles(bool allRows) {
    ZipInProgress = true;
    std::string archive = DialogArchivePath(WindowText(ZipOptionsItem(ID_ZIP_NAME)),
                                            WindowText(ZipOptionsItem(ID_ZIP_FOLDER)));
    // An empty list makes no archive, and leaves an existing one alone.
    if (RowCount(Win.list) < 1) {
        ShowZipMessage("There are no files to zip.");
    } else if (ConfirmArchiveReplace(archive)) {
        // An archive that cannot be created ends the run: every file would fail.
        if (zipFile zip = CreateArchiveOrReport(archive)) {
            HWND progress = ZipOptionsItem(ID_ZIP_PROGRESS);
            ShowWindow(progress, SW_SHOW);
            std::vector<std::string> names = ChosenNames(allRows);
            // The 32-bit range: a folder may hold more than 65,535 files.
            SendMessageA(progress, PBM_SETRANGE32, 0, static_cast<LPARAM>(names.size()));
            std::vector<std::string> leftOut, cutShort;
            AddChosenFiles(zip, names, progress, leftOut, cutShort);
            CloseArchiveOrReport(zip);
            if (!leftOut.empty() || !cutShort.empty())
                ShowZipMessage(UnreadFilesMessage(leftOut, cutShort));
            ShowWindow(progress, SW_HIDE);
        }
    }
    ZipCancelRequested = false;
    ZipInProgress = false;
}
