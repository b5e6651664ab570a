#include "settings/settings_file.h"

#include <windows.h>
#include <commctrl.h>
#include <direct.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <vector>

#include "runtime/file_facts.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/handles.h"
#include "runtime/ids.h"
#include "runtime/strings.h"
#include "runtime/view_menu.h"
#include "runtime/win_helpers.h"
#include "settings/settings_file_text.h"
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

static bool IsFile(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// ---------------------------------------------------------------------------
// The whole file, read and replaced

// Closes a file handle on every way out.
class FileHandle {
  public:
    explicit FileHandle(HANDLE h) : h_(h) {}
    ~FileHandle() { close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }
    bool close() {
        bool closed = !valid() || CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
        return closed;
    }

  private:
    HANDLE h_;
};

// The settings text; false when the file is there but cannot be read. A
// missing file reads as empty, and a save starts it afresh.
static bool ReadSettingsText(SettingsText& text) {
    text = SettingsText();
    FileHandle file(CreateFileA(Paths.settingsFile.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    std::string bytes;
    char buf[16384];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buf, sizeof buf, &got, nullptr)) return false;
        if (got == 0) break;
        bytes.append(buf, got);
    }
    text = DecodeSettingsFile(bytes);
    return true;
}

// Writes a new file with exactly these bytes; false when any step fails.
static bool WriteNewFile(const std::string& path, const std::string& bytes) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    for (size_t done = 0; done < bytes.size();) {
        DWORD chunk = static_cast<DWORD>(bytes.size() - done < 65536 ? bytes.size() - done : 65536);
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return FlushFileBuffers(file.get()) && file.close();
}

// Puts the bytes in place of the settings file in one step: they go to a file
// beside it, which then replaces it, so that a failure at any point (a full
// disk, a file held open, a read-only file) leaves the old file whole.
static bool ReplaceSettingsFile(const std::string& bytes) {
    const std::string& path = Paths.settingsFile;
    DWORD attributes = GetFileAttributesA(path.c_str());
    // Made read-only by its user: not to be changed.
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    std::string newFile = path + ".new";
    if (!WriteNewFile(newFile, bytes) ||
        !MoveFileExA(newFile.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(newFile.c_str());
        return false;
    }
    return true;
}

// A first run's file; one that cannot be written whole is not left behind.
static void WriteDefaultSettings(const std::string& path) {
    std::string text;
    for (const std::string& line : DefaultSettingsLines())
        text += line + "\r\n";
    if (!WriteNewFile(path, text)) {
        DeleteFileA(path.c_str());
        std::fprintf(stderr, "Can't open file %s\n", path.c_str());
        std::exit(1);
    }
}

void PrepareSettingsFile(const std::string& programFolder, const std::string& programName,
                         const std::string& tempFolder, const std::string& userFolder) {
    Paths.tempFolder = WithTrailingBackslash(tempFolder);
    Paths.programFolder = programFolder;
    Paths.programName = programName;

    std::string programCandidate = programFolder + SettingsBaseName + ".ini";
    std::string tempCandidate = Paths.tempFolder + SettingsBaseName + ".ini";
    std::string userCandidate = WithTrailingBackslash(userFolder) + SettingsBaseName + ".ini";

    Paths.previewBitmap = Paths.tempFolder + "KvxBmp.bmp";
    Paths.htmlFolder = Paths.tempFolder + "KvxHtml" + "\\";
    Paths.htmlFile = Paths.htmlFolder + "KvxHtml.htm";
    if (!PathExists(Paths.htmlFolder)) _mkdir(Paths.htmlFolder.c_str());

    bool writable = FolderIsWritable(programFolder, programFolder + programName);

    if (writable) {
        // A later run from a writable folder copies the file it used before
        // next to the executable, but never over one already there.
        const std::string& earlier = IsFile(userCandidate) ? userCandidate : tempCandidate;
        if (IsFile(earlier)) CopyFileA(earlier.c_str(), programCandidate.c_str(), TRUE);
    } else if (!IsFile(userCandidate) && !PathExists(userCandidate)) {
        // The user's own folder, which Windows keeps (the temporary folder is
        // cleaned). It starts from the last settings: those beside the
        // program (a folder made read-only after use), or else a copy in the
        // temporary folder, which is taken over once and then gone, so that
        // deleting the file starts afresh.
        std::string folder = WithTrailingBackslash(userFolder);
        _mkdir(folder.substr(0, folder.size() - 1).c_str());
        if (IsFile(programCandidate))
            CopyFileA(programCandidate.c_str(), userCandidate.c_str(), TRUE);
        else if (IsFile(tempCandidate) && Upper(tempCandidate) != Upper(userCandidate))
            MoveFileExA(tempCandidate.c_str(), userCandidate.c_str(), MOVEFILE_COPY_ALLOWED);
    }

    // A new file in a writable folder starts in the temporary folder, as does
    // one where a folder takes the file's name.
    if (writable)
        Paths.settingsFile = IsFile(programCandidate) ? programCandidate : tempCandidate;
    else
        Paths.settingsFile = userCandidate;

    if (!PathExists(Paths.settingsFile)) WriteDefaultSettings(Paths.settingsFile);
}

void PrepareSettingsFile(const std::string& programFolder, const std::string& programName,
                         const std::string& tempFolder) {
    PrepareSettingsFile(programFolder, programName, tempFolder, tempFolder);
}

// The user's application data folder's "Korvex" (%APPDATA%\Korvex\); the
// temporary folder where there is none.
static std::string UserSettingsFolder() {
    char path[MAX_PATH] = {};
    if (SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT,
                         path) != S_OK ||
        !path[0])
        return TempFolder();
    return WithTrailingBackslash(path) + "Korvex\\";
}

