#include "inspect/picture_scaling.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>
#endif

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

// Adds wa * a[i] + wb * b[i] to sum[i] for n bytes of two source rows.
void AddRowPair(uint32_t* sum, const uint8_t* a, uint32_t wa, const uint8_t* b, uint32_t wb,
                size_t n) {
    for (size_t i = 0; i < n; ++i)
        sum[i] += wa * a[i] + wb * b[i];
}

#if defined(__i386__) || defined(__x86_64__)
// The same, sixteen bytes at a time: each pair of 16-bit products is summed
// into one 32-bit lane. Weights are at most kOne, so the signed 16-bit
// operands and their sums cannot overflow.
__attribute__((target("sse2"))) void AddRowPairSse2(uint32_t* sum, const uint8_t* a, uint32_t wa,
                                                    const uint8_t* b, uint32_t wb, size_t n) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i weights = _mm_set1_epi32(static_cast<int>(wb << 16 | wa));
    size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        __m128i halves[2][2] = {{_mm_unpacklo_epi8(va, zero), _mm_unpacklo_epi8(vb, zero)},
                                {_mm_unpackhi_epi8(va, zero), _mm_unpackhi_epi8(vb, zero)}};
        for (int h = 0; h < 2; ++h) {
            __m128i pairs[2] = {_mm_unpacklo_epi16(halves[h][0], halves[h][1]),
                                _mm_unpackhi_epi16(halves[h][0], halves[h][1])};
            for (int q = 0; q < 2; ++q) {
                __m128i* out = reinterpret_cast<__m128i*>(sum + i + h * 8 + q * 4);
                _mm_storeu_si128(
                    out, _mm_add_epi32(_mm_loadu_si128(out), _mm_madd_epi16(pairs[q], weights)));
            }
        }
    }
    AddRowPair(sum + i, a + i, wa, b + i, wb, n - i);
}

bool HasSse2() {
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("sse2") != 0;
    }();
    return has;
}
#else
bool HasSse2() {
    return false;
}
void AddRowPairSse2(uint32_t* sum, const uint8_t* a, uint32_t wa, const uint8_t* b, uint32_t wb,
                    size_t n) {
    AddRowPair(sum, a, wa, b, wb, n);
}
#endif

// The down sums are narrowed to 16 bits (at most 255 * kOne >> kNarrow, which
// a signed 16-bit number holds) before going across.
constexpr uint32_t kNarrow = 5;
constexpr uint32_t kAcrossShift = 2 * kShift - kNarrow;

void Narrow(const uint32_t* down, uint16_t* narrow, size_t n) {
    for (size_t i = 0; i < n; ++i)
        narrow[i] = static_cast<uint16_t>(down[i] >> kNarrow);
}

// One target row across: each pixel the weighted sum of the narrowed source
// pixels its span covers.
void Across(const uint16_t* down, const Spans& columns, int toWidth, uint8_t* out) {
    const uint32_t* weight = columns.weights.data();
    for (int x = 0; x < toWidth; ++x, out += 4) {
        const uint16_t* p = down + static_cast<size_t>(columns.first[x]) * 4;
        uint32_t sum[3] = {1u << (kAcrossShift - 1), 1u << (kAcrossShift - 1),
                           1u << (kAcrossShift - 1)};
        for (int k = 0; k < columns.count[x]; ++k, p += 4, ++weight)
            for (int c = 0; c < 3; ++c)
                sum[c] += *weight * p[c];
        for (int c = 0; c < 3; ++c)
            out[c] = static_cast<uint8_t>(sum[c] >> kAcrossShift);
        out[3] = 0;
    }
}

