// Whether the reader and writer may use SSE2: every x86-64 processor has it,
// and the 32-bit program is built to require it.
#pragma once

#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#define MEMORION_SSE2 1
#include <cstdint>
#include <emmintrin.h>
#if defined(_MSC_VER) && !defined(__clang__)
#include <intrin.h>
#endif
#else
#define MEMORION_SSE2 0
#endif

#if MEMORION_SSE2
// Index of the lowest set bit; `bits` is not 0.
inline int lowestBit(unsigned bits)
{
#if defined(_MSC_VER) && !defined(__clang__)
    unsigned long index;
    _BitScanForward(&index, bits);
    return static_cast<int>(index);
#else
    return __builtin_ctz(bits);
#endif
}

inline __m128i load16(const char *p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
}

inline void store16(char *out, __m128i bytes)
{
    _mm_storeu_si128(reinterpret_cast<__m128i *>(out), bytes);
}

// Asks for the cache line `distance` bytes past p. A prefetch never faults,
// so it may point past the text; the address is made as an integer because
// such a pointer may not even be formed.
inline void prefetchPast(const char *p, std::uintptr_t distance)
{
    _mm_prefetch(reinterpret_cast<const char *>(reinterpret_cast<std::uintptr_t>(p) + distance), _MM_HINT_T0);
}
#endif
