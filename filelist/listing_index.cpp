#include "filelist/listing_index.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <cstdlib>
#include <mutex>
#include <unordered_map>

#include "filelist/folder_environment.h"
#include "inspect/preview_bitmap.h"
#include "runtime/app_state.h"
#include "runtime/file_facts.h"
#include "runtime/long_paths.h"
#include "settings/settings_file.h"

namespace {

std::unique_ptr<DrawingIndex> programIndex;
constexpr int64_t kDefaultMegabytes = 1024;

} // namespace

std::string DrawingIndexFile() {
    wchar_t* folder = nullptr;
    std::string file;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &folder)))
        file = AnsiFromWide(folder) + "\\Korvex\\drawings.db";
    CoTaskMemFree(folder);
    return file;
}

void StartDrawingIndex() {
    StopDrawingIndex();
    std::vector<std::string> values = ReadSettingsValues("INDEX", {"Enabled", "MaxMegabytes"});
    if (values[0] == "FALSE") return;
    int64_t megabytes = values[1].empty() ? kDefaultMegabytes : std::atoll(values[1].c_str());
    if (megabytes <= 0) megabytes = kDefaultMegabytes;
    std::string file = DrawingIndexFile();
    programIndex.reset(new DrawingIndex);
    if (!file.empty()) programIndex->Open(file, megabytes << 20);
    DrawingsIndex = programIndex.get();
}

void StopDrawingIndex() {
    DrawingsIndex = nullptr;
    programIndex.reset();
}

bool ClearDrawingIndex() {
    if (DrawingsIndex && DrawingsIndex->usable()) return DrawingsIndex->Clear();
    // Not in use: its files go, whatever state they are in.
    std::string file = DrawingIndexFile();
    if (file.empty()) return false;
    bool cleared = true;
    for (const char* suffix : {"", "-wal", "-shm"}) {
        std::string path = file + suffix;
        if (FileAttributesOf(path) != INVALID_FILE_ATTRIBUTES && !DeleteFileOf(path))
            cleared = false;
    }
    return cleared;
}

std::string DrawingIndexNotice() {
    if (!DrawingsIndex) return std::string();
    std::string notice = DrawingsIndex->TakeProblem();
    if (DrawingsIndex->damaged()) DrawingsIndex->Reopen();
    return notice;
}

void ForgetGoneDrawings(const std::string& folder) {
    if (!DrawingsIndex || !DrawingsIndex->usable()) return;
    std::string withSlash = WithTrailingBackslash(folder);
    DrawingsIndex->ForgetGone(withSlash, [withSlash](std::vector<std::string>& names) {
        DirEntries entries(withSlash + "*");
        DirEntry entry;
        bool any = false;
        while (entries.Next(entry)) {
            any = true; // a folder read at all has "." at least
            names.push_back(entry.name);
        }
        return any;
    });
}

DrawingFacts FactsOfEntry(const DirEntry& entry) {
    DrawingFacts facts;
    facts.size = entry.size;
    facts.lastWrite = entry.lastWrite;
    facts.created = entry.created;
    return facts;
}

bool FolderLookup::Find(const std::string& path, const DrawingFacts& facts, IndexedDrawing& found) {
    if (!DrawingsIndex) return false;
    std::string key = IndexKeyOf(path), folder = FolderKeyOf(key);
    if (!loaded_ || folder != folder_) {
        entries_.clear();
        folder_ = folder;
        loaded_ = true;
        if (!DrawingsIndex->FindFolder(folder, entries_)) return false;
    }
    auto it = entries_.find(key);
    if (it == entries_.end() || it->second.facts != facts) return false;
    found = it->second;
    found.path = path;
    return true;
}

// A drawing's properties as its entry keeps them: a layout version byte,
// then the kept form; the byte alone for a drawing read and found without
// any. An entry without the byte was read without its properties.
static const char kPropertiesLayout = 1;

static std::string PropertiesBlob(const DrawingRead& read) {
    return std::string(1, kPropertiesLayout) +
           (read.properties ? SerializeProperties(*read.properties) : std::string());
}

// The properties an entry keeps into a read; false when it keeps none.
static bool PropertiesFromBlob(const std::string& blob, DrawingRead& read) {
    if (PropertiesVersion(blob) != kPropertiesLayout) return false;
    if (blob.size() == 1) return true;
    auto properties = std::make_shared<DrawingProperties>();
    if (!ParseProperties(blob.substr(1), *properties)) return false;
    read.properties = properties;
    return true;
}

void RememberDrawingRead(const std::string& path, const DrawingFacts& facts,
                         const DrawingRead& read, bool withProperties) {
    if (!DrawingsIndex || read.unreadable || read.version == kFileNotFoundVersion) return;
    IndexedDrawing entry;
    entry.path = path;
    entry.facts = facts;
    entry.version = read.version;
    if (withProperties) entry.properties = PropertiesBlob(read);
    // A release without previews needs no look for one.
    entry.cell = read.previewSupported ? IndexedCell::kUnknown : IndexedCell::kNotSupported;
    DrawingsIndex->Put(entry);
}

