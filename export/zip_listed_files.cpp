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

bool ZipListedFiles(bool allRows) {
    ZipInProgress = true;
    std::string path = DialogArchivePath(WindowText(ZipOptionsItem(ID_ZIP_NAME)),
                                         WindowText(ZipOptionsItem(ID_ZIP_FOLDER)));
    std::vector<std::string> names = ChosenNames(allRows);
    // No rows to pack, of the list or of the selection, make no archive and
    // leave an existing one alone.
    ArchiveWrite archive;
    if (names.empty())
        ShowZipMessage("There are no files to zip.");
    else if (BeginArchive(path, archive))
        PackFiles(archive, names, ZipOptionsItem(ID_ZIP_PROGRESS), false);
    ZipCancelRequested = false;
    ZipInProgress = false;
    CloseIfAskedDuringRun();
    return !archive.uncreatable;
}
