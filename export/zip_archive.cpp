#include "export/zip_archive.h"

#include <windows.h>

#include <zip.h>
#include <zlib.h>

#include "runtime/handles.h"

// The entry date minizip records: the file's last-write time in local time.
static zip_fileinfo EntryInfo(const std::string& path) {
    zip_fileinfo info = {};
    WIN32_FILE_ATTRIBUTE_DATA data;
    FILETIME local;
    SYSTEMTIME st;
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) &&
        FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) &&
        FileTimeToSystemTime(&local, &st)) {
        info.tmz_date.tm_sec = st.wSecond;
        info.tmz_date.tm_min = st.wMinute;
        info.tmz_date.tm_hour = st.wHour;
        info.tmz_date.tm_mday = st.wDay;
        info.tmz_date.tm_mon = st.wMonth - 1;
        info.tmz_date.tm_year = st.wYear;
    }
    return info;
}

static bool AddFile(zipFile zip, const ZipSource& source) {
    FileStream in(source.path.c_str(), "rb");
    if (!in) return false;
    zip_fileinfo info = EntryInfo(source.path);
    if (zipOpenNewFileInZip(zip, source.entryName.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                            Z_DEFLATED, 6) != ZIP_OK)
        return false;
    bool ok = true;
    char buf[65536];
    for (size_t n; ok && (n = std::fread(buf, 1, sizeof buf, in.get())) > 0;)
        ok = zipWriteInFileInZip(zip, buf, static_cast<unsigned>(n)) == ZIP_OK;
    return zipCloseFileInZip(zip) == ZIP_OK && ok;
}

bool WriteZipArchive(const std::string& zipPath, const std::vector<ZipSource>& files) {
    zipFile zip = zipOpen(zipPath.c_str(), APPEND_STATUS_CREATE);
    if (!zip) return false;
    bool ok = true;
    for (const ZipSource& source : files) ok = AddFile(zip, source) && ok;
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}
