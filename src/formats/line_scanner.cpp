#include "formats/line_scanner.h"

#include <cstdlib>

#include "base/allocation.h"

namespace {

constexpr int64_t kFirstCapacity = 1 << 18;
constexpr int64_t kLongestLine = 1 << 24;

}  // namespace

LineScanner::LineScanner(ByteSource from) : source(from), capacity(kFirstCapacity) {
  buffer = static_cast<char*>(checkedMalloc(static_cast<size_t>(capacity + kLookAhead)));
  std::memset(buffer, 0, static_cast<size_t>(capacity + kLookAhead));
}

LineScanner::~LineScanner() { std::free(buffer); }

void LineScanner::restart(ByteSource from, int64_t offset) {
  source = from;
  pos = 0;
  end = 0;
  endOfText = false;
  bufferOffset = offset;
  lineNumber = 0;
  failure = nullptr;
}

bool LineScanner::nextLineAcrossRefill(const char*& begin, const char*& stop) {
  for (;;) {
    if (endOfText) {
      if (pos == end) return false;
      ++lineNumber;  // the last line, without its line end
      begin = buffer + pos;
      stop = buffer + end;
      if (stop > begin && stop[-1] == '\r') --stop;
      pos = end;
      return true;
    }
    // Keep the unfinished line, read behind it.
    const int64_t kept = end - pos;
    if (kept == capacity) {
      if (capacity >= kLongestLine) {
        ++lineNumber;
        failure = "line too long";
        return false;
      }
      const auto grownBytes = static_cast<size_t>(capacity * 2 + kLookAhead);
      void* grown =
          mayFailToGrow ? tryRealloc(buffer, grownBytes) : checkedRealloc(buffer, grownBytes);
      if (grown == nullptr) {
        ++lineNumber;
        failure = "out of memory";
        return false;
      }
      buffer = static_cast<char*>(grown);
      std::memset(buffer + capacity, 0, static_cast<size_t>(capacity + kLookAhead));
      capacity *= 2;
    }
    std::memmove(buffer, buffer + pos, static_cast<size_t>(kept));
    bufferOffset += pos;
    pos = 0;
    end = kept;
    const ssize_t got =
        source.read(source.context, buffer + end, static_cast<size_t>(capacity - end));
    if (got < 0) {
      ++lineNumber;
      const bool said = source.failure != nullptr && *source.failure != nullptr;
      failure = said ? *source.failure : "read error";
      return false;
    }
    if (got == 0) endOfText = true;
    const char* found =
        static_cast<const char*>(std::memchr(buffer + end, '\n', static_cast<size_t>(got)));
    end += got;
    if (found != nullptr) return nextLine(begin, stop);
  }
}

namespace line_fields {

const char* readWeightInAnyForm(const char*& at, const char* stop, int64_t limit,
                                int64_t& value) {
  bool negative = false;
  if (at < stop && (*at == '-' || *at == '+')) negative = *at++ == '-';
  // The digits without leading zeros, and where the decimal point stands among them.
  char digits[24];
  int count = 0;
  int64_t exponent = 0;  // value = digits × 10^exponent
  bool sawDigit = false;
  bool sawPoint = false;
  bool fraction = false;  // a non-zero digit that the exponent cannot make whole (so far)
  for (; at < stop && (isDigit(*at) || (*at == '.' && !sawPoint)); ++at) {
    if (*at == '.') {
      sawPoint = true;
      continue;
    }
    sawDigit = true;
    if (count == 0 && *at == '0') {
      if (sawPoint) --exponent;
      continue;
    }
    if (count == static_cast<int>(sizeof digits)) return "number too large";
    digits[count++] = *at;
    if (sawPoint) --exponent;
  }
  if (!sawDigit) return "not a number";
  if (at < stop && (*at == 'e' || *at == 'E')) {
    ++at;
    bool negativeExponent = false;
    if (at < stop && (*at == '-' || *at == '+')) negativeExponent = *at++ == '-';
    if (at == stop || !isDigit(*at)) return "not a number";
    int64_t shift = 0;
    for (; at < stop && isDigit(*at); ++at) {
      if (shift < 1000000) shift = shift * 10 + (*at - '0');
    }
    exponent += negativeExponent ? -shift : shift;
  }
  if (at < stop && !isBlank(*at)) return "not a number";
  // Trailing zeros of the digits move into the exponent.
  while (count > 0 && digits[count - 1] == '0') {
    --count;
    ++exponent;
  }
  if (count == 0) {
    value = 0;
    return nullptr;
  }
  if (negative) return "negative weight";
  if (exponent < 0) fraction = true;
  if (fraction) return "fractional weight";
  if (count + exponent > 18) return "number too large";
  int64_t result = 0;
  for (int k = 0; k < count; ++k) result = result * 10 + (digits[k] - '0');
  for (int64_t k = 0; k < exponent; ++k) result *= 10;
  if (result > limit) return "number too large";
  value = result;
  return nullptr;
}

}  // namespace line_fields
