// The sub-folders of a folder, read a slice at a time so that a folder of
// hundreds of thousands never holds up the thread that reads it. Free of
// window calls.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class SubFolderReader {
  public:
    explicit SubFolderReader(const std::string& folder);
    ~SubFolderReader();
    SubFolderReader(const SubFolderReader&) = delete;
    SubFolderReader& operator=(const SubFolderReader&) = delete;

    // Reads entries until the folder is done or `budget` milliseconds have
    // gone; true once it is done (also when it cannot be read).
    bool ReadSome(DWORD budget);
    // The names of the sub-folders read, in the order the tree shows them.
    std::vector<std::string> TakeSorted();

  private:
    HANDLE find_ = INVALID_HANDLE_VALUE;
    bool done_ = false;
    std::vector<std::string> names_;
};

// Whether the tree shows a folder's entry: a folder that is not hidden, and
// not "." or "..".
bool IsShownSubFolder(DWORD attributes, const wchar_t* name);

// Whether a folder has a sub-folder to show, looking at no more than
// `mostEntries` of its entries: a folder of a million files is not read in
// full to draw its "+", which is then shown, and taken away if opening the
// folder finds none.
bool MayHaveSubFolder(const std::string& folder, int mostEntries);

// The order of the tree: names compared byte by byte without regard to the
// case of A to Z, ties broken by the bytes themselves.
bool FolderNameBefore(const std::string& a, const std::string& b);
// Whether two names are the same in that order: equal but for the case of
// A to Z.
bool SameFolderName(const std::string& a, const std::string& b);
