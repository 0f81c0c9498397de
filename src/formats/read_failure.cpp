#include <cstdarg>
#include <cstdio>

#include "formats/graph_readers.h"

void ReadFailure::describe(int64_t lineNumber, const char* format, va_list args) {
  line = lineNumber;
  std::vsnprintf(reason, sizeof reason, format, args);
}

bool ReadFailure::at(int64_t lineNumber, const char* format, ...) {
  va_list args;
  va_start(args, format);
  describe(lineNumber, format, args);
  va_end(args);
  return false;
}

int32_t ReadFailure::reject(int64_t lineNumber, const char* format, ...) {
  va_list args;
  va_start(args, format);
  describe(lineNumber, format, args);
  va_end(args);
  return -1;
}

bool ReadFailure::afterText(const LineScanner& lines) {
  if (lines.failure == nullptr) return true;
  return at(lines.lineNumber, "%s", lines.failure);
}
