// Reads drawings on a thread of its own, a few ahead of the caller that
// takes them. Opening a file costs about as much under some systems as the
// caller's own work on a drawing, so the two go on side by side.
#pragma once
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <unordered_map>

#include "inspect/dwg_inspect.h"

class DrawingReadAhead {
  public:
    // How a path is read: by default the drawing itself, with or without
    // its preview and its properties; a caller that may know the answer
    // already gives its own.
    using Reader = std::function<DrawingRead(const std::string& path)>;
    // Reads with or without the preview and the properties, at most `ahead`
    // drawings before they are taken.
    DrawingReadAhead(bool withPreview, size_t ahead, bool withProperties = false,
                     Reader reader = nullptr);
    ~DrawingReadAhead(); // stops the thread; reads not taken are dropped
    DrawingReadAhead(const DrawingReadAhead&) = delete;
    DrawingReadAhead& operator=(const DrawingReadAhead&) = delete;

    // Asks for the drawing at path to be read.
    void Ask(const std::string& path);
    // Asks, on the reading thread, for every path next gives until it
    // returns false; the paths come after those already asked.
    void AskEach(std::function<bool(std::string& path)> next);
    // Whether a path was asked for and not yet taken.
    bool pending() const { return asked_ > taken_; }
    // The next read in the order asked, waiting for it; false when no path
    // is left to come.
    bool TakeNext(std::string& path, DrawingRead& read);
    // The read of one path, waiting for it: reads that come before it are
    // kept for their own turn, so that a caller going through the paths in
    // another order (a second listing of a folder that a file server gives
    // in another order) opens no drawing twice. False when it has none for
    // the path. Not to be mixed with TakeNext.
    bool TakeFor(const std::string& path, DrawingRead& read);

  private:
    struct Done {
        std::string path;
        DrawingRead read;
    };
    static DWORD WINAPI Run(void* self);
    bool NextPath(std::string& path); // on the thread, lock_ held
    DrawingRead Read(const std::string& path) const;

    const bool withPreview_;
    const bool withProperties_;
    const size_t ahead_;
    const Reader reader_;
    HANDLE thread_ = nullptr;
    size_t asked_ = 0, taken_ = 0;                        // the caller's counts
    std::unordered_map<std::string, DrawingRead> passed_; // the caller's, by TakeFor
    // Under lock_:
    SRWLOCK lock_ = SRWLOCK_INIT;
    CONDITION_VARIABLE changed_ = CONDITION_VARIABLE_INIT;
    std::deque<std::string> paths_; // asked, not yet read
    std::function<bool(std::string&)> next_;
    bool reading_ = false; // the thread is reading a path it took
    std::deque<Done> done_;
    bool quit_ = false;
};
