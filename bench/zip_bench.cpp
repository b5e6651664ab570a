// Measures the zip writer: about 200 MB of drawings packed at level 6, three
// times, timed beside three runs of Info-ZIP's zip -6 on the same files,
// with the sizes of both archives and the peak memory of this process.
//
//   zip_bench [folder of drawings] [megabytes]
//
// The drawings are the shared real ones (KORVEX_SAMPLE_DWG) unless a folder is
// given; without either, made-up drawings are used. They are copied round
// and round until the megabytes are reached, and one copy is made far bigger
// than the rest, so that the peak memory shows whether it follows the
// largest file.
#include <windows.h>
// The memory counters from kernel32 itself.
#define PSAPI_VERSION 2
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "export/zip_writer.h"
#include "runtime/handles.h"
#include "runtime/win_helpers.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/sample_dwg.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/unix_command.h"

static std::vector<std::string> DrawingsIn(const std::string& folder) {
    std::vector<std::string> bodies;
    WIN32_FIND_DATAA data;
    FindHandle find(FindFirstFileA((folder + "*.dwg").c_str(), &data));
    if (find.valid()) {
        do
            bodies.push_back(ReadBytes(folder + data.cFileName));
        while (FindNextFileA(find.get(), &data));
    }
    return bodies;
}

static std::vector<std::string> MadeUpDrawings() {
    std::vector<std::string> bodies;
    for (int i = 1; i <= 8; ++i) {
        std::string body = MakeDrawingWithoutImages("AC1018", 64);
        uint32_t x = 2463534242u + i;
        while (body.size() < static_cast<size_t>(i) * 100000) {
            x ^= x << 13, x ^= x >> 17, x ^= x << 5;
            body += "LINE 0 8 " + std::to_string(x % 1000) + " 10 " + std::to_string(x % 977) +
                    ".25 20 " + std::to_string(x % 331) + ".5\n";
        }
        bodies.push_back(body);
    }
    return bodies;
}

static unsigned long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return static_cast<unsigned long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

static PROCESS_MEMORY_COUNTERS Memory() {
    PROCESS_MEMORY_COUNTERS counters = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

int main(int argc, char** argv) {
    std::string source = argc > 1 ? std::string(argv[1]) : SampleDrawingFolder();
    if (!source.empty() && source.back() != '\\') source += '\\';
    unsigned long long target = (argc > 2 ? std::atoll(argv[2]) : 200) << 20;
    std::vector<std::string> bodies = source.empty() ? MadeUpDrawings() : DrawingsIn(source);
    if (bodies.empty()) {
        std::printf("no drawings in %s\n", source.c_str());
        return 1;
    }

    ScratchFolder drawings, out;
    std::vector<std::string> names;
    unsigned long long total = 0, largest = 0;
    for (size_t i = 0; total < target; ++i) {
        std::string name = "drawing" + std::to_string(i) + ".dwg";
        FileStream file(drawings.file(name).c_str(), "wb");
        // The first is a fifth of the whole, written piece by piece so that
        // this process never holds it: the largest file by far.
        unsigned long long size = 0;
        for (size_t piece = i; size == 0 || (i == 0 && size < target / 5); ++piece) {
            const std::string& body = bodies[piece % bodies.size()];
            std::fwrite(body.data(), 1, body.size(), file.get());
            size += body.size();
        }
        names.push_back(name);
        total += size;
        if (size > largest) largest = size;
    }
    std::printf("%zu drawings, %.1f MB, the largest %.1f MB\n", names.size(), total / 1048576.0,
                largest / 1048576.0);

    std::printf("machine load before: %s\n", MachineLoad().c_str());
    PROCESS_MEMORY_COUNTERS before = Memory();
    // Between blocks the run pumps messages and looks for a stop, as the zip
    // options dialog's run does.
    ZipBlockStep step = [](uint64_t, uint64_t) {
        PumpMessages();
        return true;
    };
    RunFigures ours = Repeated([&] {
        zipFile zip = CreateZipArchive(out.file("korvex.zip"));
        for (const std::string& name : names)
            AddFileToZip(zip, drawings.file(name), name, step);
        CloseZipArchive(zip);
    });
    PROCESS_MEMORY_COUNTERS after = Memory();

    // Info-ZIP without its extra fields (-X): Korvex writes only a 9-byte
    // timestamp field an entry. Timed inside its shell, so that starting the
    // shell is not counted.
    std::string list;
    for (const std::string& name : names)
        list += " " + name;
    std::vector<double> runs;
    for (int run = 0; run < 3; ++run) {
        std::string archive = ShellQuote(UnixPath(out.file("infozip.zip")));
        UnixRun infoZip =
            RunUnixCommand("cd " + ShellQuote(UnixPath(drawings.path())) + " && rm -f " + archive +
                           " && s=$(date +%s%N) && zip -6 -q -X " + archive + list +
                           " && e=$(date +%s%N) && echo $(( (e - s) / 1000000 ))");
        if (infoZip.status != 0) {
            std::printf("zip -6 failed: %s\n", infoZip.output.c_str());
            return 1;
        }
        runs.push_back(std::atof(infoZip.output.c_str()) / 1000.0);
    }
    std::sort(runs.begin(), runs.end());
    RunFigures theirs = {runs.front(), runs[1]};
    unsigned long long ourSize = FileSize(out.file("korvex.zip"));
    unsigned long long theirSize = FileSize(out.file("infozip.zip"));

    std::printf("Korvex level 6:  %s, %llu bytes\n", FiguresText(ours).c_str(), ourSize);
    std::printf("Info-ZIP zip -6: %s, %llu bytes\n", FiguresText(theirs).c_str(), theirSize);
    std::printf("time %.2fx (min), %.2fx (median); target at most 1.10x\n", ours.min / theirs.min,
                ours.median / theirs.median);
    std::printf("size %+.2f%%; target within 1%%\n",
                100.0 * (static_cast<double>(ourSize) - theirSize) / theirSize);
    std::printf("peak memory: working set %.1f MB (%.1f MB before the runs), private %.1f MB "
                "(%.1f MB before); largest file %.1f MB\n",
                after.PeakWorkingSetSize / 1048576.0, before.PeakWorkingSetSize / 1048576.0,
                after.PeakPagefileUsage / 1048576.0, before.PeakPagefileUsage / 1048576.0,
                largest / 1048576.0);
    std::printf("machine load: %s\n", MachineLoad().c_str());
    return 0;
}
