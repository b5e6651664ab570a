// Steps the two zip commands share: the questions and messages around writing.
#pragma once
#include <string>

#include "export/zip_writer.h"

// Asks before an existing file or folder of that name is replaced and deletes
// the file on Yes. False when the user declined: nothing may be written then.
bool ConfirmArchiveReplace(const std::string& archivePath);

// A new archive, or null after telling the user it could not be created.
zipFile CreateArchiveOrReport(const std::string& archivePath);

// Tells the user of each step that failed while a file was added.
void ReportAddFailures(const ZipAddResult& result);

// Finishes the archive, telling the user when that fails (false).
bool CloseArchiveOrReport(zipFile zip);

// The zip messages have an empty caption.
void ShowZipMessage(const std::string& text);
