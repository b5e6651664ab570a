// The benchmarks' clock and figures: seconds between two readings of the
// performance counter, the least and the median of repeated runs, and the
// machine's load while they ran.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

inline LARGE_INTEGER Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t;
}

inline double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

// Seconds a call takes.
template <typename F> double TimeOf(F run) {
    LARGE_INTEGER start = Now();
    run();
    return Seconds(start, Now());
}

struct RunFigures {
    double min = 0;
    double median = 0;
};

// The least and the median of some runs' times (at least one).
inline RunFigures FiguresOf(std::vector<double> seconds) {
    std::sort(seconds.begin(), seconds.end());
    return {seconds.front(), seconds[seconds.size() / 2]};
}

// Runs `run` `times` times (3 unless told) and keeps its least and median time.
template <typename F> RunFigures Repeated(F run, int times = 3) {
    std::vector<double> seconds;
    for (int i = 0; i < times; ++i)
        seconds.push_back(TimeOf(run));
    return FiguresOf(seconds);
}

// The system's load averages over 1, 5 and 15 minutes where the system tells
// them (under Wine, from the host's /proc); "unknown" elsewhere.
inline std::string MachineLoad() {
    double one = 0, five = 0, fifteen = 0;
    int found = 0;
    if (std::FILE* f = std::fopen("Z:\\proc\\loadavg", "r")) {
        found = std::fscanf(f, "%lf %lf %lf", &one, &five, &fifteen);
        std::fclose(f);
    }
    if (found != 3) return "unknown";
    char text[64];
    std::snprintf(text, sizeof text, "%.2f %.2f %.2f", one, five, fifteen);
    return text;
}

// "min 1.234 s, median 1.250 s"
inline std::string FiguresText(const RunFigures& f) {
    char text[64];
    std::snprintf(text, sizeof text, "min %.3f s, median %.3f s", f.min, f.median);
    return text;
}
