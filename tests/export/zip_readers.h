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
