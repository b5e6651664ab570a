#include "drawindex/drawing_index.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <unordered_set>

#include <sqlite3.h>

#include "runtime/long_paths.h"

namespace {

const char kSchema[] =
    "CREATE TABLE IF NOT EXISTS drawings("
    " key TEXT PRIMARY KEY NOT NULL, folder TEXT NOT NULL, path TEXT NOT NULL,"
    " size INTEGER NOT NULL, written INTEGER NOT NULL, created INTEGER NOT NULL,"
    " version TEXT NOT NULL, cell INTEGER NOT NULL, width INTEGER NOT NULL,"
    " height INTEGER NOT NULL, background INTEGER NOT NULL, swapped INTEGER NOT NULL,"
    " picture BLOB, properties BLOB, seen INTEGER NOT NULL);"
    "CREATE INDEX IF NOT EXISTS drawings_folder ON drawings(folder);"
    "CREATE INDEX IF NOT EXISTS drawings_seen ON drawings(seen);";

// A reader waits no longer than opening a drawing on a slow server would
// take; the writer, on its own thread, waits for another program's batch.
constexpr int kReadWaitMs = 100, kWriteWaitMs = 3000;
constexpr int kBatchWaitMs = 250;
constexpr size_t kBatchJobs = 2000;

int64_t Now() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

bool IsDamage(int code) {
    int primary = code & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB || code == SQLITE_IOERR_SHORT_READ;
}

// A statement that finalizes itself.
struct Statement {
    sqlite3_stmt* s = nullptr;
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &s, nullptr); }
    ~Statement() { sqlite3_finalize(s); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
};

int64_t Int(sqlite3* db, const char* sql) {
    Statement st(db, sql);
    return st.s && sqlite3_step(st.s) == SQLITE_ROW ? sqlite3_column_int64(st.s, 0) : -1;
}

std::string Text(sqlite3_stmt* s, int column) {
    const void* data = sqlite3_column_blob(s, column);
    int bytes = sqlite3_column_bytes(s, column);
    return data ? std::string(static_cast<const char*>(data), static_cast<size_t>(bytes))
                : std::string();
}

