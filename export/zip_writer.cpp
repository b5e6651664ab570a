#include "export/zip_writer.h"

#include <windows.h>

#include <vector>

#include <iowin32.h>

#include "runtime/dir_entries.h"
#include "runtime/file_facts.h"
#include "runtime/handles.h"
#include "runtime/long_paths.h"

namespace {

const DWORD kBlockSize = 1 << 20; // bytes read and compressed at a time

// Owns a file handle opened for reading.
class ReadHandle {
  public:
    explicit ReadHandle(const std::string& path)
        : h_(OpenForReading(path, FILE_FLAG_SEQUENTIAL_SCAN)) {}
    ~ReadHandle() {
        if (valid()) CloseHandle(h_);
    }
    ReadHandle(const ReadHandle&) = delete;
    ReadHandle& operator=(const ReadHandle&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }

  private:
    HANDLE h_;
};

// Deflate's worst case (zlib's compressBound) must fit the entry's 32-bit
// fields, or the entry needs zip64 fields.
bool NeedsZip64(uint64_t size) {
    uint64_t bound = size + (size >> 12) + (size >> 14) + (size >> 25) + 13;
    return bound >= 0xFFFFFFFFull;
}

uint64_t FileTimeValue(const FILETIME& time) {
    return static_cast<uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

bool WriteTimeOf(const std::string& path, uint64_t& written) {
    DirEntry entry;
    if (!FindFirstEntry(path, entry)) return false;
    written = entry.lastWrite;
    return true;
}

zip_fileinfo InfoFromFields(const SYSTEMTIME& local) {
    SYSTEMTIME st = ClampToZipRange(local);
    zip_fileinfo info = {};
    info.tmz_date.tm_sec = st.wSecond;
    info.tmz_date.tm_min = st.wMinute;
    info.tmz_date.tm_hour = st.wHour;
    info.tmz_date.tm_mday = st.wDay;
    info.tmz_date.tm_mon = st.wMonth - 1;
    info.tmz_date.tm_year = st.wYear;
    return info;
}

zip_fileinfo InfoFromTime(uint64_t written) {
    SYSTEMTIME st;
    return LocalTimeOf(written, st) ? InfoFromFields(st) : zip_fileinfo{};
}

void PutLE(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(value >> (8 * i));
}

uint64_t LE(const std::string& bytes, size_t at, int n) {
    uint64_t value = 0;
    for (int i = n - 1; i >= 0; --i)
        value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

} // namespace

// The calendar fields themselves: a date formatted as text would be in the
// user's calendar, whose year need not be the Gregorian one zip stores.
int ZipEntryTime(const std::string& path, int part) {
    uint64_t written;
    SYSTEMTIME st;
    if (part < 1 || part > 6 || !WriteTimeOf(path, written) || !LocalTimeOf(written, st)) return 0;
    const WORD fields[] = {st.wMonth, st.wDay, st.wYear, st.wHour, st.wMinute, st.wSecond};
    return fields[part - 1];
}

// One look-up for all six fields, so that they belong to the same time.
zip_fileinfo ZipEntryInfo(const std::string& path) {
    uint64_t written;
    return WriteTimeOf(path, written) ? InfoFromTime(written) : zip_fileinfo{};
}

SYSTEMTIME ClampToZipRange(const SYSTEMTIME& local) {
    static const SYSTEMTIME kFirst = {1980, 1, 0, 1, 0, 0, 0, 0};
    static const SYSTEMTIME kLast = {2107, 12, 0, 31, 23, 59, 58, 0};
    auto key = [](const SYSTEMTIME& t) {
        return static_cast<uint64_t>(t.wYear) << 40 | static_cast<uint64_t>(t.wMonth) << 32 |
               static_cast<uint64_t>(t.wDay) << 24 | static_cast<uint64_t>(t.wHour) << 16 |
               static_cast<uint64_t>(t.wMinute) << 8 | t.wSecond;
    };
    if (key(local) < key(kFirst)) return kFirst;
    if (key(local) > key(kLast)) return kLast;
    return local;
}

std::string ExtendedTimestampField(uint64_t fileTime) {
    const uint64_t kUnixEpoch = 116444736000000000ull; // 1970-01-01 in 100 ns units since 1601
    if (fileTime < kUnixEpoch) return std::string();
    uint64_t seconds = (fileTime - kUnixEpoch) / 10000000u;
    if (seconds > 0xFFFFFFFFu) return std::string();
    std::string field;
    PutLE(field, 0x5455, 2);
    PutLE(field, 5, 2);
    field += '\x01'; // the modification time only
    PutLE(field, seconds, 4);
    return field;
}

std::string NtfsTimesField(uint64_t written, uint64_t accessed, uint64_t created) {
    std::string field;
    PutLE(field, 0x000a, 2);
    PutLE(field, 32, 2);
    PutLE(field, 0, 4); // reserved
    PutLE(field, 1, 2); // attribute 1: the three times
    PutLE(field, 24, 2);
    PutLE(field, written, 8);
    PutLE(field, accessed, 8);
    PutLE(field, created, 8);
    return field;
}

zipFile CreateZipArchive(const std::string& path) {
    // The 64-bit file functions, whatever the path: the plain ones seek with
    // a 32-bit long, and an archive past 2 GiB would be written over itself.
    // The wide calls take a path of any length.
    zlib_filefunc64_def wide;
    fill_win32_filefunc64W(&wide);
    std::wstring form = LongPathForm(path);
    return zipOpen2_64(form.c_str(), APPEND_STATUS_CREATE, nullptr, &wide);
}

ZipEntryText StoredEntryName(const std::string& name) {
    ZipEntryText stored;
    stored.name = name;
    for (unsigned char c : name)
        if (c >= 0x80) {
            // Readers take a name without the flag for the old DOS code page:
            // anything beyond ASCII goes as UTF-8 and says so.
            if (GetACP() != CP_UTF8) {
                std::wstring wide = WideFromAnsi(name);
                int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                            nullptr, 0, nullptr, nullptr);
                stored.name.assign(static_cast<size_t>(n > 0 ? n : 0), '\0');
                if (n > 0)
                    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                        &stored.name[0], n, nullptr, nullptr);
            }
            stored.flags = kUtf8NameFlag;
            break;
        }
    return stored;
}

