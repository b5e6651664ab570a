#include "export/zip_run.h"

#include <windows.h>
#include <commctrl.h>

#include "export/zip_names.h"
#include "runtime/app_state.h"
#include "runtime/file_facts.h"
#include "runtime/files.h"
#include "runtime/long_paths.h"
#include "runtime/win_helpers.h"

static const char kRemoved[] = "\r\n\r\nThe unfinished zip file was removed.";

void ShowZipMessage(const std::string& text) {
    ShowMessage(text, "", MB_OK);
}

// A free name beside the archive's: its own name with a number and ".tmp"
// added, or a name of Korvex's where that would pass the 255 characters a
// name may have.
static std::string PartialName(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    std::string name = path.substr(folder.size());
    if (name.size() > 240) name = "KvxZIP";
    for (int n = 1;; ++n) {
        std::string candidate = folder + name + "." + std::to_string(n) + ".tmp";
        if (!PathExists(candidate)) return candidate;
    }
}

bool BeginArchive(const std::string& path, ArchiveWrite& archive) {
    archive = ArchiveWrite();
    archive.path = path;
    DWORD attributes = FileAttributesOf(path);
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (ShowMessage("Would you like to overwrite the existing file?", "File Exists!",
                        MB_YESNOCANCEL) != IDYES)
            return false;
        // A folder of that name is never replaced by an archive.
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            archive.uncreatable = true;
            ShowZipMessage("Error Creating Zip File");
            return false;
        }
        archive.replaces = true;
    }
    archive.partial = PartialName(path);
    archive.zip = CreateZipArchive(archive.partial);
    if (archive.zip) return true;
    archive.uncreatable = true;
    ShowZipMessage("Error Creating Zip File");
    return false;
}

void AbandonArchive(ArchiveWrite& archive) {
    if (archive.zip) CloseZipArchive(archive.zip);
    archive.zip = nullptr;
    DeleteFileOf(archive.partial);
}

static bool MoveInPlace(const std::string& from, const std::string& to) {
    return MoveFileExW(LongPathForm(from).c_str(), LongPathForm(to).c_str(), 0) != 0;
}

bool FinishArchive(ArchiveWrite& archive, bool dropLast) {
    bool closed = CloseZipArchive(archive.zip);
    archive.zip = nullptr;
    if (!closed || (dropLast && !DropLastZipEntry(archive.partial))) {
        AbandonArchive(archive);
        ShowZipMessage(std::string("Error Closing Zip File") + kRemoved);
        return false;
    }
    if (archive.replaces && PathExists(archive.path) && !SendFileToTrash(archive.path)) {
        AbandonArchive(archive);
        ShowZipMessage("The existing file could not be replaced:\r\n" + archive.path + kRemoved);
        return false;
    }
    if (!MoveInPlace(archive.partial, archive.path)) {
        AbandonArchive(archive);
        ShowZipMessage("The zip file could not be put in place:\r\n" + archive.path + kRemoved);
        return false;
    }
    return true;
}

bool ReportWriteFailure(const ZipAddResult& result) {
    const char* step = result.openFailed    ? "Error Creating New File In Zip"
                       : result.writeFailed ? "Error Writing File In Zip"
                       : result.closeFailed ? "Error Closing File In Zip"
                                            : nullptr;
    if (step) ShowZipMessage(step + std::string(kRemoved));
    return step != nullptr;
}

// The bar moves this many steps a file, part of them between its blocks, so
// that a large file shows its progress too.
static const int kStepsPerFile = 100;

// Moves the bar only when its position changes: a repaint costs more than a block.
static void MoveProgress(HWND progress, int& shown, int position) {
    if (position == shown) return;
    shown = position;
    SendMessageA(progress, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

// Adds the files one by one, pumping messages before each and between the
// blocks of each, so that Esc and Cancel are seen. Collects the names of the
// files that could not be read. stoppedInFile: a stop came inside a file,
// whose partial entry is then the archive's last. False when the archive
// failed (told).
static bool AddChosenFiles(zipFile zip, const std::vector<std::string>& names, HWND progress,
                           std::vector<std::string>& leftOut, std::vector<std::string>& cutShort,
                           bool& stoppedInFile) {
    int shown = -1;
    stoppedInFile = false;
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
        if (ReportWriteFailure(result)) return false;
        if (result.stopped) {
            stoppedInFile = true;
            break;
        }
        if (result.unreadable) leftOut.push_back(names[i]);
        if (result.cutShort) cutShort.push_back(names[i]);
        MoveProgress(progress, shown, base + kStepsPerFile);
    }
    return true;
}

void PackFiles(ArchiveWrite& archive, const std::vector<std::string>& names, HWND progress,
               bool oneFile) {
    ShowWindow(progress, SW_SHOW);
    // The 32-bit range: a folder may hold more than 65,535 files.
    SendMessageA(progress, PBM_SETRANGE32, 0, static_cast<LPARAM>(names.size() * kStepsPerFile));
    std::vector<std::string> leftOut, cutShort;
    bool stoppedInFile = false;
    if (!AddChosenFiles(archive.zip, names, progress, leftOut, cutShort, stoppedInFile)) {
        AbandonArchive(archive);
    } else if (ZipCancelRequested && (oneFile || archive.replaces || CloseWhenRunEnds)) {
        AbandonArchive(archive);
    } else if (oneFile && (!leftOut.empty() || !cutShort.empty())) {
        // An archive without its one file whole is no use.
        AbandonArchive(archive);
        ShowZipMessage(UnreadableFileMessage(names.front()));
    } else if (FinishArchive(archive, stoppedInFile) && (!leftOut.empty() || !cutShort.empty())) {
        ShowZipMessage(UnreadFilesMessage(leftOut, cutShort));
    }
    ShowWindow(progress, SW_HIDE);
}
