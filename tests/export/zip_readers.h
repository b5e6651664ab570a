// Checks zip archives with the programs people open them with: Info-ZIP's
// unzip -t, 7-Zip's 7z t and Python's zipfile.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// An entry an archive must hold, in order: its name, the file it was made
// from and that file's local last-write time.
struct ExpectedEntry {
    std::string name;
    std::string source;
    SYSTEMTIME localTime;
};

// The file's local last-write time.
SYSTEMTIME LocalWriteTime(const std::string& path);
ExpectedEntry Expect(const std::string& name, const std::string& source);

// "" when all three readers accept the archive and Python finds exactly the
// expected entries, deflated, with the files' CRCs, contents and times (to
// the two seconds zip stores); otherwise what went wrong.
std::string CheckArchive(const std::string& archive, const std::vector<ExpectedEntry>& entries);

// The times Python's zipfile finds for each entry, one line per entry:
// "name|DOS date and time|extended-timestamp time in the local header|the
// same in the central header|NTFS last-write time", the last three in UTC
// ("-" where the field is absent), times as "YYYY-MM-DD HH:MM:SS".
std::string ZipfileEntryTimes(const std::string& archive);
// What Info-ZIP's zipinfo (unzip -Z -v) and 7-Zip (7z l -slt) print of the
// archive, both run in UTC.
std::string ZipinfoVerbose(const std::string& archive);
std::string SevenZipListing(const std::string& archive);
