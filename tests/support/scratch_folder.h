// A fresh folder of a test's own, removed with its contents at the end.
#pragma once
#include <string>

class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    // Windows path with a trailing backslash.
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + name; }

  private:
    std::string path_;
};

// A folder path without its trailing backslash (the last character dropped).
inline std::string Unslashed(const std::string& path) {
    return path.substr(0, path.size() - 1);
}

// Deletes a folder and everything below it.
void RemoveTree(const std::string& folder);

// Makes a folder below root whose path, trailing backslash included, is
// `length` characters long (the byte-string calls take folders of up to
// MAX_PATH - 12); returns that path, or "" when it cannot be made.
std::string MakeFolderOfLength(const ScratchFolder& root, size_t length);
