// Writing zip archives with minizip: one deflate entry per file, read in
// blocks so that memory stays the same whatever a file's size. Free of window
// calls: callers tell the user what went wrong.
#pragma once
#include <string>

#include <zip.h>

// What went wrong while one file was added; all false when it went in whole.
struct ZipAddResult {
    bool unreadable = false;  // could not be opened or read: nothing was added
    bool openFailed = false;  // the entry could not be started: nothing was added
    bool writeFailed = false; // the archive did not take the data
    bool closeFailed = false; // the entry could not be finished
    bool cutShort = false;    // reading stopped partway: the entry holds what was read
};

// One part of the local last-write time of path: 1 month, 2 day, 3 year,
// 4 hour, 5 minute, 6 second; 0 for any other part or when path is not found.
int ZipEntryTime(const std::string& path, int part);

// Entry times for minizip: the file's local last-write time.
zip_fileinfo ZipEntryInfo(const std::string& path);

// A new archive in place of any file of that name; null when it cannot be
// created.
zipFile CreateZipArchive(const std::string& path);

// Adds the file at path as entryName (deflate, level 6). An entry of 4 GiB or
// more, or one whose compressed data could pass 4 GiB, is a zip64 entry.
ZipAddResult AddFileToZip(zipFile zip, const std::string& path, const std::string& entryName);

// False when the archive could not be finished.
bool CloseZipArchive(zipFile zip);