void BindText(sqlite3_stmt* s, int column, const std::string& text) {
    sqlite3_bind_text(s, column, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// A drawing's size, last-write and creation times, from `column` on.
void BindFacts(sqlite3_stmt* s, int column, const DrawingFacts& facts) {
    sqlite3_bind_int64(s, column, static_cast<int64_t>(facts.size));
    sqlite3_bind_int64(s, column + 1, static_cast<int64_t>(facts.lastWrite));
    sqlite3_bind_int64(s, column + 2, static_cast<int64_t>(facts.created));
}

void BindBlob(sqlite3_stmt* s, int column, const std::string& bytes) {
    if (bytes.empty())
        sqlite3_bind_null(s, column);
    else
        sqlite3_bind_blob(s, column, bytes.data(), static_cast<int>(bytes.size()),
                          SQLITE_TRANSIENT);
}

} // namespace

DrawingIndex::~DrawingIndex() {
    Close();
}

bool DrawingIndex::OpenDatabase(const std::string& file, sqlite3*& db) {
    db = nullptr;
    int rc =
        sqlite3_open_v2(file.c_str(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_extended_result_codes(db, 1);
        sqlite3_busy_timeout(db, kWriteWaitMs);
        // Space given back as entries go; set before the first table only.
        rc = sqlite3_exec(db,
                          "PRAGMA auto_vacuum=INCREMENTAL; PRAGMA journal_mode=WAL;"
                          " PRAGMA synchronous=NORMAL;",
                          nullptr, nullptr, nullptr);
        // A database that cannot be written to is still read.
        if (rc == SQLITE_OK) {
            int made = sqlite3_exec(db, kSchema, nullptr, nullptr, nullptr);
            if (made != SQLITE_OK && (made & 0xFF) != SQLITE_READONLY) rc = made;
        }
        if (rc == SQLITE_OK && Int(db, "SELECT count(*) FROM drawings LIMIT 1") < 0)
            rc = sqlite3_errcode(db);
    }
    if (rc != SQLITE_OK) {
        sqlite3_close(db);
        db = nullptr;
        lastCode_ = rc;
        return false;
    }
    return true;
}

bool DrawingIndex::SetAside() {
    std::wstring from = LongPathForm(file_), to = LongPathForm(file_ + ".damaged");
    DWORD attributes = GetFileAttributesW(to.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            RemoveDirectoryW(to.c_str());
        else
            DeleteFileW(to.c_str());
    }
    if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
    // What the database left beside it belongs to the damaged one.
    DeleteFileW(LongPathForm(file_ + "-wal").c_str());
    DeleteFileW(LongPathForm(file_ + "-shm").c_str());
    return true;
}

bool DrawingIndex::Open(const std::string& file, int64_t maxBytes) {
    Close();
    file_ = file;
    maxBytes_ = maxBytes;
    damaged_ = false;
    size_t slash = file.find_last_of("\\/");
    if (slash != std::string::npos)
        CreateDirectoryW(LongPathForm(file.substr(0, slash)).c_str(), nullptr);

    DWORD attributes = GetFileAttributesW(LongPathForm(file).c_str());
    bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    sqlite3* db = nullptr;
    lastCode_ = SQLITE_CANTOPEN;
    bool opened = !folder && OpenDatabase(file, db);
    if (!opened && (folder || IsDamage(lastCode_))) {
        if (SetAside()) opened = OpenDatabase(file, db);
    }
    if (!opened) {
        std::lock_guard<std::mutex> hold(problemLock_);
        problem_ = "Drawing index not available (" + std::string(sqlite3_errstr(lastCode_)) +
                   "): drawings are read from their files";
        return false;
    }
    sqlite3_busy_timeout(db, kReadWaitMs);
    sqlite3_stmt* find = nullptr;
    sqlite3_prepare_v3(db,
                       "SELECT path, size, written, created, version, cell, width, height,"
                       " background, swapped, picture, properties FROM drawings WHERE key = ?",
                       -1, SQLITE_PREPARE_PERSISTENT, &find, nullptr);
    sqlite3_stmt* findFolder = nullptr;
    sqlite3_prepare_v3(db,
                       "SELECT key, path, size, written, created, version, cell, width, height,"
                       " background, swapped, properties FROM drawings WHERE folder = ?",
                       -1, SQLITE_PREPARE_PERSISTENT, &findFolder, nullptr);
    {
        std::lock_guard<std::mutex> hold(readLock_);
        db_ = db;
        find_ = find;
        findFolder_ = findFolder;
    }
    if (!OpenDatabase(file, writeDb_)) writeDb_ = nullptr; // read only: nothing is written
    quit_ = false;
    writer_ = std::thread(&DrawingIndex::Writer, this);
    return true;
}

void DrawingIndex::StopWriter() {
    if (!writer_.joinable()) return;
    {
        std::lock_guard<std::mutex> hold(queueLock_);
        quit_ = true;
    }
    queueChanged_.notify_all();
    writer_.join();
}

void DrawingIndex::Close() {
    StopWriter();
    sqlite3_close(writeDb_);
    writeDb_ = nullptr;
    queue_.clear();
    // A reading thread of an abandoned listing may still be looking up.
    std::lock_guard<std::mutex> hold(readLock_);
    sqlite3_finalize(find_);
    find_ = nullptr;
    sqlite3_finalize(findFolder_);
    findFolder_ = nullptr;
    sqlite3_close(db_);
    db_ = nullptr;
}

bool DrawingIndex::Reopen() {
    Close();
    if (!SetAside()) {
        std::lock_guard<std::mutex> hold(problemLock_);
        problem_ = "Drawing index damaged and cannot be set aside: drawings are read from "
                   "their files";
        return false;
    }
    return Open(file_, maxBytes_);
}

std::string DrawingIndex::TakeProblem() {
    std::lock_guard<std::mutex> hold(problemLock_);
    if (problemTold_ || problem_.empty()) return std::string();
    problemTold_ = true;
    return problem_;
}

void DrawingIndex::NoteFailure(int code, const char* what) {
    std::lock_guard<std::mutex> hold(problemLock_);
    if (IsDamage(code)) {
        damaged_ = true;
        problemTold_ = false; // a new fault is told again
        problem_ = "Drawing index damaged: it is made anew";
    } else if (problem_.empty()) {
        // Unread, drawings are read from their files; unwritten, they are
        // read again next time.
        problem_ = std::string("Drawing index not ") + what + " (" + sqlite3_errstr(code) + ")";
    }
}

bool DrawingIndex::Find(const std::string& path, const DrawingFacts& facts, IndexedDrawing& entry,
                        bool withPicture) {
    std::lock_guard<std::mutex> hold(readLock_);
    if (!db_ || !find_ || damaged_) return false;
    std::string key = IndexKeyOf(path);
    BindText(find_, 1, key);
    int rc = sqlite3_step(find_);
    bool found = false;
    if (rc == SQLITE_ROW) {
        DrawingFacts stored;
        stored.size = static_cast<uint64_t>(sqlite3_column_int64(find_, 1));
        stored.lastWrite = static_cast<uint64_t>(sqlite3_column_int64(find_, 2));
        stored.created = static_cast<uint64_t>(sqlite3_column_int64(find_, 3));
        int cell = sqlite3_column_int(find_, 5);
        found = stored == facts && cell >= -1 && cell <= 2;
        if (found) {
            entry.path = path;
            entry.facts = stored;
            entry.version = Text(find_, 4);
            entry.cell = static_cast<IndexedCell>(cell);
            entry.format.width = sqlite3_column_int(find_, 6);
            entry.format.height = sqlite3_column_int(find_, 7);
            entry.format.background = static_cast<uint32_t>(sqlite3_column_int64(find_, 8));
            entry.format.swapped = sqlite3_column_int(find_, 9) != 0;
            entry.picture = withPicture ? Text(find_, 10) : std::string();
            entry.properties = Text(find_, 11);
        }
    } else if (rc != SQLITE_DONE) {
        NoteFailure(rc, "read");
    }
    sqlite3_reset(find_);
    sqlite3_clear_bindings(find_);
    if (found) {
        Job seen{Job::kSeen, IndexedDrawing(), {}, nullptr};
        seen.entry.path = path;
        Queue(std::move(seen));
    }
    return found;
}

bool DrawingIndex::FindFolder(const std::string& folder, FolderEntries& entries) {
    std::lock_guard<std::mutex> hold(readLock_);
    if (!db_ || !findFolder_ || damaged_) return false;
    std::string key = IndexKeyOf(folder);
    if (key.empty() || key.back() != '\\') key += '\\';
    BindText(findFolder_, 1, key);
    int rc;
    while ((rc = sqlite3_step(findFolder_)) == SQLITE_ROW) {
        int cell = sqlite3_column_int(findFolder_, 6);
        if (cell < -1 || cell > 2) continue;
        IndexedDrawing& entry = entries[Text(findFolder_, 0)];
        entry.path = Text(findFolder_, 1);
        entry.facts.size = static_cast<uint64_t>(sqlite3_column_int64(findFolder_, 2));
        entry.facts.lastWrite = static_cast<uint64_t>(sqlite3_column_int64(findFolder_, 3));
        entry.facts.created = static_cast<uint64_t>(sqlite3_column_int64(findFolder_, 4));
        entry.version = Text(findFolder_, 5);
        entry.cell = static_cast<IndexedCell>(cell);
        entry.format.width = sqlite3_column_int(findFolder_, 7);
        entry.format.height = sqlite3_column_int(findFolder_, 8);
        entry.format.background = static_cast<uint32_t>(sqlite3_column_int64(findFolder_, 9));
        entry.format.swapped = sqlite3_column_int(findFolder_, 10) != 0;
        entry.properties = Text(findFolder_, 11);
    }
    sqlite3_reset(findFolder_);
    sqlite3_clear_bindings(findFolder_);
    if (rc != SQLITE_DONE) {
        NoteFailure(rc, "read");
        entries.clear();
        return false;
    }
    Job seen{Job::kSeenFolder, IndexedDrawing(), {}, nullptr};
    seen.entry.path = key;
    Queue(std::move(seen));
    return true;
}

void DrawingIndex::Queue(Job job) {
    if (!writer_.joinable() || !writeDb_) return;
    // The writer is woken only when it has something to do: the first job
    // of a batch, or a batch full. Each wake-up is a trip to the system's
    // server under Wine, and a listing queues a job for every drawing.
    bool wake;
    {
        std::lock_guard<std::mutex> hold(queueLock_);
        queue_.push_back(std::move(job));
        wake = queue_.size() == 1 || queue_.size() >= kBatchJobs;
    }
    if (wake) queueChanged_.notify_all();
}

void DrawingIndex::Put(const IndexedDrawing& entry) {
    Queue(Job{Job::kPut, entry, {}, nullptr});
}

void DrawingIndex::PutCell(const std::string& path, const DrawingFacts& facts, IndexedCell kind,
                           const CellFormat& format, std::vector<uint8_t> cell) {
    Job job{Job::kCell, IndexedDrawing(), std::move(cell), nullptr};
    job.entry.path = path;
    job.entry.facts = facts;
    job.entry.cell = kind;
    job.entry.format = format;
    Queue(std::move(job));
}

void DrawingIndex::PutProperties(const std::string& path, const DrawingFacts& facts,
                                 const std::string& properties) {
    Job job{Job::kProperties, IndexedDrawing(), {}, nullptr};
    job.entry.path = path;
    job.entry.facts = facts;
    job.entry.properties = properties;
    Queue(std::move(job));
}

void DrawingIndex::ForgetGone(const std::string& folder, PresentNames present) {
    Job job{Job::kGone, IndexedDrawing(), {}, std::move(present)};
    job.entry.path = folder;
    Queue(std::move(job));
}

void DrawingIndex::Flush() {
    std::unique_lock<std::mutex> hold(queueLock_);
    ++flushing_;
    queueChanged_.notify_all();
    queueChanged_.wait(hold, [this] { return (queue_.empty() && !writing_) || quit_; });
    --flushing_;
}

void DrawingIndex::Writer() {
    std::unique_lock<std::mutex> hold(queueLock_);
    for (;;) {
        queueChanged_.wait(hold, [this] { return quit_ || !queue_.empty(); });
        if (queue_.empty() && quit_) break;
        // Writes wait a little for more to come: one transaction for many
        // costs the readers less than one each.
        queueChanged_.wait_for(hold, std::chrono::milliseconds(kBatchWaitMs), [this] {
            return quit_ || flushing_ > 0 || queue_.size() >= kBatchJobs;
        });
        std::deque<Job> jobs;
        jobs.swap(queue_);
        writing_ = true;
        hold.unlock();
        Write(writeDb_, jobs);
        hold.lock();
        writing_ = false;
        queueChanged_.notify_all();
    }
}

void DrawingIndex::Write(sqlite3* db, std::deque<Job>& jobs) {
    // The folders' names are read before the transaction: reading a folder
    // on a slow server must not keep other programs from writing.
    std::vector<std::vector<std::string>> present(jobs.size());
    std::vector<bool> read(jobs.size(), false);
    for (size_t i = 0; i < jobs.size(); ++i)
        if (jobs[i].kind == Job::kGone) read[i] = jobs[i].present(present[i]);
    if (damaged_) return;

    int rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) return NoteFailure(rc, "updated");
    Statement put(db, "INSERT OR REPLACE INTO drawings(key, folder, path, size, written, created,"
                      " version, cell, width, height, background, swapped, picture, properties,"
                      " seen) VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    Statement cell(db, "UPDATE drawings SET cell=?, width=?, height=?, background=?, swapped=?,"
                       " picture=?, seen=? WHERE key=? AND size=? AND written=? AND created=?");
    Statement properties(db, "UPDATE drawings SET properties=?, seen=? WHERE key=? AND size=?"
                             " AND written=? AND created=?");
    Statement seen(db, "UPDATE drawings SET seen=? WHERE key=?");
    Statement seenFolder(db, "UPDATE drawings SET seen=? WHERE folder=?");
    Statement listed(db, "SELECT key, path FROM drawings WHERE folder=?");
    Statement drop(db, "DELETE FROM drawings WHERE key=?");
    // Later batches are seen later, however fast they come.
    int64_t now = lastSeen_ = std::max(Now(), lastSeen_ + 1);
    for (size_t i = 0; i < jobs.size() && rc == SQLITE_OK; ++i) {
        Job& job = jobs[i];
        const IndexedDrawing& e = job.entry;
        std::string key = IndexKeyOf(e.path);
        sqlite3_stmt* s = nullptr;
        switch (job.kind) {
        case Job::kPut:
            s = put.s;
            BindText(s, 1, key);
            BindText(s, 2, FolderKeyOf(key));
            BindText(s, 3, e.path);
            BindFacts(s, 4, e.facts);
            BindText(s, 7, e.version);
            sqlite3_bind_int(s, 8, static_cast<int>(e.cell));
            sqlite3_bind_int(s, 9, e.format.width);
            sqlite3_bind_int(s, 10, e.format.height);
            sqlite3_bind_int64(s, 11, e.format.background);
            sqlite3_bind_int(s, 12, e.format.swapped);
            BindBlob(s, 13, e.picture);
            BindBlob(s, 14, e.properties);
            sqlite3_bind_int64(s, 15, now);
            break;
        case Job::kCell: {
            s = cell.s;
            std::string picture;
            if (e.cell == IndexedCell::kPicture)
                picture = EncodeCellPicture(job.cell, e.format.width, e.format.height);
            if (e.cell == IndexedCell::kPicture && picture.empty()) continue;
            sqlite3_bind_int(s, 1, static_cast<int>(e.cell));
            sqlite3_bind_int(s, 2, e.format.width);
            sqlite3_bind_int(s, 3, e.format.height);
            sqlite3_bind_int64(s, 4, e.format.background);
            sqlite3_bind_int(s, 5, e.format.swapped);
            BindBlob(s, 6, picture);
            sqlite3_bind_int64(s, 7, now);
            BindText(s, 8, key);
            BindFacts(s, 9, e.facts);
            break;
        }
        case Job::kProperties:
            s = properties.s;
            BindBlob(s, 1, e.properties);
            sqlite3_bind_int64(s, 2, now);
            BindText(s, 3, key);
            BindFacts(s, 4, e.facts);
            break;
        case Job::kSeenFolder:
            s = seenFolder.s;
            sqlite3_bind_int64(s, 1, now);
            BindText(s, 2, e.path); // a folder's key already
            break;
        case Job::kSeen:
            s = seen.s;
            sqlite3_bind_int64(s, 1, now);
            BindText(s, 2, key);
            break;
        case Job::kGone: {
            if (!read[i]) continue;
            std::string folder = key;
            if (folder.empty() || folder.back() != '\\') folder += '\\';
            std::unordered_set<std::string> here;
            for (const std::string& name : present[i])
                here.insert(IndexKeyOf(folder + name));
            std::vector<std::string> gone;
            BindText(listed.s, 1, folder);
            while ((rc = sqlite3_step(listed.s)) == SQLITE_ROW) {
                std::string stored = Text(listed.s, 0);
                if (!here.count(stored)) gone.push_back(stored);
            }
            sqlite3_reset(listed.s);
            rc = rc == SQLITE_DONE ? SQLITE_OK : rc;
            for (size_t g = 0; g < gone.size() && rc == SQLITE_OK; ++g) {
                BindText(drop.s, 1, gone[g]);
                rc = sqlite3_step(drop.s) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db);
                sqlite3_reset(drop.s);
            }
            continue;
        }
        }
        if (!s) {
            rc = sqlite3_errcode(db);
            break;
        }
        int step = sqlite3_step(s);
        rc = step == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db);
        sqlite3_reset(s);
        sqlite3_clear_bindings(s);
    }
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        return NoteFailure(rc, "updated");
    }
    Bound(db);
}

