#pragma once

#include <cstddef>
#include <cstdint>

#include "io/decimal_format.h"
#include "io/output_file.h"

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
  OutputFile output;
  int32_t fd = -1;  // output.fd while open
  char* buffer = nullptr;
  int32_t capacity = 0;
  int32_t pending = 0;
  int32_t reserve = 0;  // the tail area makes room for any line; kept for callers
  bool failed = false;  // a write failed: later lines are dropped, close reports false
  bool standardOutput = false;  // fd is the process's standard output, left open by close

  // Writes to standard output instead of a file. Always 0.
  int32_t openStandardOutput();

  // Opens the output (io/output_file.h: a regular file is replaced whole on
  // close, and only then; a new one gets mode 0600). 0 on success; -1 after
  // printing why, "Can not open file [path]" on standard output as a rule.
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
  // every line reached the file, which then replaces the old one; otherwise
  // the old file stays untouched.
  bool close();

 private:
  void writeFullBuffer();
};
