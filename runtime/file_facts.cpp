#include "runtime/file_facts.h"

#include <windows.h>

#include <mutex>

#include "runtime/dir_entries.h"
#include "runtime/long_paths.h"

// The directory entry of the exact path, as a find-first search gives it.
static bool FindEntry(const std::string& path, DirEntry& entry) {
    return !path.empty() && FindFirstEntry(path, entry);
}

uint64_t FileSizeOf(const std::string& path) {
    DirEntry entry;
    return FindEntry(path, entry) ? entry.size : 0;
}

std::string SizeText(const std::string& path) {
    return KbText(FileSizeOf(path));
}

std::string ModifiedText(const std::string& path) {
    DirEntry entry;
    return FindEntry(path, entry) ? ModifiedTextOf(entry.lastWrite) : std::string();
}

// The zone's rules, asked for at most once a second: asking the system costs
// twenty times the conversion, for every date of a long listing. Listings run
// on the tree pane's thread as well as the main one.
static TIME_ZONE_INFORMATION CurrentZone() {
    static std::mutex lock;
    static TIME_ZONE_INFORMATION zone;
    static DWORD askedAt = 0;
    static bool asked = false;
    std::lock_guard<std::mutex> hold(lock);
    DWORD now = GetTickCount();
    if (!asked || now - askedAt >= 1000) {
        GetTimeZoneInformation(&zone);
        askedAt = now;
        asked = true;
    }
    return zone;
}

bool LocalTimeOf(uint64_t fileTime, SYSTEMTIME& local) {
    FILETIME utc;
    utc.dwLowDateTime = static_cast<DWORD>(fileTime);
    utc.dwHighDateTime = static_cast<DWORD>(fileTime >> 32);
    SYSTEMTIME universal;
    // FileTimeToLocalFileTime would apply today's offset to every date.
    TIME_ZONE_INFORMATION zone = CurrentZone();
    return FileTimeToSystemTime(&utc, &universal) &&
           SystemTimeToTzSpecificLocalTime(&zone, &universal, &local);
}

std::string ModifiedTextOf(uint64_t lastWrite) {
    SYSTEMTIME st;
    if (!LocalTimeOf(lastWrite, st)) return std::string();
    char date[64] = {}, time[64] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, 0, &st, "MM'/'dd'/'yyyy", date, sizeof date);
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, "hh':'mm tt", time, sizeof time);
    return std::string(date) + " " + time;
}

std::string AttributeText(const std::string& path) {
    DWORD attributes = FileAttributesOf(path);
    return attributes == INVALID_FILE_ATTRIBUTES ? std::string() : AttributeLetters(attributes);
}

FactTexts FactTextsOf(const std::string& path, bool vanished, uint64_t size, uint64_t lastWrite,
                      uint32_t attributes) {
    if (vanished) return {SizeText(path), ModifiedText(path), AttributeText(path)};
    return {KbText(size), ModifiedTextOf(lastWrite), AttributeLetters(attributes)};
}