void PrepareSettingsFile() {
    PrepareSettingsFile(ExeFolder(), ExeName(), TempFolder(), UserSettingsFolder());
}

// ---------------------------------------------------------------------------
// The file in memory

// What identifies the file's contents on disk without reading it.
struct FileStamp {
    bool exists = false;
    DWORD attributes = 0, sizeLow = 0, sizeHigh = 0;
    FILETIME written = {};
};

static FileStamp StampOf(const std::string& path) {
    FileStamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return stamp;
    stamp.exists = true;
    stamp.attributes = data.dwFileAttributes;
    stamp.sizeLow = data.nFileSizeLow;
    stamp.sizeHigh = data.nFileSizeHigh;
    stamp.written = data.ftLastWriteTime;
    return stamp;
}

static bool SameStamp(const FileStamp& a, const FileStamp& b) {
    return a.exists == b.exists && a.attributes == b.attributes && a.sizeLow == b.sizeLow &&
           a.sizeHigh == b.sizeHigh && CompareFileTime(&a.written, &b.written) == 0;
}

// The settings file as last read or written. It is read once, parsed in one
// pass and written in one, whatever its size; it is read again only when
// something else has changed it since. The tree pane's thread reads it too.
// The system's profile functions are not used on it: they read the whole file
// for every key, Windows takes a UTF-8 byte-order mark for part of the first
// line, and Wine drops the leading blank of " 100", which the file keeps for
// window numbers.
struct LoadedSettings {
    std::string path;
    FileStamp stamp;
    bool readable = false;
    SettingsText text;
    std::map<std::string, std::string> main; // [MAIN] in the program's code page
};
static LoadedSettings loaded;
static std::mutex loadedLock;

// Values are read into a buffer of 2048 bytes, as the profile functions were.
static const size_t MaxValueLength = 2047;

static std::string ProgramText(const SettingsText& text, const std::string& value) {
    std::string converted = FromSettingsLines(text.encoding, value);
    if (converted.size() > MaxValueLength) converted.resize(MaxValueLength);
    return converted;
}

static std::map<std::string, std::string> SectionValues(const SettingsText& text,
                                                        const std::string& section,
                                                        const std::vector<std::string>& keys) {
    std::map<std::string, std::string> values = FindProfileValues(text.lines, section, keys);
    for (auto& v : values)
        v.second = ProgramText(text, v.second);
    return values;
}

