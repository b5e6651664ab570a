// The drawing index: a database, one per user, of what was read from each
// drawing (its release, its thumbnail cell, later its properties), found by
// the drawing's path and trusted only while the drawing's size and times are
// those it was read with. Lookups answer at once; writes are queued and made
// in batches, each in one transaction, on a thread of the index's own.
// Nothing is lost without it: a damaged database is set aside and made anew,
// and one that cannot be used at all leaves the program reading drawings as
// it would without an index.
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "drawindex/index_entry.h"

struct sqlite3;
struct sqlite3_stmt;

class DrawingIndex {
  public:
    DrawingIndex() = default;
    ~DrawingIndex(); // writes what is queued, then closes
    DrawingIndex(const DrawingIndex&) = delete;
    DrawingIndex& operator=(const DrawingIndex&) = delete;

    // Opens the database at `file` (making it and its folder when missing),
    // kept under maxBytes by dropping the entries seen longest ago. A damaged
    // file (or a folder in its place) is set aside beside it as
    // "<file>.damaged" and a new one made. False when no database can be
    // used: problem() says why.
    bool Open(const std::string& file, int64_t maxBytes);
    void Close();
    bool usable() const { return db_ != nullptr && !damaged_; }
    // The reason the index is not used, once: "" afterwards and while it works.
    std::string TakeProblem();
    // Found damaged since it was opened: Reopen sets it aside and starts anew.
    bool damaged() const { return damaged_; }
    bool Reopen();

    // The entry of the drawing at `path` when its facts are those given.
    // Marks the entry as seen now. False when there is none, it is of other
    // facts, or the database does not answer in time.
    // The thumbnail's picture is read only when asked for.
    bool Find(const std::string& path, const DrawingFacts& facts, IndexedDrawing& entry,
              bool withPicture);

    // Every entry of the drawings directly in `folder` (with a trailing
    // backslash), by key, without their thumbnails' pictures, in one
    // look; they are all marked as seen now. False when the database does
    // not answer in time.
    using FolderEntries = std::unordered_map<std::string, IndexedDrawing>;
    bool FindFolder(const std::string& folder, FolderEntries& entries);

    // Queued writes. Put replaces the whole entry of entry.path; PutCell
    // replaces only the thumbnail cell of an entry of those facts (a
    // `cell` of 32-bit pixels, encoded on the index's thread).
    void Put(const IndexedDrawing& entry);
    void PutCell(const std::string& path, const DrawingFacts& facts, IndexedCell kind,
                 const CellFormat& format, std::vector<uint8_t> cell);
    // Replaces only the kept properties of an entry of those facts.
    void PutProperties(const std::string& path, const DrawingFacts& facts,
                       const std::string& properties);
    // Removes the entries of drawings in `folder` that are no longer there:
    // `present` is called on the index's thread and gives the names in the
    // folder now, false when the folder could not be read (nothing removed).
    using PresentNames = std::function<bool(std::vector<std::string>& names)>;
    void ForgetGone(const std::string& folder, PresentNames present);
    // Waits until every queued write is made.
    void Flush();
    // Removes every entry, and the space they took. False when it could not.
    bool Clear();

    // For tests and the benchmark: entries held, and the database's size.
    int64_t EntryCount();
    int64_t SizeInBytes();

  private:
    struct Job {
        enum Kind { kPut, kCell, kProperties, kSeen, kSeenFolder, kGone } kind;
        IndexedDrawing entry;
        std::vector<uint8_t> cell;
        PresentNames present;
    };
    bool OpenDatabase(const std::string& file, sqlite3*& db);
    bool SetAside();
    void Writer();
    void Write(sqlite3* db, std::deque<Job>& jobs);
    void Bound(sqlite3* db);
    void Queue(Job job);
    void NoteFailure(int code, const char* what);
    void StopWriter();

    std::string file_;
    int64_t maxBytes_ = 0;
    // The reading connection, used by whichever thread looks an entry up.
    std::mutex readLock_;
    sqlite3* db_ = nullptr;
    sqlite3_stmt* find_ = nullptr;
    sqlite3_stmt* findFolder_ = nullptr;
    std::atomic<bool> damaged_{false};
    int lastCode_ = 0; // of the last failed opening
    std::mutex problemLock_;
    std::string problem_;
    bool problemTold_ = false;
    // The writing thread and its queue.
    std::mutex queueLock_;
    std::condition_variable queueChanged_;
    std::deque<Job> queue_;
    bool writing_ = false, quit_ = false;
    int flushing_ = 0; // callers waiting for the queue to be written
    std::thread writer_;
    sqlite3* writeDb_ = nullptr; // the writer's own connection
    int64_t lastSeen_ = 0;       // the writer's clock
};
