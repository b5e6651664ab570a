// The drawing index as the listing and the search use it: the program's one
// database, opened as the [INDEX] settings say, and the reads of drawings
// that go through it.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "drawindex/drawing_index.h"
#include "filelist/row_thumbnails.h"
#include "inspect/drawing_read_ahead.h"
#include "runtime/dir_entries.h"

// "%LOCALAPPDATA%\Korvex\drawings.db".
std::string DrawingIndexFile();
// Opens the index at start-up when [INDEX] "Enabled" is not "FALSE", kept
// under "MaxMegabytes" (1,024 by default).
void StartDrawingIndex();
// Closes it: what is queued is written first.
void StopDrawingIndex();
// Removes every entry. False when there is no index or it could not.
bool ClearDrawingIndex();
// Before a listing or a search: a damaged index is set aside and made anew.
// The text to show once when the index is not used, "" otherwise.
std::string DrawingIndexNotice();

// After a folder is listed: the entries of its drawings that are gone are
// removed, on the index's thread.
void ForgetGoneDrawings(const std::string& folder);

DrawingFacts FactsOfEntry(const DirEntry& entry);
// Looks drawings up folder by folder: the entries of a folder are read in
// one look when the first of its drawings is asked for, which costs less
// than a look for each. One thread at a time.
class FolderLookup {
  public:
    // The entry of the drawing at path with these facts, without its
    // thumbnail's picture; false when the index has none.
    bool Find(const std::string& path, const DrawingFacts& facts, IndexedDrawing& found);

  private:
    bool loaded_ = false;
    std::string folder_; // its key
    DrawingIndex::FolderEntries entries_;
};
// The properties of a drawing searched by their text: those its index entry
// keeps, or else read from the drawing and then kept in its entry. When the
// drawing was opened, `read` is what was read of it (its release with the
// properties), so that its row needs no second opening; otherwise it is
// left empty. Null when the drawing has no properties.
std::shared_ptr<const DrawingProperties> SearchedProperties(FolderLookup& lookup,
                                                            const std::string& path,
                                                            const DrawingFacts& facts,
                                                            DrawingRead& read);
// Writes the entry of a drawing read for its release, and withProperties
// for its properties as well; a drawing that could not be read is left out.
void RememberDrawingRead(const std::string& path, const DrawingFacts& facts,
                         const DrawingRead& read, bool withProperties = false);

// One listing's reads through the index, on the read-ahead's thread: the
// paths it is given remember their entries' facts, and the reader answers
// from the index where it can, reading and remembering the rest.
class ListingIndex {
  public:
    // With properties wanted, a drawing's properties come from its entry
    // too, when the entry was read with them.
    explicit ListingIndex(bool withProperties);
    std::function<bool(std::string& path)>
    Paths(const std::string& folder, const std::string& filter, const std::string& extension);
    DrawingReadAhead::Reader Reader();
    // On the listing's thread, for a row of a drawing read through it: the
    // image its thumbnail cell starts with (`image` as the listing chose it
    // without an index; a placeholder the index remembers, or pending for
    // the picture it holds) and what the row's thumbnail is kept under.
    int RowImage(const std::string& path, int image, RowIndexing& indexing);
    // The properties the index holds for the drawing at path (empty for
    // none), taken with RowImage.
    std::string TakeProperties(const std::string& path);

  private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};
