#include "filemanager/file_transfer.h"

#include <shellapi.h>

#include "filelist/listing_rules.h"
#include "filemanager/file_rules.h"
#include "filemanager/taken_names_dialog.h"
#include "filemanager/transfer_plan.h"
#include "runtime/file_facts.h"
#include "runtime/long_paths.h"
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

static bool CopyOrMove(HWND owner, bool move, const std::string& from, const std::string& to) {
    if (IsFolder(from)) return !Exists(to) && ShellTransfer(owner, move, from, to);
    std::wstring source = LongPathForm(from), destination = LongPathForm(to);
    // Neither call replaces an existing file: a name taken since the
    // question was asked makes the file fail, not the other one vanish.
    if (move) return MoveFileExW(source.c_str(), destination.c_str(), MOVEFILE_COPY_ALLOWED) != 0;
    return CopyFileW(source.c_str(), destination.c_str(), TRUE) != 0;
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
    for (const PlannedTransfer& item : plan)
        if ((item.taken && Exists(item.destination)) ||
            !CopyOrMove(owner, move, item.source, item.destination))
            failed.push_back(item.source);
    SetCursor(cursor);
    if (!failed.empty())
        ShowMessage(std::string("These files could not be ") + (move ? "moved:" : "copied:") +
                        NameLines(failed),
                    "File Error!", MB_OK);
    return failed.empty() && plan.size() == files.size();
}
