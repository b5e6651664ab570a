#include "tests/export/zip_readers.h"

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

static const char kTimesScript[] = R"(import sys, zipfile, struct, datetime
def utc(seconds):
    t = datetime.datetime(1970, 1, 1) + datetime.timedelta(seconds=seconds)
    return t.strftime('%Y-%m-%d %H:%M:%S')
def fields(extra):
    found, at = {}, 0
    while at + 4 <= len(extra):
        tag, size = struct.unpack_from('<HH', extra, at)
        found[tag] = extra[at + 4:at + 4 + size]
        at += 4 + size
    return found
def ut(extra):
    f = fields(extra).get(0x5455)
    return utc(struct.unpack_from('<I', f, 1)[0]) if f and f[0] & 1 else '-'
def ntfs(extra):
    f = fields(extra).get(0x000a)
    if not f:
        return '-'
    return utc(struct.unpack_from('<Q', f, 8)[0] // 10**7 - 11644473600)
with zipfile.ZipFile(sys.argv[1]) as z, open(sys.argv[1], 'rb') as raw:
    for i in z.infolist():
        raw.seek(i.header_offset)
        head = raw.read(30)
        n, m = struct.unpack_from('<HH', head, 26)
        local = raw.read(n + m)[n:]
        print('|'.join([i.filename, '%04d-%02d-%02d %02d:%02d:%02d' % i.date_time,
                        ut(local), ut(i.extra), ntfs(i.extra)]))
)";

std::string ZipfileEntryTimes(const std::string& archive) {
    ScratchFolder scripts;
    WriteBytes(scripts.file("times.py"), kTimesScript);
    UnixRun run = RunUnixCommand("python3 " + ShellQuote(UnixPath(scripts.file("times.py"))) + " " +
                                 ShellQuote(UnixPath(archive)));
    return run.output;
}

std::string ZipinfoVerbose(const std::string& archive) {
    return RunUnixCommand("TZ=UTC unzip -Z -v " + ShellQuote(UnixPath(archive))).output;
}

std::string SevenZipListing(const std::string& archive) {
    return RunUnixCommand("TZ=UTC 7z l -slt " + ShellQuote(UnixPath(archive))).output;
}

SYSTEMTIME LocalWriteTime(const std::string& path) {
    SYSTEMTIME utc = {}, local = {};
    WIN32_FIND_DATAA data;
    // The offset of the file's own date, summer or winter, whatever today's is.
    if (FindFirstEntry(path, data) && FileTimeToSystemTime(&data.ftLastWriteTime, &utc))
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