ZipAddResult AddFileToZip(zipFile zip, const std::string& path, const std::string& entryName,
                          const ZipBlockStep& step, int level) {
    ZipAddResult result;
    // The file is opened and its first block read before the entry starts, so
    // that a file that cannot be read leaves no trace in the archive.
    ReadHandle in(path);
    LARGE_INTEGER size;
    if (!in.valid() || !GetFileSizeEx(in.get(), &size)) {
        result.unreadable = true;
        return result;
    }
    uint64_t remaining = static_cast<uint64_t>(size.QuadPart);
    std::vector<char> block(remaining < kBlockSize ? static_cast<size_t>(remaining) + 1
                                                   : kBlockSize);
    DWORD want = remaining < kBlockSize ? static_cast<DWORD>(remaining) : kBlockSize;
    DWORD got = 0;
    if (!ReadFile(in.get(), block.data(), want, &got, nullptr) || got != want) {
        result.unreadable = true;
        return result;
    }

    // The open file's own time: the same as its directory entry's, without a
    // directory search for every file.
    FILETIME creation, access, lastWrite;
    uint64_t written = 0, accessed = 0, created = 0;
    if (GetFileTime(in.get(), &creation, &access, &lastWrite)) {
        written = FileTimeValue(lastWrite);
        accessed = FileTimeValue(access);
        created = FileTimeValue(creation);
    } else if (WriteTimeOf(path, written)) {
        accessed = created = written;
    }
    zip_fileinfo info = InfoFromTime(written);
    // The DOS date is local, in two-second steps and held to 1980-2107;
    // readers take the exact time from these fields.
    std::string extra = written ? ExtendedTimestampField(written) : std::string();
    if (extra.empty() && written) extra = NtfsTimesField(written, accessed, created);
    const uInt extraSize = static_cast<uInt>(extra.size());
    const void* extraData = extra.empty() ? nullptr : extra.data();
    const uint64_t total = remaining;
    ZipEntryText stored = StoredEntryName(entryName);
    if (zipOpenNewFileInZip4_64(zip, stored.name.c_str(), &info, extraData, extraSize, extraData,
                                extraSize, nullptr, Z_DEFLATED, level, 0, -MAX_WBITS, DEF_MEM_LEVEL,
                                Z_DEFAULT_STRATEGY, nullptr, 0, 0, stored.flags,
                                NeedsZip64(remaining) ? 1 : 0) != ZIP_OK) {
        result.openFailed = true;
        return result;
    }
    for (;;) {
        if (got > 0 && zipWriteInFileInZip(zip, block.data(), got) != ZIP_OK) {
            result.writeFailed = true;
            break;
        }
        remaining -= got;
        if (remaining == 0) break;
        if (step && !step(total - remaining, total)) {
            result.stopped = true;
            break;
        }
        // Only the size found at the start is read: a file that grows meanwhile
        // cannot outgrow the kind of entry chosen for it.
        want = remaining < kBlockSize ? static_cast<DWORD>(remaining) : kBlockSize;
        if (!ReadFile(in.get(), block.data(), want, &got, nullptr) || got != want) {
            if (got > 0) zipWriteInFileInZip(zip, block.data(), got);
            result.cutShort = true;
            break;
        }
    }
    result.closeFailed = zipCloseFileInZip(zip) != ZIP_OK;
    return result;
}

