#include "export/zip_writer.h"

#include <windows.h>

#include <vector>

#include "runtime/handles.h"
#include "runtime/long_paths.h"

namespace {

const DWORD kBlockSize = 1 << 20; // bytes read and compressed at a time
const int kLevel = 6;

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

bool ToLocalFields(const FILETIME& time, SYSTEMTIME& st) {
    FILETIME local;
    return FileTimeToLocalFileTime(&time, &local) && FileTimeToSystemTime(&local, &st);
}

bool LocalWriteTime(const std::string& path, SYSTEMTIME& st) {
    WIN32_FIND_DATAA data;
    FindHandle find(FindFirstFileA(path.c_str(), &data));
    return find.valid() && ToLocalFields(data.ftLastWriteTime, st);
}

zip_fileinfo InfoFromFields(const SYSTEMTIME& st) {
    zip_fileinfo info = {};
    info.tmz_date.tm_sec = st.wSecond;
    info.tmz_date.tm_min = st.wMinute;
    info.tmz_date.tm_hour = st.wHour;
    info.tmz_date.tm_mday = st.wDay;
    info.tmz_date.tm_mon = st.wMonth - 1;
    info.tmz_date.tm_year = st.wYear;
    return info;
}

} // namespace

// The calendar fields themselves: a date formatted as text would be in the
// user's calendar, whose year need not be the Gregorian one zip stores.
int ZipEntryTime(const std::string& path, int part) {
    SYSTEMTIME st;
    if (part < 1 || part > 6 || !LocalWriteTime(path, st)) return 0;
    const WORD fields[] = {st.wMonth, st.wDay, st.wYear, st.wHour, st.wMinute, st.wSecond};
    return fields[part - 1];
}

// One look-up for all six fields, so that they belong to the same time.
zip_fileinfo ZipEntryInfo(const std::string& path) {
    SYSTEMTIME st;
    return LocalWriteTime(path, st) ? InfoFromFields(st) : zip_fileinfo{};
}

zipFile CreateZipArchive(const std::string& path) {
    return zipOpen(path.c_str(), APPEND_STATUS_CREATE);
}

ZipAddResult AddFileToZip(zipFile zip, const std::string& path, const std::string& entryName) {
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
    FILETIME written;
    SYSTEMTIME st;
    zip_fileinfo info =
        GetFileTime(in.get(), nullptr, nullptr, &written) && ToLocalFields(written, st)
            ? InfoFromFields(st)
            : ZipEntryInfo(path);
    if (zipOpenNewFileInZip64(zip, entryName.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                              Z_DEFLATED, kLevel, NeedsZip64(remaining) ? 1 : 0) != ZIP_OK) {
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
