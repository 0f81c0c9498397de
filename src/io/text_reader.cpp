#include "io/text_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/allocation.h"
#include "base/graph_limits.h"

namespace {

using digit_scan::isDigit;

// Room after the data: digits are looked at 16 bytes at a time, and
// buffer[end] holds the stop byte.
constexpr int32_t kPadding = 24;
// A refill keeps at most an unfinished number or a CR.
constexpr int32_t kSmallestCapacity = 16;
// Neither a digit, a blank nor a line end, so every scan stops on it; only
// its position tells it from a zero byte inside the file.
constexpr char kStopByte = '\0';

}  // namespace

void TextReader::prepareBuffer() {
  if (buffer != nullptr) return;
  if (capacity < kSmallestCapacity) capacity = kSmallestCapacity;
  const size_t bytes = static_cast<size_t>(capacity) + kPadding;
  buffer = static_cast<char*>(checkedMalloc(bytes));
  // The digit scan reads a little past the data; keep those bytes defined.
  std::memset(buffer, 0, bytes);
}

void TextReader::open(ByteSource& from, int64_t startOffset) {
  source = &from;
  prepareBuffer();
  carry = 0;
  end = 0;
  pos = 0;
  buffer[0] = kStopByte;
  endOfFile = false;
  bufferOffset = startOffset;
  setPlainLimit();
  lineNumber = 1;
  badLineNumber = 0;
  badLineReason = nullptr;
}

int32_t TextReader::skipLineBegunBefore() {
  for (;;) {
    const auto* lineEnd = static_cast<const char*>(
        std::memchr(buffer + pos, '\n', static_cast<size_t>(end - pos)));
    if (lineEnd != nullptr) {
      pos = static_cast<int32_t>(lineEnd + 1 - buffer);
      lineNumber = 1;
      return kEdgeLineRead;
    }
    if (endOfFile) {
      pos = end;
      return kEndOfInput;
    }
    if (refill(buffer + end) == nullptr) return kReadFailed;
  }
}

void TextReader::setPlainLimit() {
  plainLimit = static_cast<int32_t>(
      std::min<int64_t>(end - kPlainLineRoom + 1, stopOffset - bufferOffset));
}

void TextReader::close() {
  source = nullptr;
  std::free(buffer);
  buffer = nullptr;
}

// Moves the bytes from keepFrom to the end of the data to the front of the
// buffer and reads behind them. Returns where keepFrom's byte now is, or null
// on a read error. At the end of the file it sets endOfFile and adds nothing.
const char* TextReader::refill(const char* keepFrom) {
  bufferOffset += keepFrom - buffer;
  carry = end - static_cast<int32_t>(keepFrom - buffer);
  std::memmove(buffer, keepFrom, static_cast<size_t>(carry));
  const ssize_t got = readSome(*source, buffer + carry, static_cast<size_t>(capacity - carry));
  if (got < 0) {
    end = carry = pos = 0;
    buffer[0] = kStopByte;
    setPlainLimit();
    return nullptr;
  }
  if (got == 0) endOfFile = true;
  end = carry + static_cast<int32_t>(got);
  carry = 0;
  pos = 0;
  buffer[end] = kStopByte;
  setPlainLimit();
  return buffer;
}

int32_t TextReader::rejectLine(const char* at, const char* reason) {
  pos = static_cast<int32_t>(at - buffer);
  badLineNumber = lineNumber;
  badLineReason = reason;
  return kBadLine;
}

int32_t TextReader::readAnyLine(const int32_t* powersOfTen, int32_t& from, int32_t& to,
                                int32_t& cost) {
  uint64_t fields[3];
  int fieldCount = 0;
  const char* at = buffer + pos;
  if (atStop(at)) return kEndOfInput;
  for (;;) {
    const unsigned char byte = static_cast<unsigned char>(*at);
    if (isDigit(byte)) {
      if (fieldCount == 3) return rejectLine(at, kExpectedThreeNumbers);
      // Leading zeros do not count among a number's digits: "00000000001" is
      // 1. A zero at the end of the data stays, as the start of the number.
      while (*at == '0' && isDigit(static_cast<unsigned char>(at[1]))) ++at;
      const int length = digit_scan::digitRunLength(at);
      if (length > digit_scan::kMostDigits) return rejectLine(at, kNumberTooLarge);
      if (at + length == buffer + end && !endOfFile) {
        // The number may go on in the next block of the file.
        at = refill(at);
        if (at == nullptr) return kReadFailed;
        continue;
      }
      const uint64_t value = digit_scan::digitsValue(at, length, powersOfTen);
      const uint64_t limit = fieldCount < 2 ? kMaxLabel : kMaxCost;
      if (value > limit) return rejectLine(at, kNumberTooLarge);
      fields[fieldCount++] = value;
      at += length;
      continue;
    }
    if (byte == ' ' || byte == '\t') {
      ++at;
      continue;
    }
    if (byte == '\n') {
      if (fieldCount == 3) {
        pos = static_cast<int32_t>(at + 1 - buffer);
        ++lineNumber;
        break;
      }
      if (fieldCount != 0) return rejectLine(at, kExpectedThreeNumbers);
      ++lineNumber;
      ++at;
      if (atStop(at)) {
        pos = static_cast<int32_t>(at - buffer);
        return kEndOfInput;
      }
      continue;
    }
    if (byte == '\r') {
      if (at + 1 == buffer + end && !endOfFile) {
        at = refill(at);
        if (at == nullptr) return kReadFailed;
        continue;
      }
      if (at[1] != '\n') return rejectLine(at, kNotANumber);
      ++at;
      continue;
    }
    if (at == buffer + end) {
      if (!endOfFile) {
        at = refill(at);
        if (at == nullptr) return kReadFailed;
        continue;
      }
      pos = end;
      if (fieldCount == 0) return kEndOfInput;
      // A last line without its line end counts like any other.
      if (fieldCount != 3) return rejectLine(at, kExpectedThreeNumbers);
      break;
    }
    return rejectLine(at, kNotANumber);
  }
  from = static_cast<int32_t>(fields[0]);
  to = static_cast<int32_t>(fields[1]);
  cost = static_cast<int32_t>(fields[2]);
  return kEdgeLineRead;
}