// The caller holds the lock in these two.
static void Remember(const SettingsText& text, const FileStamp& stamp) {
    loaded.path = Paths.settingsFile;
    loaded.stamp = stamp;
    loaded.text = text;
    loaded.main = MainValuesOrDefaults(SectionValues(text, MainSection, MainSectionKeys()));
}

// Brings the copy in memory up to date with the file.
static void Refresh() {
    // Stamped before it is read: a change made meanwhile is read next time.
    FileStamp stamp = StampOf(Paths.settingsFile);
    if (loaded.path == Paths.settingsFile && SameStamp(loaded.stamp, stamp)) return;
    SettingsText text;
    loaded.readable = ReadSettingsText(text);
    Remember(text, stamp);
}

std::vector<std::string> ReadSettingsValues(const char* section,
                                            const std::vector<std::string>& keys) {
    std::lock_guard<std::mutex> lock(loadedLock);
    Refresh();
    std::map<std::string, std::string> found = SectionValues(loaded.text, section, keys);
    std::vector<std::string> values;
    for (const std::string& key : keys)
        values.push_back(found[key]);
    return values;
}

bool WriteSettingsValues(const char* section, const std::vector<ProfileValue>& values) {
    bool saved = false;
    {
        std::lock_guard<std::mutex> lock(loadedLock);
        Refresh();
        // A file that cannot be read is left alone: writing the section alone
        // would lose the rest.
        if (loaded.readable) {
            SettingsText text = loaded.text;
            std::vector<ProfileValue> encoded;
            for (const ProfileValue& v : values)
                encoded.push_back({v.key, ToSettingsLines(text.encoding, v.value)});
            // Written in the file's own encoding, and with its own mark or none.
            text.lines = WithProfileValues(text.lines, section, encoded);
            saved = ReplaceSettingsFile(EncodeSettingsFile(text));
            if (saved) Remember(text, StampOf(Paths.settingsFile));
        }
        // After a failure the file is read afresh: what is on disk is the truth.
        if (!saved) loaded.path.clear();
    }
    if (!saved)
        ShowMessage("Can't save settings to " + Paths.settingsFile, "Error", MB_OK | MB_ICONERROR);
    return saved;
}

// ---------------------------------------------------------------------------
// [MAIN] section access

static std::map<std::string, std::string> MainValues() {
    std::lock_guard<std::mutex> lock(loadedLock);
    Refresh();
    return loaded.main;
}

std::string ReadMainText(const std::string& key) {
    std::map<std::string, std::string> main = MainValues();
    auto v = main.find(key);
    return v == main.end() ? std::string() : v->second;
}

int ReadMainInt(const char* key) {
    return AtoI(ReadMainText(key));
}

// The placement as loaded, and whether it had to be brought onto the screen:
// a minimised or maximised window then saves the corrected one.
static WindowBox loadedBox = {};
static bool loadedBoxCorrected = false;

static WindowBox SaneBoxOnScreen(const WindowBox& box) {
    POINT corner = {box.left, box.top};
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    RECT work = {0, 0, 1024, 768};
    if (GetMonitorInfoA(MonitorFromPoint(corner, MONITOR_DEFAULTTONEAREST), &info))
        work = info.rcWork;
    else
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return SaneWindowBox(box, work);
}

static WindowBox StoredBox(std::map<std::string, std::string>& main) {
    return WindowBoxFromTexts(main["Left"], main["Top"], main["Width"], main["Height"]);
}

WindowBox ReadWindowBox() {
    std::map<std::string, std::string> main = MainValues();
    return SaneBoxOnScreen(StoredBox(main));
}

// Whether the loaded file held a column's visibility key: the property
// columns' keys are written only once they have been shown, so that a file
// of before them is kept as it was.
static bool columnKeyOnFile[kListColumns] = {};

static void SetListColumnWidth(int column, int width) {
    SendMessageA(Win.list, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0));
}

