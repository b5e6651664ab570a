// Small owners for system handles, so that every exit path releases them.
#pragma once
#include <windows.h>
#include <cstdio>

#include "runtime/long_paths.h"

class FindHandle {
  public:
    explicit FindHandle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
    ~FindHandle() { reset(); }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }
    void reset(HANDLE h = INVALID_HANDLE_VALUE) {
        if (valid()) FindClose(h_);
        h_ = h;
    }

  private:
    HANDLE h_;
};

class FileStream {
  public:
    FileStream(const char* path, const char* mode) : f_(OpenFileStream(path, mode)) {}
    ~FileStream() { close(); }
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;
    explicit operator bool() const { return f_ != nullptr; }
    FILE* get() const { return f_; }
    void close() {
        if (f_) std::fclose(f_);
        f_ = nullptr;
    }

  private:
    FILE* f_;
};

// A GDI object deleted when the owner goes.
template <typename T> class GdiObject {
  public:
    explicit GdiObject(T h = nullptr) : h_(h) {}
    ~GdiObject() { reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    T get() const { return h_; }
    T release() {
        T h = h_;
        h_ = nullptr;
        return h;
    }
    void reset(T h = nullptr) {
        if (h_) DeleteObject(h_);
        h_ = h;
    }

  private:
    T h_;
};

// A memory device context, with the object it had selected put back on exit.
class MemoryDC {
  public:
    explicit MemoryDC(HDC compatible = nullptr) : dc_(CreateCompatibleDC(compatible)) {}
    ~MemoryDC() {
        if (old_) SelectObject(dc_, old_);
        if (dc_) DeleteDC(dc_);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC get() const { return dc_; }
    void select(HGDIOBJ obj) {
        HGDIOBJ prev = SelectObject(dc_, obj);
        if (!old_) old_ = prev;
    }

  private:
    HDC dc_;
    HGDIOBJ old_ = nullptr;
};

// The screen's (or a window's) device context for the owner's lifetime.
class WindowDC {
  public:
    explicit WindowDC(HWND wnd = nullptr) : wnd_(wnd), dc_(GetDC(wnd)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(wnd_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }

  private:
    HWND wnd_;
    HDC dc_;
};
