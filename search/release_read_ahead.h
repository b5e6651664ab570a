// Reads drawings' release texts on a thread of its own, one drawing ahead of
// its caller: opening a file costs as much as enumerating a whole folder
// under some systems, and the walk's own work between two drawings hides it.
#pragma once
#include <windows.h>

#include <string>

class ReleaseReadAhead {
  public:
    ReleaseReadAhead();
    ~ReleaseReadAhead(); // waits for a read under way and drops its text
    ReleaseReadAhead(const ReleaseReadAhead&) = delete;
    ReleaseReadAhead& operator=(const ReleaseReadAhead&) = delete;

    // Starts reading the release text of path. A read already under way is
    // finished first and its text dropped.
    void Start(const std::string& path);
    // Whether a read was started and not yet finished.
    bool pending() const { return pending_; }
    // The path of the pending read.
    const std::string& path() const { return path_; }
    // Waits for the pending read and gives its release text, as
    // ReleaseTextOf gives it.
    std::string Finish();

  private:
    static DWORD WINAPI Run(void* self);

    SRWLOCK lock_ = SRWLOCK_INIT;
    CONDITION_VARIABLE changed_ = CONDITION_VARIABLE_INIT;
    HANDLE thread_ = nullptr;
    bool pending_ = false; // the caller's view: started, not finished
    bool asked_ = false;   // under lock_: a path waits for the thread
    bool done_ = false;    // under lock_: text_ holds the answer
    bool quit_ = false;    // under lock_
    std::string path_;
    std::string text_;
};
