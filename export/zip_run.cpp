#include "export/zip_run.h"

#include <windows.h>

#include "runtime/files.h"
#include "runtime/long_paths.h"
#include "runtime/win_helpers.h"

void ShowZipMessage(const std::string& text) {
    ShowMessage(text, "", MB_OK);
}

bool ConfirmArchiveReplace(const std::string& archivePath) {
    if (!PathExists(archivePath)) return true;
    if (ShowMessage("Would you like to overwrite the existing file?", "File Exists!",
                    MB_YESNOCANCEL) != IDYES)
        return false;
    DeleteFileOf(archivePath); // a folder stays, and creating the archive then fails
    return true;
}

zipFile CreateArchiveOrReport(const std::string& archivePath) {
    zipFile zip = CreateZipArchive(archivePath);
    if (!zip) ShowZipMessage("Error Creating Zip File");
    return zip;
}

void ReportAddFailures(const ZipAddResult& result) {
    if (result.openFailed) ShowZipMessage("Error Creating New File In Zip");
    if (result.writeFailed) ShowZipMessage("Error Writing File In Zip");
    if (result.closeFailed) ShowZipMessage("Error Closing File In Zip");
}

bool CloseArchiveOrReport(zipFile zip) {
    if (CloseZipArchive(zip)) return true;
    ShowZipMessage("Error Closing Zip File");
    return false;
}
