#include "inspect/drawing_read_ahead.h"

// Slim locks and condition variables hand reads over without a trip to the
// system's server, where events would need one for every hand-over.

DrawingReadAhead::DrawingReadAhead(bool withPreview, size_t ahead, bool withProperties,
                                   Reader reader)
    : withPreview_(withPreview), withProperties_(withProperties), ahead_(ahead ? ahead : 1),
      reader_(std::move(reader)) {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

DrawingReadAhead::~DrawingReadAhead() {
    if (!thread_) return;
    AcquireSRWLockExclusive(&lock_);
    quit_ = true;
    ReleaseSRWLockExclusive(&lock_);
    WakeAllConditionVariable(&changed_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
}

void DrawingReadAhead::Ask(const std::string& path) {
    ++asked_;
    AcquireSRWLockExclusive(&lock_);
    paths_.push_back(path);
    ReleaseSRWLockExclusive(&lock_);
    WakeAllConditionVariable(&changed_);
}

void DrawingReadAhead::AskEach(std::function<bool(std::string& path)> next) {
    asked_ = static_cast<size_t>(-1); // as many as next gives
    AcquireSRWLockExclusive(&lock_);
    next_ = std::move(next);
    ReleaseSRWLockExclusive(&lock_);
    WakeAllConditionVariable(&changed_);
}

bool DrawingReadAhead::TakeNext(std::string& path, DrawingRead& read) {
    if (!pending()) return false;
    if (!thread_) {
        // No thread to be had: the paths are read here, as they are taken.
        AcquireSRWLockExclusive(&lock_);
        bool any = NextPath(path);
        ReleaseSRWLockExclusive(&lock_);
        if (!any) {
            taken_ = asked_;
            return false;
        }
        ++taken_;
        read = Read(path);
        return true;
    }
    AcquireSRWLockExclusive(&lock_);
    while (done_.empty() && (reading_ || !paths_.empty() || next_))
        SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
    bool any = !done_.empty();
    if (any) {
        path = std::move(done_.front().path);
        read = std::move(done_.front().read);
        done_.pop_front();
    }
    ReleaseSRWLockExclusive(&lock_);
    WakeAllConditionVariable(&changed_); // room for another read
    if (any)
        ++taken_;
    else
        taken_ = asked_;
    return any;
}

bool DrawingReadAhead::TakeFor(const std::string& path, DrawingRead& read) {
    auto kept = passed_.find(path);
    if (kept != passed_.end()) {
        read = std::move(kept->second);
        passed_.erase(kept);
        return true;
    }
    std::string next;
    DrawingRead got;
    while (TakeNext(next, got)) {
        if (next == path) {
            read = std::move(got);
            return true;
        }
        passed_[next] = std::move(got);
    }
    return false;
}

bool DrawingReadAhead::NextPath(std::string& path) {
    if (!paths_.empty()) {
        path = std::move(paths_.front());
        paths_.pop_front();
        return true;
    }
    if (!next_) return false;
    // The paths' source may take its time (a folder's enumeration): the
    // lock is not held meanwhile, and reading_ says a path may be coming.
    // Only this thread calls it; the caller set it once, before.
    reading_ = true;
    ReleaseSRWLockExclusive(&lock_);
    bool any = next_(path);
    AcquireSRWLockExclusive(&lock_);
    reading_ = false;
    if (!any) next_ = nullptr;
    return any;
}

DrawingRead DrawingReadAhead::Read(const std::string& path) const {
    return reader_ ? reader_(path) : ReadDrawingAlone(path, withPreview_, withProperties_);
}

DWORD WINAPI DrawingReadAhead::Run(void* param) {
    DrawingReadAhead& self = *static_cast<DrawingReadAhead*>(param);
    AcquireSRWLockExclusive(&self.lock_);
    for (;;) {
        while (!self.quit_ &&
               (self.done_.size() >= self.ahead_ || (self.paths_.empty() && !self.next_)))
            SleepConditionVariableSRW(&self.changed_, &self.lock_, INFINITE, 0);
        if (self.quit_) break;
        std::string path;
        if (!self.NextPath(path)) {
            WakeAllConditionVariable(&self.changed_); // nothing more to come
            continue;
        }
        self.reading_ = true;
        ReleaseSRWLockExclusive(&self.lock_);
        DrawingRead read = self.Read(path);
        AcquireSRWLockExclusive(&self.lock_);
        self.reading_ = false;
        self.done_.push_back({std::move(path), std::move(read)});
        WakeAllConditionVariable(&self.changed_);
    }
    ReleaseSRWLockExclusive(&self.lock_);
    return 0;
}
