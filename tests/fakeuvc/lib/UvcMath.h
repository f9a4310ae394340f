#pragma once

#include <cstdint>

// The arithmetic uvcvideo applies to frame intervals. A UVC camera states its intervals in
// 100 ns units; the driver turns each into a fraction of a second through a continued
// fraction that it cuts short at the first large term, so 333333 becomes 1/30 but 333666
// becomes 1003/30060. Programs see only these reduced fractions.
namespace fakeuvc {

inline void simplifyFraction(uint32_t *numerator, uint32_t *denominator, unsigned nTerms = 8,
                             unsigned threshold = 333)
{
    uint32_t terms[16];
    if (nTerms > 16)
        nTerms = 16;
    uint32_t x = *numerator;
    uint32_t y = *denominator;
    unsigned n = 0;
    for (; n < nTerms && y != 0; ++n) {
        terms[n] = x / y;
        if (terms[n] >= threshold) {
            if (n < 2)
                n++;
            break;
        }
        const uint32_t r = x - terms[n] * y;
        x = y;
        y = r;
    }
    x = 0;
    y = 1;
    for (unsigned i = n; i > 0; --i) {
        const uint32_t r = y;
        y = terms[i - 1] * y + x;
        x = r;
    }
    *numerator = y;
    *denominator = x;
}

// A fraction of a second in 100 ns units, saturating as the driver does.
inline uint32_t fractionToInterval(uint32_t numerator, uint32_t denominator)
{
    if (denominator == 0 || numerator / denominator >= UINT32_MAX / 10000000u)
        return UINT32_MAX;
    uint32_t multiplier = 10000000u;
    while (numerator > UINT32_MAX / multiplier) {
        multiplier /= 2;
        denominator /= 2;
    }
    return denominator ? numerator * multiplier / denominator : 0;
}

// The interval as the driver reports it (VIDIOC_ENUM_FRAMEINTERVALS, G_PARM, S_PARM).
struct Fraction
{
    uint32_t numerator;
    uint32_t denominator;
};

inline Fraction intervalFraction(uint32_t interval100ns)
{
    Fraction f{interval100ns, 10000000u};
    simplifyFraction(&f.numerator, &f.denominator);
    return f;
}

} // namespace fakeuvc
