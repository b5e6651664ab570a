// Writing zip archives with minizip: one deflate entry per file, read in
// blocks so that memory stays the same whatever a file's size. Free of window
// calls: callers tell the user what went wrong.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include <zip.h>

// What went wrong while one file was added; all false when it went in whole.
struct ZipAddResult {
    bool unreadable = false;  // could not be opened or read: nothing was added
    bool openFailed = false;  // the entry could not be started: nothing was added
    bool writeFailed = false; // the archive did not take the data
    bool closeFailed = false; // the entry could not be finished
    bool cutShort = false;    // reading stopped partway: the entry holds what was read
    bool stopped = false;     // the caller stopped it between blocks: the entry is partial
                              // and is the archive's last, for DropLastZipEntry
};

// Called between the blocks of a file with the bytes added so far and the
// file's size; false stops the file there.
using ZipBlockStep = std::function<bool(uint64_t done, uint64_t size)>;

// One part of the local last-write time of path: 1 month, 2 day, 3 year,
// 4 hour, 5 minute, 6 second; 0 for any other part or when path is not found.
int ZipEntryTime(const std::string& path, int part);

// Entry times for minizip: the file's local last-write time, held to the
// range a zip date can hold.
zip_fileinfo ZipEntryInfo(const std::string& path);

// Local calendar fields held to the zip date's range: 1980-01-01 00:00:00 to
// 2107-12-31 23:59:58. Outside it the stored year would wrap round.
SYSTEMTIME ClampToZipRange(const SYSTEMTIME& local);

// The extended-timestamp extra field (0x5455) with the exact last write as
// Unix seconds, for the local and the central header alike (only the
// modification time is given). Empty when the time falls outside the field's
// unsigned 32 bits (before 1970 or after February 2106).
std::string ExtendedTimestampField(uint64_t fileTime);

// The NTFS extra field (0x000a) with the three file times as they are: it
// holds any date, for the readers that read it (7-Zip among them), and is
// given where the extended-timestamp field cannot hold the last write.
std::string NtfsTimesField(uint64_t written, uint64_t accessed, uint64_t created);

// General-purpose flag bit 11: the entry's name is UTF-8.
const unsigned long kUtf8NameFlag = 1ul << 11;
// An entry's name as stored and its flags: plain ASCII as it is, anything
// else as UTF-8 with the flag set.
struct ZipEntryText {
    std::string name;
    unsigned long flags = 0;
};
ZipEntryText StoredEntryName(const std::string& name);

// A new archive in place of any file of that name; null when it cannot be
// created.
zipFile CreateZipArchive(const std::string& path);

// Adds the file at path as entryName (deflate, level 6 unless told). An entry
// of 4 GiB or more, or one whose compressed data could pass 4 GiB, is a zip64
// entry; offsets past 4 GiB get zip64 fields wherever they are needed.
// step, when given, runs between blocks and may stop the file.
const int kZipLevel = 6;
ZipAddResult AddFileToZip(zipFile zip, const std::string& path, const std::string& entryName,
                          const ZipBlockStep& step = nullptr, int level = kZipLevel);

// True when the archive did not take the file as it should: the archive
// itself is then not sound.
inline bool ArchiveWriteFailed(const ZipAddResult& r) {
    return r.openFailed || r.writeFailed || r.closeFailed;
}

// False when the archive could not be finished.
bool CloseZipArchive(zipFile zip);

// Takes the last entry out of a finished archive (one without a comment, as
// CreateZipArchive and CloseZipArchive make it): the file ends where that
// entry began, followed by the central directory without it. False when the
// archive could not be read or rewritten.
bool DropLastZipEntry(const std::string& path);
