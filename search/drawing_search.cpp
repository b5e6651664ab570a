#include "search/drawing_search.h"

#include <cstring>
#include <deque>
#include <memory>

#include "filelist/listing_index.h"
#include "filelist/listing_rules.h"
#include "inspect/dwg_inspect.h"
#include "runtime/file_facts.h"
#include "runtime/app_state.h"
#include "runtime/handles.h"
#include "runtime/win_helpers.h"
#include "search/property_match.h"
#include "search/search_results.h"

void (*SearchEntryObserver)(const std::string& path) = nullptr;

namespace {

// The longest the walk goes without pumping messages while it passes entries
// that need nothing, so that the window still repaints and answers.
const DWORD kPumpIntervalMs = 50;

// What makes a folder the same folder whatever path leads to it.
struct FolderIdentity {
    bool known = false;
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    bool operator==(const FolderIdentity& other) const {
        return known && other.known && volume == other.volume && indexHigh == other.indexHigh &&
               indexLow == other.indexLow;
    }
};

FolderIdentity IdentityOf(const std::string& folder) {
    FolderIdentity id;
    // Backup semantics open the folder itself; links are followed to their target.
    HANDLE h = CreateFileA(folder.c_str(), FILE_READ_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return id;
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileInformationByHandle(h, &info)) {
        id.known = true;
        id.volume = info.dwVolumeSerialNumber;
        id.indexHigh = info.nFileIndexHigh;
        id.indexLow = info.nFileIndexLow;
    }
    CloseHandle(h);
    return id;
}

// One folder whose enumeration is open, at the entry being worked on.
struct OpenFolder {
    std::string folder; // with a trailing backslash
    FolderIdentity id;  // read only once a folder link is met
    bool idRead = false;
    std::unique_ptr<DirEntries> entries;
    DirEntry entry;
};

// Whether the folder a link leads to is one the walk is already inside. The
// identities are read only here: opening every folder for its identity costs
// the walk more than enumerating it.
bool LeadsToAnOpenFolder(std::deque<OpenFolder>& open, const std::string& link) {
    FolderIdentity target = IdentityOf(link);
    for (OpenFolder& level : open) {
        if (!level.idRead) {
            level.id = IdentityOf(level.folder);
            level.idRead = true;
        }
        if (level.id == target) return true;
    }
    return false;
}

// Opens the enumeration of a folder on top of the walk's stack. False when
// the folder cannot be enumerated, or is a link (junction, symbolic link) to
// a folder the walk is already inside. Only links are compared: a plain
// folder cannot be its own ancestor, and some file systems give unrelated
// folders the same identity (Unix mounts seen through a drive letter).
bool Enter(std::deque<OpenFolder>& open, const std::string& folder, bool link) {
    if (link && LeadsToAnOpenFolder(open, folder)) return false;
    auto entries = std::make_unique<DirEntries>(folder + "*");
    DirEntry entry;
    if (!entries->Next(entry)) return false;
    open.emplace_back();
    OpenFolder& level = open.back();
    level.folder = folder;
    level.entries = std::move(entries);
    level.entry = std::move(entry);
    return true;
}

} // namespace

void WalkDrawings(const std::string& folder, const FoundDrawing& found) {
    // The open enumerations are kept here rather than on the call stack, so
    // that no depth of folders can exhaust the stack.
    std::deque<OpenFolder> open;
    // No folder ("\\" is the path of none) is not the current drive's root,
    // which under Wine is the whole Unix file system.
    if (folder.empty() || folder == "\\") return;
    if (!Enter(open, WithTrailingBackslash(folder), false)) return;
    DWORD lastPump = GetTickCount();
    bool atEntry = true; // the top level's entry is still to be handled
    while (!open.empty()) {
        OpenFolder& level = open.back();
        if (atEntry) {
            const DirEntry& entry = level.entry;
            const std::string& name = entry.name;
            bool dots = name == "." || name == "..";
            bool isFolder = !dots && (entry.attributes & FILE_ATTRIBUTE_DIRECTORY);
            bool isDrawing = !dots && !isFolder && EntryExtension(name) == ".DWG";
            // Pumping costs more than the entries that need nothing: the
            // messages wait for an entry that does something, or for time.
            DWORD now = GetTickCount();
            if (isFolder || isDrawing || now - lastPump >= kPumpIntervalMs) {
                std::string path = level.folder + name;
                if (SearchEntryObserver) SearchEntryObserver(path);
                PumpMessages();
                lastPump = now;
                // A cancel seen while pumping ends the walk before this entry:
                // its window is gone, and a folder must not be entered for it.
                if (!SearchActive) break;
                if (isFolder) {
                    // Its whole tree comes first.
                    if (Enter(open, path + "\\", entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT))
                        continue;
                } else if (isDrawing) {
                    found(path, entry);
                }
            }
        }
        if (!SearchActive) break;
        atEntry = level.entries->Next(level.entry);
        if (!atEntry) open.pop_back(); // back to the entry of the level above
    }
}

void SearchDrawings(const std::string& folder, HWND list) {
    const std::string text = SearchPropertyText;
    FolderLookup lookup;
    WalkDrawings(folder, [list, &text, &lookup](const std::string& path, const DirEntry& entry) {
        DrawingRead read;
        if (!text.empty()) {
            // From the index where it keeps them: a tree searched before is
            // not opened again.
            std::shared_ptr<const DrawingProperties> props =
                SearchedProperties(lookup, path, FactsOfEntry(entry), read);
            if (!props || !PropertiesContain(*props, text)) return;
        }
        AddSearchResult(list, path, entry, &read);
    });
    FinishSearchResults(list);
}
