#include "settings/settings_file.h"

#include <windows.h>
#include <commctrl.h>
#include <direct.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "filelist/list_columns.h"
#include "inspect/file_facts.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/handles.h"
#include "runtime/ids.h"
#include "settings/settings_rules.h"

static const char* const SettingsBaseName = "KVX";

// The folder counts as writable when a copy of the executable can be put there.
static bool FolderIsWritable(const std::string& folder, const std::string& exePath) {
    std::string probe = folder + "tmp.tmp";
    CopyFileA(exePath.c_str(), probe.c_str(), FALSE);
    if (!PathExists(probe)) return false;
    DeleteFileA(probe.c_str());
    return true;
}

static void WriteDefaultSettings(const std::string& path) {
    // Text mode turns every "\n" into CR LF on disk.
    FileStream out(path.c_str(), "w");
    if (!out) {
        std::fprintf(stderr, "Can't open file %s\n", path.c_str());
        std::exit(1);
    }
    for (const std::string& line : DefaultSettingsLines()) {
        std::fputs(line.c_str(), out.get());
        std::fputc('\n', out.get());
    }
}

void PrepareSettingsFile(const std::string& programFolder, const std::string& programName,
                         const std::string& tempFolder) {
    Paths.tempFolder = WithTrailingBackslash(tempFolder);
    Paths.programFolder = programFolder;
    Paths.programName = programName;

    std::string programCandidate = programFolder + SettingsBaseName + ".ini";
    std::string tempCandidate = Paths.tempFolder + SettingsBaseName + ".ini";

    Paths.previewBitmap = Paths.tempFolder + "KvxBmp.bmp";
    Paths.htmlFolder = Paths.tempFolder + "KvxHtml" + "\\";
    Paths.htmlFile = Paths.htmlFolder + "KvxHtml.htm";
    if (!PathExists(Paths.htmlFolder)) _mkdir(Paths.htmlFolder.c_str());

    bool writable = FolderIsWritable(programFolder, programFolder + programName);

    // A new file always starts in the temporary folder; a later run from a
    // writable folder copies it next to the executable, but never over one
    // already there.
    if (writable && PathExists(tempCandidate))
        CopyFileA(tempCandidate.c_str(), programCandidate.c_str(), TRUE);

    Paths.settingsFile =
        writable && PathExists(programCandidate) ? programCandidate : tempCandidate;

    if (!PathExists(Paths.settingsFile)) WriteDefaultSettings(Paths.settingsFile);
}

void PrepareSettingsFile() {
    PrepareSettingsFile(ExeFolder(), ExeName(), TempFolder());
}

// ---------------------------------------------------------------------------
// [MAIN] section access

std::string ReadMainText(const std::string& key) {
    char buf[2048] = {};
    GetPrivateProfileStringA(MainSection, key.c_str(), "", buf, sizeof buf,
                             Paths.settingsFile.c_str());
    return buf;
}

int ReadMainInt(const char* key) {
    return static_cast<int>(GetPrivateProfileIntA(MainSection, key, 0, Paths.settingsFile.c_str()));
}

// The [MAIN] values are written in one pass over the file. Wine's
// WritePrivateProfileStringA drops the leading blank of " 100", which the
// file keeps for window numbers, so the lines are written here. The
// private-profile cache is flushed before and after, so that it neither
// holds back writes from this pass nor serves values from before it.
static void WriteMainSection(const std::vector<ProfileValue>& values) {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, Paths.settingsFile.c_str());
    std::string text;
    ReadWholeFile(Paths.settingsFile, text);
    text = WithProfileValues(text, MainSection, values);
    FileStream out(Paths.settingsFile.c_str(), "wb");
    if (out) std::fwrite(text.data(), 1, text.size(), out.get());
    out.close();
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, Paths.settingsFile.c_str());
}

static void SetListColumnWidth(int column, int width) {
    SendMessageA(Win.list, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0));
}

