#include <cstdarg>
#include <cstdio>

#include "graph/graph_readers.h"

bool ReadFailure::at(int64_t lineNumber, const char* format, ...) {
  line = lineNumber;
  va_list args;
  va_start(args, format);
  std::vsnprintf(reason, sizeof reason, format, args);
  va_end(args);
  return false;
}

bool ReadFailure::afterText(const LineScanner& lines) {
  if (lines.failure == nullptr) return true;
  return at(lines.lineNumber, "%s", lines.failure);
}
