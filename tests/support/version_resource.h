// The version resource of an executable, as Windows shows it in a file's
// properties.
#pragma once
#include <string>

struct VersionResource {
    bool found = false;
    std::string fileVersion, productVersion; // the texts, "1.95"
    unsigned numbers[4] = {};                // the fixed file version, 1, 95, 0, 0
};

VersionResource ReadVersionResource(const std::string& exePath);