void LoadMainSettings() {
    int left = ReadMainInt("Left");
    int top = ReadMainInt("Top");
    int width = ReadMainInt("Width");
    int height = ReadMainInt("Height");
    int state = ReadMainInt("State");
    MoveWindow(Win.main, left, top, width, height, TRUE);
    if (state == 1)
        ShowWindow(Win.main, SW_MINIMIZE);
    else if (state == 2)
        ShowWindow(Win.main, SW_MAXIMIZE);

    for (int c = 1; c <= 6; ++c)
        Settings.columnWidth[c] =
            ColumnWidthFromText(ReadMainText(ColumnWidthKeys[c]), DefaultColumnWidths[c]);

    for (int c = 1; c <= 6; ++c) {
        Settings.showColumn[c] = TrueOnlyFlag(ReadMainText(ShowColumnKeys[c]));
        bool shown = Settings.showColumn[c] == "TRUE";
        CheckViewItem(IDM_COL_PREVIEW + c - 1, shown);
        SetListColumnWidth(c, shown ? Settings.columnWidth[c] : 0);
    }

    Settings.viewMode = ViewModeFromText(ReadMainText("ViewMode"));

    BlackBackground = ReadMainText("Invert") == "TRUE";
    CheckViewItem(IDM_BLACK_BACKGROUND, BlackBackground);

    Settings.thumbWidth = Settings.columnWidth[1];
    Settings.thumbHeight = ThumbHeightFor(Settings.thumbWidth);

    for (int n = 1; n <= 5; ++n)
        Settings.showCopyTo[n] = TrueOnlyFlag(ReadMainText(ShowCopyToKey(n)));
    for (int n = 1; n <= 5; ++n)
        Settings.showMoveTo[n] = TrueOnlyFlag(ReadMainText(ShowMoveToKey(n)));
    for (int n = 1; n <= 5; ++n)
        Settings.copyTo[n] = ReadMainText(CopyToKey(n));
    for (int n = 1; n <= 5; ++n)
        Settings.moveTo[n] = ReadMainText(MoveToKey(n));

    for (int n = 1; n <= 20; ++n)
        Settings.favorites[n] = ReadMainText(FavoriteKey(n));

    Settings.treeWidth = TreeWidthFromText(ReadMainText("DTVWidth"));

    SortColumn = SortColumnFromValue(ReadMainInt("SortColumn"));
}

void SaveMainSettings() {
    std::vector<ProfileValue> values;
    auto put = [&values](const std::string& key, const std::string& value) {
        values.push_back({key, value});
    };

    RECT r = {};
    GetWindowRect(Win.main, &r);
    bool minimised = IsIconic(Win.main) != FALSE;
    bool maximised = IsZoomed(Win.main) != FALSE;
    // A minimised or maximised window keeps the restored placement on file.
    if (!minimised && !maximised) {
        put("Left", BlankedNumber(r.left));
        put("Top", BlankedNumber(r.top));
        put("Width", BlankedNumber(r.right - r.left));
        put("Height", BlankedNumber(r.bottom - r.top));
    }
    put("State", BlankedNumber(minimised ? 1 : maximised ? 2 : 0));

    put("Path", WithTrailingBackslash(CurrentFolder()));

    put("SortColumn", BlankedNumber(SortColumn));
    put("DTVWidth", PlainNumber(Settings.treeWidth));

    for (int c = 1; c <= 6; ++c) {
        if (Settings.showColumn[c] != "TRUE") {
            put(ShowColumnKeys[c], "FALSE");
            continue;
        }
        put(ShowColumnKeys[c], "TRUE");
        // Only the report view shows the columns, so only there are their
        // widths the user's.
        if (Settings.viewMode == "DETAIL")
            Settings.columnWidth[c] =
                static_cast<int>(SendMessageA(Win.list, LVM_GETCOLUMNWIDTH, c, 0));
        put(ColumnWidthKeys[c], PlainNumber(Settings.columnWidth[c]));
    }

    put("ViewMode", Settings.viewMode);
    put("Invert", BlackBackground ? "TRUE" : "FALSE");

    for (int n = 1; n <= 5; ++n)
        put(ShowCopyToKey(n), TrueOnlyFlag(Settings.showCopyTo[n]));
    for (int n = 1; n <= 5; ++n)
        put(ShowMoveToKey(n), TrueOnlyFlag(Settings.showMoveTo[n]));
    for (int n = 1; n <= 5; ++n)
        put(CopyToKey(n), Settings.copyTo[n]);
    for (int n = 1; n <= 5; ++n)
        put(MoveToKey(n), Settings.moveTo[n]);

    for (int n = 1; n <= 20; ++n)
        put(FavoriteKey(n), Settings.favorites[n]);

    WriteMainSection(values);
}
