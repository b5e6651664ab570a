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

// The load of the machine the figures are taken on: the load averages over
// 1, 5 and 15 minutes where the system offers them (Wine shows the host's
// /proc on Z:), else the share of time the processors are busy during half a
// second.
inline std::string MachineLoad() {
    double one = 0, five = 0, fifteen = 0;
    int found = 0;
    if (std::FILE* f = std::fopen("Z:\\proc\\loadavg", "r")) {
        found = std::fscanf(f, "%lf %lf %lf", &one, &five, &fifteen);
        std::fclose(f);
    }
    char text[64];
    if (found == 3) {
        std::snprintf(text, sizeof text, "%.2f %.2f %.2f", one, five, fifteen);
        return text;
    }
    auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    FILETIME idle1, kernel1, user1, idle2, kernel2, user2;
    GetSystemTimes(&idle1, &kernel1, &user1);
    Sleep(500);
    GetSystemTimes(&idle2, &kernel2, &user2);
    unsigned long long idle = ticks(idle2) - ticks(idle1);
    unsigned long long total = ticks(kernel2) - ticks(kernel1) + ticks(user2) - ticks(user1);
    std::snprintf(text, sizeof text, "processors %.0f%% busy",
                  total ? 100.0 * (total - idle) / total : 0.0);
    return text;
}

// "min 1.234 s, median 1.250 s"
inline std::string FiguresText(const RunFigures& f) {
    char text[64];
    std::snprintf(text, sizeof text, "min %.3f s, median %.3f s", f.min, f.median);
    return text;
}
