// Zip archives of the listed files: all rows or the selected rows of the file
// list from the zip options dialog, or the one selected row from the list's
// context menu. Each file is one entry named by its bare file name and dated
// with its local last-write time.
#pragma once

// Packs the file list's rows (all, or the selected ones) into the archive the
// open zip options dialog names, showing progress in the dialog. Esc and
// Cancel stop the run before its next file; files that cannot be read are
// left out and named at the end. False when the archive could not be created
// where the dialog names it (told): the dialog then stays open to change that.
bool ZipListedFiles(bool allRows);

// Packs the one selected row's file into an archive named after it in the
// folder the list shows.
void ZipSelectedFile();
