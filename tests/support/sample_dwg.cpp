#include "tests/support/sample_dwg.h"

#include <cstdlib>
#include <sstream>

#include "runtime/files.h"
#include "tests/support/dwg_builder.h"

std::string SampleDrawingFolder() {
    const char* dir = std::getenv("KORVEX_SAMPLE_DWG");
    if (!dir || !*dir) return std::string();
    std::string path(dir);
    if (path.back() != '\\') path += '\\';
    return PathExists(path + "MANIFEST.tsv") ? path : std::string();
}

std::vector<std::vector<std::string>> ReadManifestRows(const std::string& folder) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(ReadBytes(folder + "MANIFEST.tsv"));
    std::string line;
    std::getline(in, line); // column names
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::string> cells;
        std::istringstream fields(line);
        for (std::string cell; std::getline(fields, cell, '\t');)
            cells.push_back(cell);
        rows.push_back(cells);
    }
    return rows;
}
