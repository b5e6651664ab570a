// The file-fact texts that need no system calls.
#include "runtime/file_facts.h"

#include "runtime/strings.h"

std::string FileNamePart(const std::string& path) {
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderPart(const std::string& path) {
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string WithTrailingBackslash(const std::string& path) {
    return !path.empty() && path.back() == '\\' ? path : path + '\\';
}

std::string KbText(uint64_t bytes) {
    return GroupedDigits(bytes / 1024) + " KB";
}

std::string AttributeLetters(uint32_t attributes) {
    static const struct {
        uint32_t bit;
        char letter;
    } order[] = {{0x1, 'R'}, {0x2, 'H'}, {0x4, 'S'}, {0x10, 'D'}, {0x20, 'A'}, {0x800, 'C'}};
    std::string letters;
    for (const auto& a : order)
        if (attributes & a.bit) letters += a.letter;
    return letters;
}
