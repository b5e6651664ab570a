// Folders of drawings for the search tests, and a watch on the walk.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Writes a small drawing (release "2000") at path, making missing folders.
void MakeDrawingFile(const std::string& path);
// Makes a folder and the folders above it.
void MakeFolders(const std::string& folder);

// Records every entry the walk reaches while it lives; act() runs for each
// entry before the walk pumps its messages.
class WalkWatch {
  public:
    explicit WalkWatch(std::function<void(const std::string& path)> act = nullptr);
    ~WalkWatch();
    WalkWatch(const WalkWatch&) = delete;
    WalkWatch& operator=(const WalkWatch&) = delete;
    const std::vector<std::string>& entries() const { return entries_; }

  private:
    static void Observe(const std::string& path);
    static WalkWatch* current_;
    std::function<void(const std::string&)> act_;
    std::vector<std::string> entries_;
};

// Whether a path lies in folder (given with a trailing backslash).
bool Inside(const std::string& path, const std::string& folder);
// The last part of a path is "." or "..".
bool IsDots(const std::string& path);
