#pragma once

#include <cstdint>

// Writes lines of three decimal integers through one buffer, handing it to
// write(2) only when it is nearly full and on close. Set capacity and reserve
// before open.
struct TextWriter {
  int32_t fd = -1;
  char* buffer = nullptr;
  int32_t capacity = 0;
  int32_t pending = 0;
  int32_t reserve = 0;
  bool failed = false;  // a write failed: later lines are dropped, close reports false

  // Creates or truncates the file (mode 0600 when new). 0 on success; -1 after
  // printing "Can not open file [path]" on standard output.
  int32_t open(const char* path);

  // Appends "a b c\n".
  void putLine(int32_t a, int32_t b, int32_t c);

  // Writes what is pending, closes the file and releases the buffer. True when
  // every line reached the file.
  bool close();

 private:
  void flush();
};

// Longest line putLine can make: three 11-character numbers, two blanks, a newline.
constexpr int32_t kLongestLine = 36;