std::shared_ptr<const DrawingProperties> SearchedProperties(FolderLookup& lookup,
                                                            const std::string& path,
                                                            const DrawingFacts& facts,
                                                            DrawingRead& read) {
    read = DrawingRead();
    IndexedDrawing entry;
    bool found = lookup.Find(path, facts, entry);
    DrawingRead kept;
    if (found && PropertiesFromBlob(entry.properties, kept)) return kept.properties;
    DrawingRead got = ReadDrawingAlone(path, false, true);
    if (got.unreadable || got.version == kFileNotFoundVersion) return nullptr;
    // An entry keeps its thumbnail: only its properties are added to it.
    if (found)
        DrawingsIndex->PutProperties(path, facts, PropertiesBlob(got));
    else
        RememberDrawingRead(path, facts, got, true);
    read = got;
    return got.properties;
}

struct ListingIndex::Shared {
    std::mutex lock;
    std::unordered_map<std::string, DrawingFacts> facts; // paths given, not yet read
    // Paths read, not yet taken: the index's entry, or what was read.
    struct Read {
        IndexedDrawing entry;
        bool fromIndex = false;
    };
    std::unordered_map<std::string, Read> read;
    std::unordered_map<std::string, std::string> properties;
    bool withProperties = false;
    // A listing whose filter changed starts a second reading thread before
    // the first has ended: the two take turns.
    std::mutex lookupLock;
    FolderLookup lookup;
};

ListingIndex::ListingIndex(bool withProperties) : shared_(std::make_shared<Shared>()) {
    shared_->withProperties = withProperties;
}

std::function<bool(std::string& path)> ListingIndex::Paths(const std::string& folder,
                                                           const std::string& filter,
                                                           const std::string& extension) {
    auto next = ListedEntries(folder, filter, extension);
    std::shared_ptr<Shared> shared = shared_;
    return [next, shared](std::string& path) {
        DirEntry entry;
        if (!next(path, entry)) return false;
        std::lock_guard<std::mutex> hold(shared->lock);
        shared->facts[path] = FactsOfEntry(entry);
        return true;
    };
}

DrawingReadAhead::Reader ListingIndex::Reader() {
    std::shared_ptr<Shared> shared = shared_;
    return [shared](const std::string& path) {
        DrawingFacts facts;
        bool known = false;
        {
            std::lock_guard<std::mutex> hold(shared->lock);
            auto it = shared->facts.find(path);
            if (it != shared->facts.end()) {
                facts = it->second;
                known = true;
                shared->facts.erase(it);
            }
        }
        Shared::Read done;
        DrawingRead read;
        bool found = false;
        if (known) {
            std::lock_guard<std::mutex> hold(shared->lookupLock);
            found = shared->lookup.Find(path, facts, done.entry);
        }
        // Properties wanted from an entry read without them: the drawing is
        // read again, and its entry then keeps them.
        if (found && shared->withProperties && !PropertiesFromBlob(done.entry.properties, read))
            found = false;
        if (found) {
            done.fromIndex = true;
            read.version = done.entry.version;
            read.previewSupported = done.entry.cell != IndexedCell::kNotSupported;
        } else {
            done.entry = IndexedDrawing();
            read = ReadDrawingAlone(path, false, shared->withProperties);
            if (!known || read.unreadable || read.version == kFileNotFoundVersion) return read;
            RememberDrawingRead(path, facts, read, shared->withProperties);
            done.entry.facts = facts;
        }
        std::lock_guard<std::mutex> hold(shared->lock);
        shared->read[path] = std::move(done);
        return read;
    };
}

int ListingIndex::RowImage(const std::string& path, int image, RowIndexing& indexing) {
    Shared::Read done;
    {
        std::lock_guard<std::mutex> hold(shared_->lock);
        auto it = shared_->read.find(path);
        if (it == shared_->read.end()) return image;
        done = std::move(it->second);
        shared_->read.erase(it);
        if (!done.entry.properties.empty())
            shared_->properties[path] = std::move(done.entry.properties);
    }
    indexing.indexed = true;
    indexing.facts = done.entry.facts;
    if (!done.fromIndex || image != kThumbnailPending) return image;
    if (done.entry.cell == IndexedCell::kNotFound) return Thumbs.notFound;
    indexing.hasPicture =
        done.entry.cell == IndexedCell::kPicture && done.entry.format == RowCellFormat();
    return image;
}

std::string ListingIndex::TakeProperties(const std::string& path) {
    std::lock_guard<std::mutex> hold(shared_->lock);
    auto it = shared_->properties.find(path);
    if (it == shared_->properties.end()) return std::string();
    std::string properties = std::move(it->second);
    shared_->properties.erase(it);
    return properties;
}
