// The texts shown for a file everywhere in Korvex: name and folder parts,
// size in KB, modification date and time, attribute letters.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

std::string FileNamePart(const std::string& path);
std::string FolderPart(const std::string& path);
std::string WithTrailingBackslash(const std::string& path);

// The size of the first entry matching path; 0 when nothing matches.
uint64_t FileSizeOf(const std::string& path);
// "1,234 KB" for the file's whole size; "0 KB" when it cannot be found.
std::string SizeText(const std::string& path);
// "03/07/2010 02:05 PM" in local time; "" when it cannot be found.
std::string ModifiedText(const std::string& path);
// Letters R H S D A C for the attributes present; "" when unreadable.
std::string AttributeText(const std::string& path);

// The same texts from what a directory enumeration gave for the entry, with
// no further look-up: the size in bytes, the last write as the system's file
// time (100 ns units since 1601, UTC) and the attribute word.
std::string ModifiedTextOf(uint64_t lastWrite);

// The calendar fields of a file time (100 ns units since 1601, UTC) in local
// time, by the daylight-saving rule in force on that date rather than today's
// offset, so that a summer file reads the same in winter. False when the time
// cannot be converted.
bool LocalTimeOf(uint64_t fileTime, SYSTEMTIME& local);

// The Size, Modified and Attributes texts of a listed file from what its
// directory entry gave; a file that vanished since gets what its path gives
// now, as any missing file does.
struct FactTexts {
    std::string size, modified, attributes;
};
FactTexts FactTextsOf(const std::string& path, bool vanished, uint64_t size, uint64_t lastWrite,
                      uint32_t attributes);

// The text rules on their own.
std::string KbText(uint64_t bytes);
std::string AttributeLetters(uint32_t attributes);