bool CloseZipArchive(zipFile zip) {
    return zipClose(zip, nullptr) == ZIP_OK;
}

namespace {

const uint32_t kCentralSignature = 0x02014b50;
const uint32_t kEndSignature = 0x06054b50;
const uint32_t kZip64EndSignature = 0x06064b50;
const uint32_t kZip64LocatorSignature = 0x07064b50;

// An archive file open for reading and rewriting its end.
class ArchiveFile {
  public:
    explicit ArchiveFile(const std::string& path)
        : h_(IsLongPath(path) ? CreateFileW(LongPathForm(path).c_str(), kAccess, 0, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
                              : CreateFileA(path.c_str(), kAccess, 0, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~ArchiveFile() {
        if (valid()) CloseHandle(h_);
    }
    ArchiveFile(const ArchiveFile&) = delete;
    ArchiveFile& operator=(const ArchiveFile&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    uint64_t Size() const {
        LARGE_INTEGER size = {};
        return GetFileSizeEx(h_, &size) ? static_cast<uint64_t>(size.QuadPart) : 0;
    }
    bool Read(uint64_t at, size_t n, std::string& bytes) const {
        bytes.assign(n, '\0');
        DWORD got = 0;
        return Seek(at) &&
               (n == 0 || ReadFile(h_, &bytes[0], static_cast<DWORD>(n), &got, nullptr)) &&
               got == n;
    }
    // Writes the bytes at `at` and ends the file after them.
    bool WriteEnd(uint64_t at, const std::string& bytes) {
        DWORD put = 0;
        return Seek(at) &&
               WriteFile(h_, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) &&
               put == bytes.size() && SetEndOfFile(h_);
    }

  private:
    static const DWORD kAccess = GENERIC_READ | GENERIC_WRITE;
    bool Seek(uint64_t at) const {
        LARGE_INTEGER to;
        to.QuadPart = static_cast<LONGLONG>(at);
        return SetFilePointerEx(h_, to, nullptr, FILE_BEGIN) != 0;
    }
    HANDLE h_;
};

// Where a central directory record's entry begins: its 32-bit field, or,
// when that reads 0xFFFFFFFF, the zip64 extra field's value.
bool LocalHeaderOffset(const std::string& cd, size_t record, uint64_t& offset) {
    offset = LE(cd, record + 42, 4);
    if (offset != 0xFFFFFFFFu) return true;
    size_t name = LE(cd, record + 28, 2), extra = LE(cd, record + 30, 2);
    size_t at = record + 46 + name, end = at + extra;
    if (end > cd.size()) return false;
    while (at + 4 <= end) {
        size_t tag = LE(cd, at, 2), size = LE(cd, at + 2, 2);
        if (tag == 0x0001) {
            // Only the fields whose 32-bit places are full are present, in order.
            size_t field = at + 4;
            if (LE(cd, record + 24, 4) == 0xFFFFFFFFu) field += 8; // uncompressed size
            if (LE(cd, record + 20, 4) == 0xFFFFFFFFu) field += 8; // compressed size
            if (field + 8 > at + 4 + size || field + 8 > end) return false;
            offset = LE(cd, field, 8);
            return true;
        }
        at += 4 + size;
    }
    return false;
}

} // namespace

bool DropLastZipEntry(const std::string& path) {
    ArchiveFile file(path);
    uint64_t fileSize = file.valid() ? file.Size() : 0;
    std::string end, locator, bytes;
    if (fileSize < 22 || !file.Read(fileSize - 22, 22, end) || LE(end, 0, 4) != kEndSignature)
        return false;
    uint64_t entries = LE(end, 10, 2), cdSize = LE(end, 12, 4), cdOffset = LE(end, 16, 4);
    if (fileSize >= 22 + 20 && file.Read(fileSize - 42, 20, locator) &&
        LE(locator, 0, 4) == kZip64LocatorSignature) {
        if (!file.Read(LE(locator, 8, 8), 56, bytes) || LE(bytes, 0, 4) != kZip64EndSignature)
            return false;
        entries = LE(bytes, 32, 8);
        cdSize = LE(bytes, 40, 8);
        cdOffset = LE(bytes, 48, 8);
    }
    std::string cd;
    if (entries == 0 || cdOffset + cdSize > fileSize || !file.Read(cdOffset, cdSize, cd))
        return false;

    // The last record of the central directory is the entry to drop.
    size_t record = 0, last = 0;
    for (uint64_t i = 0; i < entries; ++i) {
        if (record + 46 > cd.size() || LE(cd, record, 4) != kCentralSignature) return false;
        last = record;
        record += 46 + LE(cd, record + 28, 2) + LE(cd, record + 30, 2) + LE(cd, record + 32, 2);
    }
    uint64_t newCdOffset;
    if (record > cd.size() || !LocalHeaderOffset(cd, last, newCdOffset) || newCdOffset > cdOffset)
        return false;

    // The rest of the central directory goes where the dropped entry began,
    // then its end records, the zip64 ones where minizip would write them.
    std::string tail = cd.substr(0, last);
    const uint64_t newEntries = entries - 1, newCdSize = tail.size();
    if (newCdOffset >= 0xFFFFFFFFu || newEntries > 0xFFFF) {
        uint64_t zip64End = newCdOffset + newCdSize;
        PutLE(tail, kZip64EndSignature, 4);
        PutLE(tail, 44, 8);
        PutLE(tail, 45, 2);
        PutLE(tail, 45, 2);
        PutLE(tail, 0, 4);
        PutLE(tail, 0, 4);
        PutLE(tail, newEntries, 8);
        PutLE(tail, newEntries, 8);
        PutLE(tail, newCdSize, 8);
        PutLE(tail, newCdOffset, 8);
        PutLE(tail, kZip64LocatorSignature, 4);
        PutLE(tail, 0, 4);
        PutLE(tail, zip64End, 8);
        PutLE(tail, 1, 4);
    }
    PutLE(tail, kEndSignature, 4);
    PutLE(tail, 0, 2);
    PutLE(tail, 0, 2);
    PutLE(tail, newEntries >= 0xFFFF ? 0xFFFF : newEntries, 2);
    PutLE(tail, newEntries >= 0xFFFF ? 0xFFFF : newEntries, 2);
    PutLE(tail, newCdSize >= 0xFFFFFFFFu ? 0xFFFFFFFFu : newCdSize, 4);
    PutLE(tail, newCdOffset >= 0xFFFFFFFFu ? 0xFFFFFFFFu : newCdOffset, 4);
    PutLE(tail, 0, 2); // no comment
    return file.WriteEnd(newCdOffset, tail);
}
