#include "search/release_read_ahead.h"

#include "inspect/dwg_inspect.h"

// Slim locks and condition variables wait without a round trip to the
// system where events would need one for every hand-over.

ReleaseReadAhead::ReleaseReadAhead() {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

ReleaseReadAhead::~ReleaseReadAhead() {
    if (pending_) Finish();
    if (!thread_) return;
    AcquireSRWLockExclusive(&lock_);
    quit_ = true;
    ReleaseSRWLockExclusive(&lock_);
    WakeAllConditionVariable(&changed_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
}

void ReleaseReadAhead::Start(const std::string& path) {
    if (pending_) Finish();
    pending_ = true;
    path_ = path;
    if (!thread_) return; // no thread to be had: Finish reads it itself
    AcquireSRWLockExclusive(&lock_);
    asked_ = true;
    done_ = false;
    ReleaseSRWLockExclusive(&lock_);
    WakeAllConditionVariable(&changed_);
}

std::string ReleaseReadAhead::Finish() {
    pending_ = false;
    if (!thread_) return ReleaseTextOf(path_);
    AcquireSRWLockExclusive(&lock_);
    while (!done_)
        SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
    std::string text = std::move(text_);
    done_ = false;
    ReleaseSRWLockExclusive(&lock_);
    return text;
}

DWORD WINAPI ReleaseReadAhead::Run(void* param) {
    ReleaseReadAhead& self = *static_cast<ReleaseReadAhead*>(param);
    AcquireSRWLockExclusive(&self.lock_);
    for (;;) {
        while (!self.asked_ && !self.quit_)
            SleepConditionVariableSRW(&self.changed_, &self.lock_, INFINITE, 0);
        if (self.quit_) break;
        self.asked_ = false;
        // path_ does not change while a read is pending.
        const std::string& path = self.path_;
        ReleaseSRWLockExclusive(&self.lock_);
        std::string text = ReleaseTextOf(path);
        AcquireSRWLockExclusive(&self.lock_);
        self.text_ = std::move(text);
        self.done_ = true;
        WakeAllConditionVariable(&self.changed_);
    }
    ReleaseSRWLockExclusive(&self.lock_);
    return 0;
}
