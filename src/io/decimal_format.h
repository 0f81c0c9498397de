#pragma once

#include <cstdint>
#include <cstring>

// Integer to decimal text, the way {fmt} does it: count the digits first, then
// write two digits per step from the right through a table of digit pairs.
namespace decimal {

inline constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

inline int digitCount(uint32_t value) {
  int count = 1;
  while (value >= 10000) {
    value /= 10000;
    count += 4;
  }
  if (value >= 1000) return count + 3;
  if (value >= 100) return count + 2;
  if (value >= 10) return count + 1;
  return count;
}

// Characters formatInt writes for value.
inline int formattedLength(int32_t value) {
  const uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  return digitCount(magnitude) + (value < 0 ? 1 : 0);
}

// Writes value at out without padding, sign only when negative; returns the
// position after the last character.
inline char* formatInt(char* out, int32_t value) {
  uint32_t magnitude = static_cast<uint32_t>(value);
  if (value < 0) {
    *out++ = '-';
    magnitude = 0u - magnitude;  // well defined for INT32_MIN as well
  }
  const int length = digitCount(magnitude);
  char* cursor = out + length;
  while (magnitude >= 100) {
    const uint32_t pair = (magnitude % 100) * 2;
    magnitude /= 100;
    cursor -= 2;
    std::memcpy(cursor, kDigitPairs + pair, 2);
  }
  if (magnitude >= 10) {
    cursor -= 2;
    std::memcpy(cursor, kDigitPairs + magnitude * 2, 2);
  } else {
    *--cursor = static_cast<char>('0' + magnitude);
  }
  return out + length;
}

}  // namespace decimal
