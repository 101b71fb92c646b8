// Byte comparisons sixteen at a time for the row coders: one SSE2 compare
// where the processor has it, a plain loop elsewhere. Both give the same
// masks, so the coded rows never depend on the machine.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <windows.h>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define HPGL2_ROW_SCAN_SSE2 1
#endif

// Bit k (0..15) set when a[k] == b[k].
inline unsigned EqualMask16(const BYTE* a, const BYTE* b) {
#ifdef HPGL2_ROW_SCAN_SSE2
    const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
    const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(va, vb)));
#else
    unsigned mask = 0;
    for (int k = 0; k < 16; ++k) {
        mask |= static_cast<unsigned>(a[k] == b[k]) << k;
    }
    return mask;
#endif
}

// Bit k (0..15) set when p[k] == value.
inline unsigned ValueMask16(const BYTE* p, BYTE value) {
#ifdef HPGL2_ROW_SCAN_SSE2
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i values = _mm_set1_epi8(static_cast<char>(value));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, values)));
#else
    unsigned mask = 0;
    for (int k = 0; k < 16; ++k) {
        mask |= static_cast<unsigned>(p[k] == value) << k;
    }
    return mask;
#endif
}

// Writes the sixteen method-1 pairs (0, p[k]) to pOut (32 bytes).
inline void PutSingleBytePairs16(const BYTE* p, BYTE* pOut) {
#ifdef HPGL2_ROW_SCAN_SSE2
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i zero = _mm_setzero_si128();
    _mm_storeu_si128(reinterpret_cast<__m128i*>(pOut), _mm_unpacklo_epi8(zero, bytes));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(pOut + 16), _mm_unpackhi_epi8(zero, bytes));
#else
    for (int k = 0; k < 16; ++k) {
        pOut[2 * k] = 0;
        pOut[2 * k + 1] = p[k];
    }
#endif
}

// Index of the lowest set bit of a nonzero mask.
inline size_t LowestBit(unsigned mask) {
    return static_cast<size_t>(std::countr_zero(mask));
}
