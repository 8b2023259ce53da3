#pragma once

// Narrowing an entry's UTF-16 units to the bytes of a code page whose common
// characters are their own byte. A save calls this for every entry, so it is
// all inline.

#include <QtGlobal>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace listora {

#if defined(__SSE2__)
// The units of v that are not their own byte: outside 0x20 to 0x7F once keep
// (0xFF7F for Latin-1, which folds 0xA0 to 0xFF onto them) has cleared bit 7.
inline __m128i oddUnits(__m128i v, __m128i keep)
{
    const __m128i folded = _mm_sub_epi16(_mm_and_si128(v, keep), _mm_set1_epi16(0x20));
    return _mm_subs_epu16(folded, _mm_set1_epi16(0x5F));
}

// Narrows 16 units at src to bytes at dst, adding to odd those not their own byte.
inline void narrow16(const char16_t *src, char *dst, __m128i keep, __m128i &odd)
{
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + 8));
    odd = _mm_or_si128(odd, _mm_or_si128(oddUnits(a, keep), oddUnits(b, keep)));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(dst), _mm_packus_epi16(a, b));
}

inline void narrow8(const char16_t *src, char *dst, __m128i keep, __m128i &odd)
{
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src));
    odd = _mm_or_si128(odd, oddUnits(a, keep));
    _mm_storel_epi64(reinterpret_cast<__m128i *>(dst), _mm_packus_epi16(a, a));
}
#endif

// Copies n units to dst when each is its own byte in every page that uses
// this path, and says whether they were: printable ASCII, or for Windows-1252
// printable Latin-1 too (the common cases). Sixteen units at a time where the
// processor allows, the last block overlapping the one before, so an entry
// has no slow tail.
inline bool copyPlainUnits(const char16_t *src, qsizetype n, char *dst, bool latin1)
{
#if defined(__SSE2__)
    const __m128i keep = _mm_set1_epi16(short(latin1 ? 0xFF7F : 0xFFFF));
    __m128i odd = _mm_setzero_si128();
    if (n >= 16) {
        qsizetype i = 0;
        for (; i + 16 <= n; i += 16)
            narrow16(src + i, dst + i, keep, odd);
        if (i < n)
            narrow16(src + n - 16, dst + n - 16, keep, odd);
        return _mm_movemask_epi8(_mm_cmpeq_epi8(odd, _mm_setzero_si128())) == 0xFFFF;
    }
    if (n >= 8) {
        narrow8(src, dst, keep, odd);
        narrow8(src + n - 8, dst + n - 8, keep, odd);
        return _mm_movemask_epi8(_mm_cmpeq_epi8(odd, _mm_setzero_si128())) == 0xFFFF;
    }
#endif
    bool plain = true;
    const char16_t last = latin1 ? 0xFF : 0x7F;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = src[i];
        plain = plain && u >= 0x20 && u <= last && (u < 0x80 || u >= 0xA0);
        dst[i] = char(u);
    }
    return plain;
}

} // namespace listora
