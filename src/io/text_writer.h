#pragma once

#include <cstddef>
#include <cstdint>

#include "io/decimal_format.h"

// Longest line putLine can make: three 11-character numbers, two blanks, a newline.
constexpr int32_t kLongestLine = 36;

// Writes lines of three decimal integers through one buffer, handing it to
// write(2) only when it is full and on close. Set capacity (and reserve, which
// older callers set) before open.
//
// Every write but the last is exactly capacity bytes long, so with a buffer of
// whole pages the file grows by whole pages: writes that end inside a page
// cost the kernel about twice as much. A line that does not fit the capacity
// runs on into a tail area behind it and is carried over to the next write.
struct TextWriter {
  int32_t fd = -1;
  char* buffer = nullptr;
  int32_t capacity = 0;
  int32_t pending = 0;
  int32_t reserve = 0;  // the tail area makes room for any line; kept for callers
  bool failed = false;  // a write failed: later lines are dropped, close reports false
  bool standardOutput = false;  // fd is the process's standard output, left open by close

  // Writes to standard output instead of a file. Always 0.
  int32_t openStandardOutput();

  // Creates or truncates the file (mode 0600 when new). 0 on success; -1 after
  // printing "Can not open file [path]" on standard output.
  int32_t open(const char* path);

  // Appends "a b c\n".
  void putLine(int32_t a, int32_t b, int32_t c) {
    if (pending >= capacity) writeFullBuffer();
    char* out = decimal::formatInt(buffer + pending, a);
    *out++ = ' ';
    out = decimal::formatInt(out, b);
    *out++ = ' ';
    out = decimal::formatInt(out, c);
    *out++ = '\n';
    pending = static_cast<int32_t>(out - buffer);
  }

  // Appends the bytes as they are, of any length.
  void putBytes(const char* bytes, size_t count);

  // Writes what is pending, closes the file and releases the buffer. True when
  // every line reached the file.
  bool close();

 private:
  void writeFullBuffer();
};
