#include "core/MarkerIndex.h"

#include "base/Error.h"

#include <array>
#include <cstring>
#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace newsbell {

namespace {

// The only marker an "ec_" may open, told by its bytes 3 and 7 (every marker is longer), with
// its text padded to 32 bytes and a mask of the bytes that count: one look-up and one compare
// instead of a chain of branches.
struct Candidate {
    alignas(32) std::array<char, 32> text{};
    std::uint32_t mask = 1; // none: byte 0 would have to be 0, and it is "e"
    Marker marker{};
};

constexpr size_t candidateKey(const char* p) {
    return size_t(static_cast<unsigned char>(p[3]) + static_cast<unsigned char>(p[7])) & 15;
}

constexpr std::array<Candidate, 16> candidates = [] {
    std::array<Candidate, 16> table{};
    for (size_t m = 0; m < markerTexts.size(); ++m) {
        Candidate& c = table[candidateKey(markerTexts[m].data())];
        if (c.mask != 1) throw "two markers share a key";
        for (size_t k = 0; k < markerTexts[m].size(); ++k) c.text[k] = markerTexts[m][k];
        c.mask = std::uint32_t((std::uint64_t(1) << markerTexts[m].size()) - 1);
        c.marker = Marker(m);
    }
    return table;
}();

[[gnu::always_inline]] inline void record(MarkerIndex& index, size_t at, Marker marker) {
    index.hits.push_back({std::uint32_t(at), marker});
    if (marker == Marker::Date) ++index.dates;
}

// Which marker, if any, starts at an "ec_" found at position at, near the page's end or on a
// processor without AVX2.
void classify(std::string_view page, size_t at, MarkerIndex& index) {
    const size_t left = page.size() - at;
    if (left <= 7) return;
    const Candidate& c = candidates[candidateKey(page.data() + at)];
    if (c.mask == 1) return;
    const std::string_view text = markerText(c.marker);
    if (left >= text.size() && std::memcmp(page.data() + at, text.data(), text.size()) == 0)
        record(index, at, c.marker);
}

#if defined(__x86_64__)
// What classify does, for an "ec_" followed by at least 29 more readable bytes.
__attribute__((target("avx2"))) inline void classifyWide(const char* data, size_t at,
                                                         MarkerIndex& index) {
    const char* p = data + at;
    const Candidate& c = candidates[candidateKey(p)];
    const unsigned same = unsigned(_mm256_movemask_epi8(
        _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)),
                          _mm256_load_si256(reinterpret_cast<const __m256i*>(c.text.data())))));
    if ((same & c.mask) == c.mask) record(index, at, c.marker);
}
#endif

// The candidate starts are the positions where "e", "c" and "_" follow each other; the vector
// versions test 32 or 16 positions at a time. Returns where the scalar rest begins.
#if defined(__x86_64__)
__attribute__((target("avx2"))) size_t scanWide(std::string_view page, MarkerIndex& index) {
    const char* data = page.data();
    const __m256i e = _mm256_set1_epi8('e'), c = _mm256_set1_epi8('c'), u = _mm256_set1_epi8('_');
    size_t i = 0;
    // 32 readable bytes after every start in these blocks: a whole marker is compared at once.
    for (; i + 64 <= page.size(); i += 32) {
        const __m256i atE =
            _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i)), e);
        const __m256i atC = _mm256_cmpeq_epi8(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i + 1)), c);
        const __m256i atU = _mm256_cmpeq_epi8(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i + 2)), u);
        unsigned mask =
            unsigned(_mm256_movemask_epi8(_mm256_and_si256(_mm256_and_si256(atE, atC), atU)));
        for (; mask; mask &= mask - 1) classifyWide(data, i + unsigned(__builtin_ctz(mask)), index);
    }
    return i;
}
#endif

size_t scanNarrow(std::string_view page, MarkerIndex& index) {
    size_t i = 0;
#if defined(__SSE2__)
    const char* data = page.data();
    const __m128i e = _mm_set1_epi8('e'), c = _mm_set1_epi8('c'), u = _mm_set1_epi8('_');
    for (; i + 18 <= page.size(); i += 16) {
        auto load = [&](size_t at) {
            return _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
        };
        __m128i both = _mm_and_si128(_mm_cmpeq_epi8(load(i), e), _mm_cmpeq_epi8(load(i + 1), c));
        unsigned mask =
            unsigned(_mm_movemask_epi8(_mm_and_si128(both, _mm_cmpeq_epi8(load(i + 2), u))));
        while (mask) {
            classify(page, i + unsigned(__builtin_ctz(mask)), index);
            mask &= mask - 1;
        }
    }
#endif
    return i;
}

} // namespace

MarkerIndex indexMarkers(std::string_view page) {
    if (page.size() > UINT32_MAX) throw Error("Страница календаря слишком велика (больше 4 ГБ)");
    MarkerIndex index;
    index.hits.reserve(page.size() / 40);
#if defined(__x86_64__)
    static const bool wide = __builtin_cpu_supports("avx2");
    size_t i = wide ? scanWide(page, index) : scanNarrow(page, index);
#else
    size_t i = scanNarrow(page, index);
#endif
    const char* data = page.data();
    for (; i + 3 <= page.size(); ++i)
        if (data[i] == 'e' && data[i + 1] == 'c' && data[i + 2] == '_') classify(page, i, index);
    return index;
}

} // namespace newsbell
