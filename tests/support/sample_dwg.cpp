#include "tests/support/sample_dwg.h"

#include <cstdlib>

#include "runtime/files.h"

std::string SampleDrawingFolder() {
    const char* dir = std::getenv("KORVEX_SAMPLE_DWG");
    if (!dir || !*dir) return std::string();
    std::string path(dir);
    if (path.back() != '\\') path += '\\';
    return PathExists(path + "MANIFEST.tsv") ? path : std::string();
}
