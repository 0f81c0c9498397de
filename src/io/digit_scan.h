#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

// Finding and converting runs of decimal digits eight bytes at a time. They
// read up to 32 bytes from where they start, so the text must be padded.
namespace digit_scan {

inline constexpr int kMostDigits = 10;  // more is never a valid number here
inline constexpr int kBytesLookedAt = 16;

inline bool isDigit(unsigned char byte) { return static_cast<unsigned char>(byte - '0') < 10; }

inline uint64_t loadWord(const char* text) {
  uint64_t word;
  std::memcpy(&word, text, sizeof word);
  return word;
}

// Sets the top bit of every byte of word that is not a decimal digit and
// clears all other bits. After the xor a digit byte is 0..9; adding 0x76 to
// its low seven bits reaches the top bit exactly for 10..127, and bytes of
// 128 and more have it already. No byte carries into the next.
inline uint64_t nonDigitTopBits(uint64_t word) {
  const uint64_t offset = word ^ 0x3030303030303030ull;
  return (((offset & 0x7F7F7F7F7F7F7F7Full) + 0x7676767676767676ull) | offset) &
         0x8080808080808080ull;
}

// Number of digits starting at text, at most 16.
inline int digitRunLength(const char* text) {
  if constexpr (std::endian::native == std::endian::little) {
    uint64_t marks = nonDigitTopBits(loadWord(text));
    if (marks != 0) return std::countr_zero(marks) >> 3;
    marks = nonDigitTopBits(loadWord(text + 8));
    return marks != 0 ? 8 + (std::countr_zero(marks) >> 3) : 16;
  } else {
    int length = 0;
    while (length < kBytesLookedAt && isDigit(static_cast<unsigned char>(text[length]))) ++length;
    return length;
  }
}

// Bit i is set when byte i of the 32 bytes at text is not a digit. The
// multiplication gathers the eight top bits of a word into its top byte.
inline uint32_t nonDigitMask32(const char* text) {
  if constexpr (std::endian::native == std::endian::little) {
    uint32_t mask = 0;
    for (int word = 0; word < 4; ++word) {
      const uint64_t topBits = nonDigitTopBits(loadWord(text + 8 * word));
      mask |= static_cast<uint32_t>((topBits * 0x0002040810204081ull) >> 56) << (8 * word);
    }
    return mask;
  } else {
    uint32_t mask = 0;
    for (int at = 0; at < 32; ++at) {
      if (!isDigit(static_cast<unsigned char>(text[at]))) mask |= uint32_t{1} << at;
    }
    return mask;
  }
}

// Value of 1..8 digits: they are moved to the top of the word (zero digits
// fill the bottom) and combined in pairs, then pairs of pairs, then halves:
// three multiplications instead of one per digit.
inline uint64_t eightDigitsValue(const char* text, int length) {
  uint64_t word = loadWord(text) - 0x3030303030303030ull;
  word <<= 8 * (8 - length);
  word = ((word * 10) + (word >> 8)) & 0x00FF00FF00FF00FFull;
  word = ((word * 100) + (word >> 16)) & 0x0000FFFF0000FFFFull;
  return ((word * 10000) + (word >> 32)) & 0xFFFFFFFFull;
}

// Value of the 1..10 digits at text. A longer number is a head and eight more
// digits, the head scaled through the power table.
inline uint64_t digitsValue(const char* text, int length, const int32_t* powersOfTen) {
  if constexpr (std::endian::native == std::endian::little) {
    if (length <= 8) return eightDigitsValue(text, length);
    const int headLength = length - 8;
    const uint64_t head = eightDigitsValue(text, headLength);
    return head * static_cast<uint64_t>(powersOfTen[8]) + eightDigitsValue(text + headLength, 8);
  } else {
    uint64_t value = 0;
    for (int k = 0; k < length; ++k) {
      const auto digit = static_cast<uint64_t>(static_cast<unsigned char>(text[k]) - '0');
      value += digit * static_cast<uint64_t>(powersOfTen[length - 1 - k]);
    }
    return value;
  }
}

// Three numbers of 1..kMostDigits digits at text, separated by single
// spaces, found from one look at its 32 bytes (the fields do not wait on one
// another's digit scan): their values, and where the third ends. Null when
// the bytes do not start that way.
[[gnu::always_inline]] inline const char* threeNumbers(const char* text,
                                                       const int32_t* powersOfTen,
                                                       uint64_t (&values)[3]) {
  const uint32_t nonDigits = nonDigitMask32(text);
  const int firstLength = std::countr_zero(nonDigits);
  if (firstLength == 0 || firstLength > kMostDigits || text[firstLength] != ' ') return nullptr;
  const int secondStart = firstLength + 1;
  const int secondLength = std::countr_zero(nonDigits >> secondStart);
  if (secondLength == 0 || secondLength > kMostDigits || text[secondStart + secondLength] != ' ') {
    return nullptr;
  }
  const int thirdStart = secondStart + secondLength + 1;
  // Counts 32 when the third does not end inside the 32 bytes.
  const int thirdLength = std::countr_zero(nonDigits >> thirdStart);
  if (thirdLength == 0 || thirdLength > kMostDigits) return nullptr;
  values[0] = digitsValue(text, firstLength, powersOfTen);
  values[1] = digitsValue(text + secondStart, secondLength, powersOfTen);
  values[2] = digitsValue(text + thirdStart, thirdLength, powersOfTen);
  return text + thirdStart + thirdLength;
}

}  // namespace digit_scan