void DrawingIndex::Bound(sqlite3* db) {
    if (maxBytes_ <= 0) return;
    auto used = [db] {
        return (Int(db, "PRAGMA page_count") - Int(db, "PRAGMA freelist_count")) *
               Int(db, "PRAGMA page_size");
    };
    if (used() <= maxBytes_) return;
    // Down to nine tenths of the bound, so that it is not met again at once.
    Statement drop(db, "DELETE FROM drawings WHERE key IN"
                       " (SELECT key FROM drawings ORDER BY seen LIMIT ?)");
    while (used() > maxBytes_ * 9 / 10) {
        int64_t count = Int(db, "SELECT count(*) FROM drawings");
        if (count <= 0 || !drop.s) break;
        sqlite3_bind_int64(drop.s, 1, count / 10 > 0 ? count / 10 : 1);
        int rc = sqlite3_step(drop.s);
        sqlite3_reset(drop.s);
        if (rc != SQLITE_DONE) return NoteFailure(sqlite3_errcode(db), "updated");
    }
    sqlite3_exec(db, "PRAGMA incremental_vacuum", nullptr, nullptr, nullptr);
}

bool DrawingIndex::Clear() {
    Flush();
    if (!writeDb_) return false;
    // The writer is idle and waits for the queue, which this lock holds.
    std::lock_guard<std::mutex> hold(queueLock_);
    bool cleared = sqlite3_exec(writeDb_, "DELETE FROM drawings; PRAGMA incremental_vacuum;",
                                nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_exec(writeDb_, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
    return cleared;
}

int64_t DrawingIndex::EntryCount() {
    std::lock_guard<std::mutex> hold(readLock_);
    return db_ ? Int(db_, "SELECT count(*) FROM drawings") : 0;
}

int64_t DrawingIndex::SizeInBytes() {
    std::lock_guard<std::mutex> hold(readLock_);
    return db_ ? Int(db_, "PRAGMA page_count") * Int(db_, "PRAGMA page_size") : 0;
}
