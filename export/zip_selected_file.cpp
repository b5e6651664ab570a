// The list's context-menu command that packs one file into an archive of its
// own name.
#include "export/zip_archive.h"

#include <windows.h>
#include <commctrl.h>

#include "export/listing_wait.h"
#include "export/zip_names.h"
#include "export/zip_progress.h"
#include "export/zip_run.h"
#include "filelist/list_rows.h"
#include "runtime/file_facts.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/long_paths.h"

// True when the file can be opened for reading now.
static bool Readable(const std::string& path) {
    HANDLE h = OpenForReading(path);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

void ZipSelectedFile() {
    if (RefusedWhileListing()) return;
    int rows = RowCount(Win.list);
    int selected = static_cast<int>(SendMessageA(Win.list, LVM_GETSELECTEDCOUNT, 0, 0));
    if (rows < 1 || selected != 1) return;
    std::string name = WholeRowText(Win.list, SelectedRows().front(), 2);
    std::string entry = FileNamePart(name);
    std::string archive = SingleFileArchivePath(entry);

    // A file that cannot be read makes no archive and leaves an existing one alone.
    if (!Readable(name)) {
        ShowZipMessage(UnreadableFileMessage(name));
        return;
    }
    ArchiveWrite begun;
    if (BeginArchive(archive, begun)) ShowZipProgress(begun, name);
}
