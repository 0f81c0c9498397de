#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) && defined(__x86_64__)
#include <emmintrin.h>
#endif

// Integer to decimal text without a loop per digit: the eight low decimal
// digits are split out side by side (one digit per byte, the most significant
// in the lowest byte) and stored with one 8-byte write, leading zeros shifted
// out. The text is plain decimal: no padding, a minus sign only when negative.
namespace decimal {

static_assert(std::endian::native == std::endian::little,
              "the digit bytes are stored lowest byte first");

inline constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// formatInt may store up to this many bytes past the end of the text it
// writes; the destination must have that much room beyond it.
inline constexpr int kStoreSlack = 7;

// The eight digits of value (below 10^8) in a 64-bit word, with plain integer
// arithmetic: 4+4 digits in 32-bit lanes, then 2-digit pairs in 16-bit lanes,
// then single digits. The multiply-shift pairs divide exactly in their ranges:
// x*10486>>20 is x/100 for x < 10^4, and x*103>>10 is x/10 for x < 100.
inline uint64_t eightDigitBytesPortable(uint32_t value) {
  const uint64_t fours = (value / 10000) | (static_cast<uint64_t>(value % 10000) << 32);
  const uint64_t hundreds = ((fours * 10486) >> 20) & 0x0000007F0000007Full;
  const uint64_t pairs = hundreds | ((fours - hundreds * 100) << 16);
  const uint64_t tens = ((pairs * 103) >> 10) & 0x000F000F000F000Full;
  return tens | ((pairs - tens * 10) << 8);
}

#if defined(__SSE2__) && defined(__x86_64__)
// The same digits with SSE2, which every x86-64 processor has, in about half
// the instructions: each 4-digit half is copied into four 16-bit lanes, which
// are divided by 1000, 100, 10 and 1 at once (multiply-high by reciprocals),
// and each quotient minus ten times its left neighbour is one digit.
inline uint64_t eightDigitBytes(uint32_t value) {
  const __m128i reciprocals = _mm_setr_epi16(8389, 5243, 13108, -32768, 8389, 5243, 13108, -32768);
  const __m128i shifts = _mm_setr_epi16(1 << 7, 1 << 11, 1 << 13, -32768, 1 << 7, 1 << 11, 1 << 13, -32768);
  const __m128i whole = _mm_cvtsi32_si128(static_cast<int>(value));
  // value / 10000 through the reciprocal 2^45 / 10000, rounded up.
  const __m128i high = _mm_srli_epi64(_mm_mul_epu32(whole, _mm_set1_epi32(static_cast<int>(0xd1b71759u))), 45);
  const __m128i low = _mm_sub_epi32(whole, _mm_mul_epu32(high, _mm_set1_epi32(10000)));
  const __m128i halves = _mm_slli_epi64(_mm_unpacklo_epi16(high, low), 2);
  const __m128i twice = _mm_unpacklo_epi16(halves, halves);
  const __m128i spread = _mm_unpacklo_epi32(twice, twice);
  const __m128i quotients = _mm_mulhi_epu16(_mm_mulhi_epu16(spread, reciprocals), shifts);
  const __m128i tensOfLeft = _mm_slli_epi64(_mm_mullo_epi16(quotients, _mm_set1_epi16(10)), 16);
  const __m128i digits = _mm_sub_epi16(quotients, tensOfLeft);
  return static_cast<uint64_t>(_mm_cvtsi128_si64(_mm_packus_epi16(digits, digits)));
}
#else
inline uint64_t eightDigitBytes(uint32_t value) { return eightDigitBytesPortable(value); }
#endif

inline constexpr uint64_t kAsciiZeros = 0x3030303030303030ull;

// Writes value at out and returns the position after its last character.
// Stores up to kStoreSlack bytes beyond that position.
inline char* formatInt(char* out, int32_t value) {
  uint32_t magnitude = static_cast<uint32_t>(value);
  if (value < 0) {
    *out++ = '-';
    magnitude = 0u - magnitude;  // well defined for INT32_MIN as well
  }
  if (magnitude < 100000000) {
    const uint64_t digits = eightDigitBytes(magnitude);
    // Leading zero bytes, at most seven so that zero keeps its one digit.
    const int zeros = __builtin_ctzll(digits | (uint64_t{1} << 56)) >> 3;
    const uint64_t text = (digits + kAsciiZeros) >> (zeros * 8);
    std::memcpy(out, &text, 8);
    return out + 8 - zeros;
  }
  const uint32_t top = magnitude / 100000000;  // 1 .. 21
  const uint64_t text = eightDigitBytes(magnitude - top * 100000000) + kAsciiZeros;
  if (top >= 10) {
    std::memcpy(out, kDigitPairs + top * 2, 2);
    out += 2;
  } else {
    *out++ = static_cast<char>('0' + top);
  }
  std::memcpy(out, &text, 8);
  return out + 8;
}

}  // namespace decimal
