#include "inspect/picture_scaling.h"

#include <algorithm>
#include <cstddef>

namespace {

// Weights are whole numbers out of kOne: a horizontal sum of them times a
// byte, weighted again vertically, still fits 32 bits (255 * 4096 * 4096).
constexpr uint32_t kShift = 12;
constexpr uint32_t kOne = 1u << kShift;

// The source pixels each target pixel covers along one axis, with weights
// that add up to exactly kOne, so that an even colour stays exactly itself.
struct Spans {
    std::vector<int> first, count;
    std::vector<uint32_t> weights; // count[i] of them for target i, in order
};

Spans SpansOf(int from, int to) {
    Spans spans;
    spans.first.resize(to);
    spans.count.resize(to);
    const double scale = static_cast<double>(from) / to;
    for (int i = 0; i < to; ++i) {
        double start = i * scale, end = (i + 1) * scale;
        int first = static_cast<int>(start);
        int last = std::min(from - 1, static_cast<int>(end - 1e-9));
        spans.first[i] = first;
        spans.count[i] = last - first + 1;
        uint32_t given = 0;
        for (int s = first; s <= last; ++s) {
            double covered = std::min(end, s + 1.0) - std::max(start, static_cast<double>(s));
            uint32_t weight =
                s == last ? kOne - given : static_cast<uint32_t>(covered / scale * kOne + 0.5);
            weight = std::min(weight, kOne - given);
            given += weight;
            spans.weights.push_back(weight);
        }
    }
    return spans;
}

} // namespace

std::vector<uint8_t> ScalePixelsByArea(const uint8_t* pixels, int width, int height, int toWidth,
                                       int toHeight) {
    const Spans columns = SpansOf(width, toWidth), rows = SpansOf(height, toHeight);
    // Down first, over whole rows of bytes at a time, into one row of sums
    // per target row; then across. Every sum is in fixed point.
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    std::vector<uint32_t> down(rowBytes);
    std::vector<uint8_t> result(static_cast<size_t>(toWidth) * toHeight * 4);
    const uint32_t* rowWeight = rows.weights.data();
    const uint32_t half = 1u << (2 * kShift - 1);
    for (int y = 0; y < toHeight; ++y) {
        std::fill(down.begin(), down.end(), 0u);
        for (int k = 0; k < rows.count[y]; ++k, ++rowWeight) {
            const uint8_t* in = pixels + static_cast<size_t>(rows.first[y] + k) * rowBytes;
            const uint32_t w = *rowWeight;
            uint32_t* sum = down.data();
            for (size_t i = 0; i < rowBytes; ++i)
                sum[i] += w * in[i];
        }
        uint8_t* out = &result[static_cast<size_t>(y) * toWidth * 4];
        const uint32_t* columnWeight = columns.weights.data();
        for (int x = 0; x < toWidth; ++x, out += 4) {
            const uint32_t* p = &down[static_cast<size_t>(columns.first[x]) * 4];
            uint32_t b = half, g = half, r = half;
            for (int k = 0; k < columns.count[x]; ++k, p += 4, ++columnWeight) {
                b += *columnWeight * p[0];
                g += *columnWeight * p[1];
                r += *columnWeight * p[2];
            }
            out[0] = static_cast<uint8_t>(b >> (2 * kShift));
            out[1] = static_cast<uint8_t>(g >> (2 * kShift));
            out[2] = static_cast<uint8_t>(r >> (2 * kShift));
        }
    }
    return result;
}
