// Captures what the process writes to its standard error stream.
#pragma once
#include <string>

class StderrCapture {
  public:
    StderrCapture();
    ~StderrCapture();
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;
    // Stops capturing and returns the text written meanwhile.
    std::string finish();

  private:
    std::string file_;
    int saved_ = -1;
};
