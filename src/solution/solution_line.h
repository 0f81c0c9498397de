#pragma once

#include <cstdint>
#include <cstring>

#include "solution/loaded_solution.h"

// One line of a solution file: label, cost and predecessor as decimal 32-bit
// integers or the words INF / NIL (any letter case) for -1, separated by white
// space. Words after the third are not looked at.
namespace solution_line {

enum class Kind { Entry, Blank, Bad };

// White space inside a line, as isspace() has it in the C locale, without
// the line feed that ends the line.
inline bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

inline bool endsToken(char c) { return c == '\n' || isBlank(c); }

inline bool isDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

// Each character is looked at only after the one before it turned out to be
// a letter, so the line feed that ends the line is never passed.
inline bool isWordForNone(const char* c) {
  const char first = static_cast<char>(c[0] | 0x20);
  if (first != 'i' && first != 'n') return false;
  if (static_cast<char>(c[1] | 0x20) != (first == 'i' ? 'n' : 'i')) return false;
  return static_cast<char>(c[2] | 0x20) == (first == 'i' ? 'f' : 'l');
}

// Reads one token at cursor into value and moves cursor past it. False when
// the token is not a 32-bit integer or a word for none. Forced inline: it
// runs three times for every line, and files have millions of lines.
[[gnu::always_inline]] inline bool readToken(const char*& cursor, int32_t& value) {
  const char* c = cursor;
  bool negative = false;
  if (*c == '-' || *c == '+') {
    negative = *c == '-';
    ++c;
  }
  if (isDigit(*c)) {
    // Leading zeros are allowed; past them more than ten digits are out of
    // range anyway, and up to ten cannot overflow the 64-bit sum.
    while (*c == '0') ++c;
    const char* significant = c;
    uint64_t magnitude = 0;
    while (isDigit(*c)) {
      magnitude = magnitude * 10 + static_cast<uint64_t>(*c - '0');
      ++c;
      if (c - significant > 10) return false;
    }
    const uint64_t limit = negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1;
    if (magnitude > limit || !endsToken(*c)) return false;
    value = static_cast<int32_t>(negative ? 0u - static_cast<uint32_t>(magnitude)
                                          : static_cast<uint32_t>(magnitude));
    cursor = c;
    return true;
  }
  if (c != cursor || !isWordForNone(c) || !endsToken(c[3])) {
    return false;
  }
  value = -1;
  cursor = c + 3;
  return true;
}

inline const char* skipBlanks(const char* c) {
  if (*c == ' ') ++c;  // the one blank between numbers, as written
  while (isBlank(*c)) ++c;
  return c;
}

// Parses the line starting at line; a line feed before end is known to end
// it. On return next points past that line feed (unset when the line is bad).
inline Kind parse(const char* line, const char* end, const char*& next, SolutionEntry& entry) {
  const char* c = skipBlanks(line);
  if (*c == '\n') {
    next = c + 1;
    return Kind::Blank;
  }
  int32_t label = 0;
  int32_t cost = 0;
  int32_t pred = 0;
  if (!readToken(c, label)) return Kind::Bad;
  c = skipBlanks(c);
  if (*c == '\n' || !readToken(c, cost)) return Kind::Bad;
  c = skipBlanks(c);
  if (*c == '\n' || !readToken(c, pred)) return Kind::Bad;
  if (*c != '\n') c = static_cast<const char*>(std::memchr(c, '\n', static_cast<size_t>(end - c)));
  next = c + 1;
  entry = SolutionEntry{label, pred, cost};
  return Kind::Entry;
}

}  // namespace solution_line
