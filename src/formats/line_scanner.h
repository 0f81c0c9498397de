#pragma once

#include <cstdint>
#include <cstring>

#include "io/byte_source.h"

// Hands out the lines of a text from a ByteSource, through one buffer, each
// without its line end (LF or CR LF); a last line without a line end counts
// too. Lines are numbered from 1.
struct LineScanner {
  // Bytes after a line's start that a reader may look at even past the line:
  // the buffer has this many more, and every byte of it is initialized.
  static constexpr int64_t kLookAhead = 64;

  ByteSource source;
  char* buffer = nullptr;
  int64_t capacity = 0;
  int64_t pos = 0;
  int64_t end = 0;
  bool endOfText = false;
  int64_t bufferOffset = 0;       // where buffer[0] stands in the text
  int64_t lineNumber = 0;         // of the line handed out last
  const char* failure = nullptr;  // set when nextLine stops early
  // On a thread that must not end the process itself, a buffer that cannot
  // grow for a long line is a failure like a failed read, which the thread
  // that started it reports.
  bool mayFailToGrow = false;

  explicit LineScanner(ByteSource from);
  ~LineScanner();
  LineScanner(const LineScanner&) = delete;

  // Starts over on another text, whose first byte stands at offset, keeping the buffer.
  void restart(ByteSource from, int64_t offset);
  // Where the next line starts in the text.
  int64_t nextOffset() const { return bufferOffset + pos; }
  LineScanner& operator=(const LineScanner&) = delete;

  // The next line in [begin, stop). False at the end of the text, and when
  // the text cannot be read or a line is absurdly long (failure says which).
  bool nextLine(const char*& begin, const char*& stop) {
    const char* at = buffer + pos;
    const char* found =
        static_cast<const char*>(std::memchr(at, '\n', static_cast<size_t>(end - pos)));
    if (found == nullptr) return nextLineAcrossRefill(begin, stop);
    ++lineNumber;
    pos = found + 1 - buffer;
    begin = at;
    stop = found > at && found[-1] == '\r' ? found - 1 : found;
    return true;
  }

 private:
  bool nextLineAcrossRefill(const char*& begin, const char*& stop);
};

// Fields of one line, separated by blanks (spaces or tabs).
namespace line_fields {

inline bool isBlank(char c) { return c == ' ' || c == '\t'; }
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Skips blanks; true when a field starts at `at`.
inline bool nextField(const char*& at, const char* stop) {
  while (at < stop && isBlank(*at)) ++at;
  return at < stop;
}

// An unsigned decimal number of at most 18 digits after its leading zeros,
// no larger than limit, ended by a blank or the line end. Null on success,
// else the reason.
inline const char* readNumber(const char*& at, const char* stop, int64_t limit, int64_t& value) {
  if (at == stop || !isDigit(*at)) return "not a number";
  while (*at == '0' && at + 1 < stop && isDigit(at[1])) ++at;
  int64_t result = 0;
  const char* first = at;
  while (at < stop && isDigit(*at)) {
    if (at - first == 18) return "number too large";
    result = result * 10 + (*at++ - '0');
  }
  if (at < stop && !isBlank(*at)) return "not a number";
  if (result > limit) return "number too large";
  value = result;
  return nullptr;
}

// A weight: a whole number, written as an integer or as a decimal or
// exponent form of one ("7", "7.0", "7e0", "0.7e1"), no larger than limit.
// Null on success, else "negative weight", "fractional weight", ...
const char* readWeightInAnyForm(const char*& at, const char* stop, int64_t limit, int64_t& value);

inline const char* readWeight(const char*& at, const char* stop, int64_t limit, int64_t& value) {
  // Plain digits, by far the most common form, without the general rules.
  const char* digit = at;
  int64_t result = 0;
  while (digit < stop && isDigit(*digit) && digit - at < 18) result = result * 10 + (*digit++ - '0');
  if (digit == at || digit - at == 18 || (digit < stop && !isBlank(*digit))) {
    return readWeightInAnyForm(at, stop, limit, value);
  }
  if (result > limit) return "number too large";
  at = digit;
  value = result;
  return nullptr;
}

}  // namespace line_fields
