#include "io/text_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "graph/allocation.h"
#include "io/decimal_format.h"

namespace {

// Writes all bytes, continuing short writes and retrying interrupted ones.
bool writeAll(int fd, const char* bytes, int32_t count) {
  while (count > 0) {
    const ssize_t written = ::write(fd, bytes, static_cast<size_t>(count));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    count -= static_cast<int32_t>(written);
  }
  return true;
}

void reportWriteError() {
  std::fputs("writting error\n", stderr);
  std::fflush(stderr);
}

int lineLength(int32_t a, int32_t b, int32_t c) {
  return decimal::formattedLength(a) + decimal::formattedLength(b) + decimal::formattedLength(c) + 3;
}

}  // namespace

int32_t TextWriter::open(const char* path) {
  // The longest line must fit into an empty buffer, whatever the caller set.
  if (capacity < kLongestLine) capacity = kLongestLine;
  buffer = static_cast<char*>(checkedMalloc(static_cast<size_t>(capacity)));
  pending = 0;
  failed = false;
  fd = ::open(path, O_RDWR | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) {
    std::printf("Can not open file [%s]\n", path);
    std::fflush(stdout);
    std::free(buffer);
    buffer = nullptr;
    return -1;
  }
  return 0;
}

void TextWriter::flush() {
  if (!failed && !writeAll(fd, buffer, pending)) {
    failed = true;
    reportWriteError();
  }
  pending = 0;
}

void TextWriter::putLine(int32_t a, int32_t b, int32_t c) {
  const int32_t room = capacity - pending;
  // The reserve covers every line of non-negative labels and costs; only
  // ten-digit negative values make longer lines, so measure those exactly.
  if (room < reserve || (room < kLongestLine && room < lineLength(a, b, c))) flush();
  if (failed) return;
  char* out = buffer + pending;
  out = decimal::formatInt(out, a);
  *out++ = ' ';
  out = decimal::formatInt(out, b);
  *out++ = ' ';
  out = decimal::formatInt(out, c);
  *out++ = '\n';
  pending = static_cast<int32_t>(out - buffer);
}

bool TextWriter::close() {
  if (buffer == nullptr) return false;  // never opened, or the open failed
  flush();
  bool complete = !failed;
  if (::close(fd) != 0 && complete) {
    reportWriteError();
    complete = false;
  }
  fd = -1;
  std::free(buffer);
  buffer = nullptr;
  return complete;
}
