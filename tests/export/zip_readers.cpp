#include "tests/export/zip_readers.h"

#include "runtime/dir_entries.h"
#include "runtime/handles.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/unix_command.h"

// argv: archive, then name, source, year, month, day, hour, minute, second per entry.
static const char kZipfileCheck[] = R"(import sys, zipfile, zlib
archive, rest = sys.argv[1], sys.argv[2:]
want = [rest[i:i + 8] for i in range(0, len(rest), 8)]
with zipfile.ZipFile(archive) as z:
    infos = z.infolist()
    names = [i.filename for i in infos]
    if names != [w[0] for w in want]:
        sys.exit('names %r, expected %r' % (names, [w[0] for w in want]))
    for info, (name, source, *t) in zip(infos, want):
        t = [int(v) for v in t]
        t[5] -= t[5] % 2
        if info.date_time != tuple(t):
            sys.exit('%s: time %r, expected %r' % (name, info.date_time, tuple(t)))
        if info.compress_type != zipfile.ZIP_DEFLATED:
            sys.exit('%s: not deflated' % name)
        crc = 0
        with z.open(info) as entry, open(source, 'rb') as f:
            while True:
                a, b = entry.read(1 << 20), f.read(1 << 20)
                if a != b:
                    sys.exit('%s: contents differ from the file' % name)
                if not a:
                    break
                crc = zlib.crc32(a, crc)
        if crc != info.CRC:
            sys.exit('%s: stored CRC %08x, contents %08x' % (name, info.CRC, crc))
print('zipfile ok')
)";

SYSTEMTIME LocalWriteTime(const std::string& path) {
    SYSTEMTIME utc = {}, local = {};
    DirEntry entry;
    if (!FindFirstEntry(path, entry)) return local;
    FILETIME written = {static_cast<DWORD>(entry.lastWrite),
                        static_cast<DWORD>(entry.lastWrite >> 32)};
    // The offset of the file's own date, summer or winter, whatever today's is.
    if (FileTimeToSystemTime(&written, &utc))
        SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    return local;
}

ExpectedEntry Expect(const std::string& name, const std::string& source) {
    return {name, source, LocalWriteTime(source)};
}

std::string CheckArchive(const std::string& archive, const std::vector<ExpectedEntry>& entries) {
    ScratchFolder scripts;
    WriteBytes(scripts.file("check.py"), kZipfileCheck);
    std::string zip = ShellQuote(UnixPath(archive));
    std::string python = "python3 " + ShellQuote(UnixPath(scripts.file("check.py"))) + " " + zip;
    for (const ExpectedEntry& e : entries) {
        const SYSTEMTIME& t = e.localTime;
        python += " " + ShellQuote(e.name) + " " + ShellQuote(UnixPath(e.source));
        for (int v : {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond})
            python += " " + std::to_string(v);
    }
    // unzip calls an archive without entries empty, with status 1; it is still valid.
    std::string unzip = "unzip -tqq " + zip;
    if (entries.empty()) unzip = "unzip -tqq " + zip + " | grep -q 'zipfile is empty'";
    // Side by side: each reader inflates every entry, which takes a while for big ones.
    std::vector<UnixRun> runs = RunUnixCommands({unzip, "7z t -bd " + zip, python});
    const char* readers[] = {"unzip -t: ", "7z t: ", "zipfile: "};
    for (size_t i = 0; i < runs.size(); ++i)
        if (runs[i].status != 0) return readers[i] + runs[i].output;
    return std::string();
}
