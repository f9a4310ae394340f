#include "canvas/PixelRows.h"

#include <utility>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

#ifdef __SSE2__

inline __m128i load(const quint32 *p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
}

inline void store(quint32 *p, __m128i v)
{
    _mm_storeu_si128(reinterpret_cast<__m128i *>(p), v);
}

// Output vector M of four source pixels scaled up K times: lane t is source pixel (4M + t) / K,
// which is always one of the four.
// A variable, not a function: an unoptimised build must see the shuffle's immediate as such.
template<int K, int M>
constexpr int expandOrder = ((4 * M) / K) | (((4 * M + 1) / K) << 2) | (((4 * M + 2) / K) << 4)
    | (((4 * M + 3) / K) << 6);

template<int K, int... M>
inline void expandFour(__m128i four, quint32 *to, std::integer_sequence<int, M...>)
{
    (store(to + 4 * M, _mm_shuffle_epi32(four, (expandOrder<K, M>))), ...);
}

template<int K>
void expandBy(const quint32 *from, quint32 *to, int count)
{
    int i = 0;
    // Four source pixels make 4K target pixels; the last source pixel read is (i + 4K - 1) / K.
    for (; i + 4 * K <= count; i += 4 * K)
        expandFour<K>(load(from + i / K), to + i, std::make_integer_sequence<int, K>{});
    for (; i < count; ++i)
        to[i] = from[i / K];
}

#endif

} // namespace

void PixelRows::opaque(quint32 *from, quint32 *to, bool settle, int count)
{
    int i = 0;
#ifdef __SSE2__
    const __m128i alpha = _mm_set1_epi32(int(ALPHA));
    if (settle) {
        for (; i + 4 <= count; i += 4) {
            const __m128i in = load(from + i);
            const __m128i v = _mm_or_si128(in, alpha);
            store(to + i, v);
            if (_mm_movemask_epi8(_mm_cmpeq_epi32(in, v)) != 0xffff)
                store(from + i, v);
        }
    } else {
        for (; i + 8 <= count; i += 8) {
            const __m128i a = _mm_or_si128(load(from + i), alpha);
            const __m128i b = _mm_or_si128(load(from + i + 4), alpha);
            store(to + i, a);
            store(to + i + 4, b);
        }
    }
#endif
    for (; i < count; ++i) {
        const quint32 v = from[i] | ALPHA;
        to[i] = v;
        if (settle)
            from[i] = v;
    }
}

void PixelRows::keepBits(const quint32 *from, quint32 *to, int count, quint32 keep)
{
    int i = 0;
#ifdef __SSE2__
    const __m128i k = _mm_set1_epi32(int(keep));
    for (; i + 8 <= count; i += 8) {
        const __m128i a = _mm_and_si128(load(from + i), k);
        const __m128i b = _mm_and_si128(load(from + i + 4), k);
        store(to + i, a);
        store(to + i + 4, b);
    }
#endif
    for (; i < count; ++i)
        to[i] = from[i] & keep;
}

void PixelRows::coloursKeepingAlpha(const quint32 *from, quint32 *to, int octets, const quint32 *colours)
{
#ifdef __SSE2__
    const __m128i alpha = _mm_set1_epi32(int(ALPHA));
    for (int b = 0; b < octets; ++b) {
        const __m128i c = _mm_set1_epi32(int(colours[b]));
        const __m128i first = _mm_or_si128(_mm_and_si128(load(from + 8 * b), alpha), c);
        const __m128i second = _mm_or_si128(_mm_and_si128(load(from + 8 * b + 4), alpha), c);
        store(to + 8 * b, first);
        store(to + 8 * b + 4, second);
    }
#else
    for (int i = 0; i < octets * 8; ++i)
        to[i] = (from[i] & ALPHA) | colours[i / 8];
#endif
}

void PixelRows::expand(const quint32 *from, quint32 *to, int count, int factor)
{
#ifdef __SSE2__
    switch (factor) {
    case 2:
        return expandBy<2>(from, to, count);
    case 3:
        return expandBy<3>(from, to, count);
    case 4:
        return expandBy<4>(from, to, count);
    case 5:
        return expandBy<5>(from, to, count);
    case 6:
        return expandBy<6>(from, to, count);
    default:
        break;
    }
#endif
    for (int i = 0; i < count; ++i)
        to[i] = from[i / factor];
}

void PixelRows::gather(const quint32 *from, const int *index, quint32 *to, int count)
{
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const quint32 a = from[index[i]];
        const quint32 b = from[index[i + 1]];
        const quint32 c = from[index[i + 2]];
        const quint32 d = from[index[i + 3]];
        to[i] = a;
        to[i + 1] = b;
        to[i + 2] = c;
        to[i + 3] = d;
    }
    for (; i < count; ++i)
        to[i] = from[index[i]];
}

void PixelRows::addOctetSums(const quint32 *row, int octets, quint16 *lanes)
{
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    for (int b = 0; b < octets; ++b) {
        const __m128i first = load(row + 8 * b);
        const __m128i second = load(row + 8 * b + 4);
        // Pixels 0 and 1, 2 and 3, ... widened to 16 bits and added lane by lane.
        const __m128i sum = _mm_add_epi16(
            _mm_add_epi16(_mm_unpacklo_epi8(first, zero), _mm_unpackhi_epi8(first, zero)),
            _mm_add_epi16(_mm_unpacklo_epi8(second, zero), _mm_unpackhi_epi8(second, zero)));
        auto *lane = reinterpret_cast<__m128i *>(lanes + 8 * b);
        _mm_storeu_si128(lane, _mm_add_epi16(_mm_loadu_si128(lane), sum));
    }
#else
    for (int b = 0; b < octets; ++b) {
        for (int x = 0; x < 8; ++x) {
            const quint32 v = row[8 * b + x];
            quint16 *lane = lanes + 8 * b + (x % 2) * 4;
            for (int c = 0; c < 4; ++c)
                lane[c] = quint16(lane[c] + ((v >> (8 * c)) & 0xffu));
        }
    }
#endif
}
