#include "inspect/thumbnail_maker.h"

#include "inspect/dwg_inspect.h"

ThumbnailMaker::ThumbnailMaker(int width, int height, COLORREF background, bool swapBlackWhite,
                               HWND notify, UINT message)
    : width_(width), height_(height), background_(background), swap_(swapBlackWhite),
      notify_(notify), message_(message) {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

ThumbnailMaker::~ThumbnailMaker() {
    if (!thread_) return;
    AcquireSRWLockExclusive(&lock_);
    quit_ = true;
    ReleaseSRWLockExclusive(&lock_);
    WakeAllConditionVariable(&changed_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
}

void ThumbnailMaker::Want(std::vector<ThumbnailRequest> wanted) {
    AcquireSRWLockExclusive(&lock_);
    wanted_.clear();
    // A row being made now, or made and not yet taken, is not made twice:
    // the caller still waits for it, and each make opens the drawing.
    auto made = [this](LPARAM row) {
        if (making_ && row == makingRow_) return true;
        for (const MadeThumbnail& cell : made_)
            if (cell.row == row) return true;
        return false;
    };
    for (ThumbnailRequest& request : wanted)
        if (!made(request.row)) wanted_.push_back(std::move(request));
    ReleaseSRWLockExclusive(&lock_);
    WakeAllConditionVariable(&changed_);
    // Without a thread the caller's own turn makes them, one screen at most.
    if (!thread_) {
        for (const ThumbnailRequest& request : wanted_)
            made_.push_back(Make(request));
        wanted_.clear();
        if (!made_.empty()) PostMessageA(notify_, message_, 0, 0);
    }
}

bool ThumbnailMaker::Take(MadeThumbnail& made) {
    AcquireSRWLockExclusive(&lock_);
    bool any = !made_.empty();
    if (any) {
        made = std::move(made_.front());
        made_.pop_front();
    } else {
        posted_ = false; // the next cell made is told of again
    }
    ReleaseSRWLockExclusive(&lock_);
    return any;
}

MadeThumbnail ThumbnailMaker::Make(const ThumbnailRequest& request) const {
    MadeThumbnail made;
    made.row = request.row;
    made.kind = ThumbnailCellOf(ReadDrawingAlone(request.path, true), swap_, width_, height_,
                                background_, made.cell);
    return made;
}

DWORD WINAPI ThumbnailMaker::Run(void* param) {
    ThumbnailMaker& self = *static_cast<ThumbnailMaker*>(param);
    AcquireSRWLockExclusive(&self.lock_);
    for (;;) {
        while (!self.quit_ && self.wanted_.empty())
            SleepConditionVariableSRW(&self.changed_, &self.lock_, INFINITE, 0);
        if (self.quit_) break;
        ThumbnailRequest request = std::move(self.wanted_.front());
        self.wanted_.pop_front();
        self.making_ = true;
        self.makingRow_ = request.row;
        ReleaseSRWLockExclusive(&self.lock_);
        MadeThumbnail made = self.Make(request);
        AcquireSRWLockExclusive(&self.lock_);
        self.making_ = false;
        self.made_.push_back(std::move(made));
        if (!self.posted_) self.posted_ = PostMessageA(self.notify_, self.message_, 0, 0) != 0;
    }
    ReleaseSRWLockExclusive(&self.lock_);
    return 0;
}
