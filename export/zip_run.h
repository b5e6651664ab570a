// Steps the two zip commands share: the questions and messages around writing,
// and the archive written under a temporary name until it is whole.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "export/zip_writer.h"

// An archive being written beside the name asked for, under a name of its
// own; it takes the asked-for name only once it is whole, so that an
// existing archive stays as it was until then.
struct ArchiveWrite {
    std::string path;         // the name asked for
    std::string partial;      // the name written under
    bool replaces = false;    // a file of the asked-for name is there, and the user agreed
    bool uncreatable = false; // it could not be started there (told)
    zipFile zip = nullptr;
};

// Asks before an existing file or folder of that name would be replaced
// (nothing is touched yet), then starts the archive under its temporary name.
// False when the user declined or it could not be started (told).
bool BeginArchive(const std::string& path, ArchiveWrite& archive);

// Finishes the archive (without its last entry when dropLast) and puts it in
// place, the old file of that name sent to the Recycle Bin. False, with the
// unfinished archive removed and the user told, when any of that fails.
bool FinishArchive(ArchiveWrite& archive, bool dropLast = false);

// Closes and removes the unfinished archive: an old one stays as it was.
void AbandonArchive(ArchiveWrite& archive);

// Tells the user which step failed while a file was added and that the
// unfinished archive was removed. False when nothing failed.
bool ReportWriteFailure(const ZipAddResult& result);

// The zip messages have an empty caption.
void ShowZipMessage(const std::string& text);

// Packs the files (list names, relative to the current folder) into the
// begun archive and finishes or abandons it. The bar shows
// the progress; messages are pumped before each file and between its blocks,
// and ZipCancelRequested stops the run. A stop leaves the old archive as it
// was; with none, the files done so far, unless Korvex is closing or oneFile
// (then nothing). Files that cannot be read are left out and named at the
// end; with oneFile, there is no archive then.
void PackFiles(ArchiveWrite& archive, const std::vector<std::string>& names, HWND progress,
               bool oneFile);
