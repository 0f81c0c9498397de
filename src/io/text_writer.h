#pragma once

#include <cstddef>
#include <cstdint>

#include "io/decimal_format.h"
#include "io/output_file.h"
#include "io/output_messages.h"

struct BackgroundWriter;

// Longest line putLine can make: three 11-character numbers, two blanks, a newline.
constexpr int32_t kLongestLine = 36;

// Writes lines of three decimal integers through one buffer, handing it to
// write(2) only when it is full and on close. Set capacity before open.
//
// Every write but the last is exactly capacity bytes long, so with a buffer of
// whole pages the file grows by whole pages: writes that end inside a page
// cost the kernel about twice as much. A line that does not fit the capacity
// runs on into a tail area behind it and is carried over to the next write.
//
// Once a file is longer than one buffer, and more than one thread may run, a
// second batch of buffers is filled while a thread of the writer's own writes
// the first (double buffering): formatting and writing then run on two cores.
struct TextWriter {
  OutputFile output;
  int32_t fd = -1;  // output.fd while open
  char* buffer = nullptr;
  int32_t capacity = 0;
  int32_t pending = 0;
  bool failed = false;  // a write failed: later lines are dropped, close reports false
  // Bytes gathered before they go out: capacity, or while a background writer
  // runs, a batch of whole capacities handed to it at once, so that the two
  // threads seldom have to wait for each other.
  int32_t fillLimit = 0;
  char* spareBuffer = nullptr;  // the other batch, while a background writer runs
  BackgroundWriter* background = nullptr;
  bool backgroundTried = false;  // once: a thread that cannot start is not asked for again
  bool standardOutput = false;  // fd is the process's standard output, left open by close
  // How failures are told (io/output_messages.h); set before open.
  OutputMessages messages = OutputMessages::Tool;
  const char* name = nullptr;  // the output in messages: its path, or "standard output"

  TextWriter() = default;
  // A writer not closed (a failure unwound past it) leaves the old file.
  ~TextWriter();
  TextWriter(const TextWriter&) = delete;
  TextWriter& operator=(const TextWriter&) = delete;

  // Writes to standard output instead of a file. Always 0.
  int32_t openStandardOutput();

  // Opens the output (io/output_file.h: a regular file is replaced whole on
  // close, and only then; a new one gets mode 0600). 0 on success; -1 after
  // printing why as messages says. path must outlive the writer.
  int32_t open(const char* path);

  // Appends "a b c\n".
  void putLine(int32_t a, int32_t b, int32_t c) {
    if (pending >= fillLimit) writeFullBuffer();
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
  void prepareBuffer(bool toStandardOutput);
  void startBackground();
  int stopBackground();
  void fail(int errorNumber);
};
