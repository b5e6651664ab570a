#include "filemanager/file_transfer.h"

#include <shellapi.h>

#include "filelist/listing_rules.h"
#include "filemanager/file_rules.h"
#include "filemanager/taken_names_dialog.h"
#include "filemanager/transfer_plan.h"
#include "runtime/file_facts.h"
#include "runtime/long_paths.h"
#include "runtime/strings.h"
#include "runtime/win_helpers.h"

static bool Exists(const std::string& path) {
    return FileAttributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

static bool IsFolder(const std::string& path) {
    return IsFolderAttributes(FileAttributesOf(path));
}

// The names in a message, one a line, a few at most.
static std::string NameLines(const std::vector<std::string>& paths) {
    std::string lines;
    for (size_t i = 0; i < paths.size() && i < 10; ++i)
        lines += "\r\n" + paths[i];
    if (paths.size() > 10) lines += "\r\nand " + std::to_string(paths.size() - 10) + " more";
    return lines;
}

bool SendToTrash(HWND owner, const std::vector<std::string>& paths, bool confirm) {
    std::vector<std::string> usable, refused;
    for (const std::string& path : paths) {
        std::string shellPath = UsablePath(path);
        if (shellPath.size() < MAX_PATH)
            usable.push_back(shellPath);
        else
            refused.push_back(path);
    }
    if (!usable.empty()) {
        std::string sources = SourceList(usable);
        SHFILEOPSTRUCTA op = {};
        op.hwnd = owner;
        op.wFunc = FO_DELETE;
        op.pFrom = sources.c_str();
        // A file the bin cannot take is asked about, never deleted for good
        // without a word.
        op.fFlags = FOF_ALLOWUNDO | FOF_WANTNUKEWARNING;
        if (!confirm) op.fFlags |= FOF_NOCONFIRMATION | FOF_SILENT;
        SHFileOperationA(&op);
    }
    if (!refused.empty())
        ShowMessage("These files could not be sent to the Recycle Bin:" + NameLines(refused),
                    "File Error!", MB_OK);
    for (const std::string& path : paths)
        if (Exists(path)) return false;
    return true;
}

// A folder with all it holds is the shell's to copy or move, to a name that
// is free.
static bool ShellTransfer(HWND owner, bool move, const std::string& from, const std::string& to) {
    std::string source = SourceList({UsablePath(from)}), destination = SourceList({to});
    SHFILEOPSTRUCTA op = {};
    op.hwnd = owner;
    op.wFunc = move ? FO_MOVE : FO_COPY;
    op.pFrom = source.c_str();
    op.pTo = destination.c_str();
    op.fFlags = FOF_ALLOWUNDO | FOF_MULTIDESTFILES | FOF_NOCONFIRMMKDIR;
    return SHFileOperationA(&op) == 0 && !op.fAnyOperationsAborted && IsFolder(to);
}

// A folder copied or moved into itself, or into a folder inside it, would
// never end.
static bool IsInside(const std::string& folder, const std::string& path) {
    std::string outer = Upper(WithTrailingBackslash(folder)), inner = Upper(path);
    return inner.compare(0, outer.size(), outer) == 0;
}

// Moving a read-only file to another disk copies it and then deletes it,
// which its attribute forbids: the attribute is lifted for the move and the
// file arrives with it.
static bool MoveFileAcross(const std::wstring& source, const std::wstring& destination) {
    DWORD attributes = GetFileAttributesW(source.c_str());
    bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (readOnly) SetFileAttributesW(source.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    bool moved = MoveFileExW(source.c_str(), destination.c_str(), MOVEFILE_COPY_ALLOWED) != 0;
    DWORD error = GetLastError();
    if (readOnly) {
        SetFileAttributesW((moved ? destination : source).c_str(), attributes);
        // A copy made before the move failed is not a second copy of the
        // user's file left behind.
        if (!moved && GetFileAttributesW(destination.c_str()) != INVALID_FILE_ATTRIBUTES &&
            GetFileAttributesW(source.c_str()) != INVALID_FILE_ATTRIBUTES) {
            SetFileAttributesW(destination.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(destination.c_str());
        }
    }
    SetLastError(error);
    return moved;
}

// "" when done, or why not.
static std::string CopyOrMove(HWND owner, bool move, const std::string& from,
                              const std::string& to) {
    if (IsFolder(from)) {
        if (IsInside(from, to)) return "cannot go into a folder inside itself";
        if (Exists(to)) return "is already there";
        return ShellTransfer(owner, move, from, to) ? "" : "could not be taken there";
    }
    // A name of more than 255 characters fits no file system; one of fewer
    // may pass what a file system holds in bytes, which the system then
    // reports as a name not found in a folder that is there.
    if (WideFromAnsi(FileNamePart(to)).size() > 255) return "The name is too long.";
    std::wstring source = LongPathForm(from), destination = LongPathForm(to);
    // Neither call replaces an existing file: a name taken since the
    // question was asked makes the file fail, not the other one vanish.
    bool done = move ? MoveFileAcross(source, destination)
                     : CopyFileW(source.c_str(), destination.c_str(), TRUE) != 0;
    if (done) return "";
    DWORD error = GetLastError();
    if ((error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) && Exists(from) &&
        IsFolder(FolderPart(to)))
        return "The name is too long for the file system of the folder.";
    return SystemErrorText(error);
}

bool TransferFilesToFolder(HWND owner, bool move, const std::vector<std::string>& files,
                           const std::string& folder) {
    std::string into = WithTrailingBackslash(folder);
    std::vector<PlannedTransfer> plan = PlanTransfer(files, into, move, Exists);
    if (int taken = CountTaken(plan)) {
        std::vector<std::string> names;
        names.reserve(static_cast<size_t>(taken));
        for (const PlannedTransfer& item : plan)
            if (item.taken) names.push_back(FileNamePart(item.destination));
        TakenNameChoice choice = AskAboutTakenNames(owner, names, into, move);
        if (choice == TakenNameChoice::Cancel) return false;
        plan = ApplyChoice(std::move(plan), choice, Exists);
    }

    HCURSOR cursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    // The files to be replaced go to the bin together; a folder of that name
    // is not a file to replace.
    std::vector<std::string> replaced;
    for (const PlannedTransfer& item : plan)
        if (item.taken && !IsFolder(item.destination)) replaced.push_back(item.destination);
    if (!replaced.empty()) SendToTrash(owner, replaced, false);
    std::vector<std::string> failed;
    for (const PlannedTransfer& item : plan) {
        std::string problem = item.taken && Exists(item.destination)
                                  ? "could not replace the file in the way"
                                  : CopyOrMove(owner, move, item.source, item.destination);
        if (problem.empty()) continue;
        std::string as = FileNamePart(item.destination);
        failed.push_back(item.source + "\r\n    " +
                         (as != FileNamePart(item.source) ? "as " + as + ": " : "") + problem);
    }
    SetCursor(cursor);
    if (!failed.empty())
        ShowMessage(std::string("These files could not be ") + (move ? "moved:" : "copied:") +
                        NameLines(failed),
                    "File Error!", MB_OK);
    return failed.empty() && plan.size() == files.size();
}