#if defined(__i386__) || defined(__x86_64__)
// The same, a pixel's channels at a time, two source pixels in one step.
__attribute__((target("sse2"))) void AcrossSse2(const uint16_t* down, const Spans& columns,
                                                int toWidth, uint8_t* out) {
    const uint32_t* weight = columns.weights.data();
    const __m128i half = _mm_set1_epi32(1 << (kAcrossShift - 1));
    for (int x = 0; x < toWidth; ++x, out += 4) {
        const uint16_t* p = down + static_cast<size_t>(columns.first[x]) * 4;
        __m128i sum = half;
        int k = 0;
        for (; k < columns.count[x]; k += 2, p += 8, weight += 2) {
            bool pair = k + 1 < columns.count[x];
            __m128i first = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
            __m128i second = pair ? _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + 4))
                                  : _mm_setzero_si128();
            uint32_t w = weight[0] | (pair ? weight[1] << 16 : 0);
            sum = _mm_add_epi32(sum, _mm_madd_epi16(_mm_unpacklo_epi16(first, second),
                                                    _mm_set1_epi32(static_cast<int>(w))));
        }
        if (columns.count[x] % 2) --weight;
        __m128i shifted = _mm_srli_epi32(sum, kAcrossShift);
        __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(shifted, shifted), shifted);
        uint32_t pixel = static_cast<uint32_t>(_mm_cvtsi128_si32(bytes)) & 0xFFFFFFu;
        std::memcpy(out, &pixel, 4);
    }
}
__attribute__((target("sse2"))) void NarrowSse2(const uint32_t* down, uint16_t* narrow, size_t n) {
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        __m128i low =
            _mm_srli_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(down + i)), kNarrow);
        __m128i high = _mm_srli_epi32(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(down + i + 4)), kNarrow);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(narrow + i), _mm_packs_epi32(low, high));
    }
    Narrow(down + i, narrow + i, n - i);
}
#else
void NarrowSse2(const uint32_t* down, uint16_t* narrow, size_t n) {
    Narrow(down, narrow, n);
}
void AcrossSse2(const uint16_t* down, const Spans& columns, int toWidth, uint8_t* out) {
    Across(down, columns, toWidth, out);
}
#endif

// The three steps of a scaling, with or without vector instructions.
struct Kernels {
    void (*addRowPair)(uint32_t*, const uint8_t*, uint32_t, const uint8_t*, uint32_t, size_t);
    void (*narrow)(const uint32_t*, uint16_t*, size_t);
    void (*across)(const uint16_t*, const Spans&, int, uint8_t*);
};
const Kernels kPlain = {AddRowPair, Narrow, Across};
const Kernels kSse2 = {AddRowPairSse2, NarrowSse2, AcrossSse2};

std::vector<uint8_t> Scale(const uint8_t* pixels, int width, int height, int toWidth, int toHeight,
                           const Kernels& kernels) {
    const Spans columns = SpansOf(width, toWidth), rows = SpansOf(height, toHeight);
    // Down first, over whole rows of bytes at a time (two source rows in one
    // go), into one row of sums per target row; then across. Every sum is in
    // fixed point.
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    std::vector<uint32_t> down(rowBytes);
    std::vector<uint16_t> narrow(rowBytes);
    std::vector<uint8_t> result(static_cast<size_t>(toWidth) * toHeight * 4);
    const uint32_t* rowWeight = rows.weights.data();
    for (int y = 0; y < toHeight; ++y) {
        std::fill(down.begin(), down.end(), 0u);
        for (int k = 0; k < rows.count[y]; k += 2, rowWeight += 2) {
            const uint8_t* a = pixels + static_cast<size_t>(rows.first[y] + k) * rowBytes;
            // An odd row out is paired with itself at no weight.
            bool pair = k + 1 < rows.count[y];
            const uint8_t* b = pair ? a + rowBytes : a;
            uint32_t wb = pair ? rowWeight[1] : 0;
            kernels.addRowPair(down.data(), a, rowWeight[0], b, wb, rowBytes);
        }
        if (rows.count[y] % 2) --rowWeight; // the odd row took one weight, not two
        kernels.narrow(down.data(), narrow.data(), rowBytes);
        kernels.across(narrow.data(), columns, toWidth,
                       &result[static_cast<size_t>(y) * toWidth * 4]);
    }
    return result;
}

} // namespace

std::vector<uint8_t> ScalePixelsByArea(const uint8_t* pixels, int width, int height, int toWidth,
                                       int toHeight) {
    return Scale(pixels, width, height, toWidth, toHeight, HasSse2() ? kSse2 : kPlain);
}

std::vector<uint8_t> ScalePixelsByAreaPlain(const uint8_t* pixels, int width, int height,
                                            int toWidth, int toHeight) {
    return Scale(pixels, width, height, toWidth, toHeight, kPlain);
}
