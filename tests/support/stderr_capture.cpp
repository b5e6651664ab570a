#include "tests/support/stderr_capture.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "runtime/files.h"
#include "tests/support/dwg_builder.h"

StderrCapture::StderrCapture() {
    static unsigned counter = 0;
    file_ = TempFolder() + "kvx_stderr_" + std::to_string(GetTickCount()) + "_" +
            std::to_string(++counter) + ".txt";
    std::fflush(stderr);
    saved_ = _dup(2);
    int fd = _open(file_.c_str(), _O_CREAT | _O_TRUNC | _O_WRONLY | _O_BINARY, 0666);
    _dup2(fd, 2);
    _close(fd);
}

StderrCapture::~StderrCapture() {
    finish();
}

std::string StderrCapture::finish() {
    if (saved_ < 0) return std::string();
    std::fflush(stderr);
    _dup2(saved_, 2);
    _close(saved_);
    saved_ = -1;
    std::string text = ReadBytes(file_);
    DeleteFileA(file_.c_str());
    return text;
}