void LoadMainSettings() {
    std::map<std::string, std::string> main = MainValues();
    auto value = [&main](const std::string& key) { return main[key]; };

    loadedBox = SaneBoxOnScreen(StoredBox(main));
    // Anything on file but the numbers used, a value that could not be read
    // included, is corrected on file too.
    auto kept = [&main](const char* key, int used) {
        int n;
        return WholeNumber(main[key], n) && n == used;
    };
    loadedBoxCorrected = !kept("Left", loadedBox.left) || !kept("Top", loadedBox.top) ||
                         !kept("Width", loadedBox.width) || !kept("Height", loadedBox.height);
    int state = AtoI(value("State"));
    MoveWindow(Win.main, loadedBox.left, loadedBox.top, loadedBox.width, loadedBox.height, TRUE);
    if (state == 1)
        ShowWindow(Win.main, SW_MINIMIZE);
    else if (state == 2)
        ShowWindow(Win.main, SW_MAXIMIZE);

    for (int c = 1; c < kListColumns; ++c)
        Settings.columnWidth[c] = ColumnWidthFromText(value(ColumnWidthKeys[c]),
                                                      DefaultColumnWidths[c], MaxColumnWidths[c]);

    // A settings file without the drawing's property columns' keys hides them.
    for (int c = 1; c < kListColumns; ++c) {
        columnKeyOnFile[c] = main.count(ShowColumnKeys[c]) > 0;
        Settings.showColumn[c] = TrueOnlyFlag(value(ShowColumnKeys[c]));
    }
    KeepAColumnShown(Settings.showColumn);
    for (int c = 1; c < kListColumns; ++c) {
        bool shown = Settings.showColumn[c] == "TRUE";
        CheckViewItem(ColumnItemId(c), shown);
        SetListColumnWidth(c, shown ? Settings.columnWidth[c] : 0);
    }

    Settings.viewMode = ViewModeFromText(value("ViewMode"));

    BlackBackground = value("Invert") == "TRUE";
    CheckViewItem(IDM_BLACK_BACKGROUND, BlackBackground);

    Settings.thumbWidth = ThumbWidthFor(Settings.columnWidth[1]);
    Settings.thumbHeight = ThumbHeightFor(Settings.thumbWidth);

    for (int n = 1; n <= 5; ++n)
        Settings.showCopyTo[n] = TrueOnlyFlag(value(ShowCopyToKey(n)));
    for (int n = 1; n <= 5; ++n)
        Settings.showMoveTo[n] = TrueOnlyFlag(value(ShowMoveToKey(n)));
    for (int n = 1; n <= 5; ++n)
        Settings.copyTo[n] = value(CopyToKey(n));
    for (int n = 1; n <= 5; ++n)
        Settings.moveTo[n] = value(MoveToKey(n));

    for (int n = 1; n <= 20; ++n)
        Settings.favorites[n] = value(FavoriteKey(n));

    Settings.treeWidth = TreeWidthFromText(value("DTVWidth"));

    SortColumn = SortColumnFromValue(AtoI(value("SortColumn")));
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
    // A minimised or maximised window keeps the restored placement on file,
    // unless that placement was off the screen and has been corrected.
    if (!minimised && !maximised) {
        put("Left", BlankedNumber(r.left));
        put("Top", BlankedNumber(r.top));
        put("Width", BlankedNumber(r.right - r.left));
        put("Height", BlankedNumber(r.bottom - r.top));
    } else if (loadedBoxCorrected) {
        put("Left", BlankedNumber(loadedBox.left));
        put("Top", BlankedNumber(loadedBox.top));
        put("Width", BlankedNumber(loadedBox.width));
        put("Height", BlankedNumber(loadedBox.height));
    }
    put("State", BlankedNumber(minimised ? 1 : maximised ? 2 : 0));

    put("Path", WithTrailingBackslash(CurrentFolder()));

    // A sort by a property column is not kept: the key holds the columns
    // every version of the settings file knows.
    put("SortColumn", BlankedNumber(SortColumn <= 6 ? SortColumn : 2));
    put("DTVWidth", PlainNumber(Settings.treeWidth));

    for (int c = 1; c < kListColumns; ++c) {
        if (Settings.showColumn[c] != "TRUE") {
            if (c >= kFirstPropertyColumn && !columnKeyOnFile[c]) continue;
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

    WriteSettingsValues(MainSection, values);
}
