#include "inspect/picture_scaling.h"

#include <algorithm>

namespace {

// The source pixels one target pixel covers along one axis, with weights
// that add up to 1.
struct Span {
    int first = 0;
    std::vector<double> weights;
};

std::vector<Span> Spans(int from, int to) {
    std::vector<Span> spans(to);
    const double scale = static_cast<double>(from) / to;
    for (int i = 0; i < to; ++i) {
        double start = i * scale, end = (i + 1) * scale;
        int first = static_cast<int>(start);
        int last = std::min(from - 1, static_cast<int>(end - 1e-9));
        spans[i].first = first;
        for (int s = first; s <= last; ++s) {
            double covered = std::min(end, s + 1.0) - std::max(start, static_cast<double>(s));
            spans[i].weights.push_back(covered / scale);
        }
    }
    return spans;
}

} // namespace

std::vector<uint8_t> ScalePixelsByArea(const uint8_t* pixels, int width, int height, int toWidth,
                                       int toHeight) {
    std::vector<Span> columns = Spans(width, toWidth), rows = Spans(height, toHeight);
    // Across first, into one row of sums per source row, then down.
    std::vector<double> across(static_cast<size_t>(height) * toWidth * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < toWidth; ++x) {
            const Span& span = columns[x];
            double* out = &across[(static_cast<size_t>(y) * toWidth + x) * 3];
            for (size_t k = 0; k < span.weights.size(); ++k) {
                const uint8_t* p = pixels + (static_cast<size_t>(y) * width + span.first + k) * 4;
                for (int c = 0; c < 3; ++c)
                    out[c] += span.weights[k] * p[c];
            }
        }
    std::vector<uint8_t> result(static_cast<size_t>(toWidth) * toHeight * 4);
    for (int y = 0; y < toHeight; ++y)
        for (int x = 0; x < toWidth; ++x) {
            const Span& span = rows[y];
            double sum[3] = {};
            for (size_t k = 0; k < span.weights.size(); ++k) {
                const double* p = &across[((span.first + k) * toWidth + x) * 3];
                for (int c = 0; c < 3; ++c)
                    sum[c] += span.weights[k] * p[c];
            }
            uint8_t* out = &result[(static_cast<size_t>(y) * toWidth + x) * 4];
            for (int c = 0; c < 3; ++c)
                out[c] = static_cast<uint8_t>(std::min(255.0, sum[c] + 0.5));
        }
    return result;
}
