#include "io/text_writer.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/allocation.h"
#include "base/messages.h"

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
  printLinef("writting error");
}

// Room behind capacity for a line started just before it, and for the bytes
// the number formatting stores beyond its text.
constexpr size_t kTailBytes = kLongestLine + decimal::kStoreSlack;

}  // namespace

int32_t TextWriter::open(const char* path) {
  if (capacity < 1) capacity = 1;
  buffer = static_cast<char*>(checkedMalloc(static_cast<size_t>(capacity) + kTailBytes));
  pending = 0;
  failed = false;
  standardOutput = false;
  if (openOutputFile(output, path) != 0) {
    std::free(buffer);
    buffer = nullptr;
    return -1;
  }
  fd = output.fd;
  return 0;
}

int32_t TextWriter::openStandardOutput() {
  if (capacity < 1) capacity = 1;
  buffer = static_cast<char*>(checkedMalloc(static_cast<size_t>(capacity) + kTailBytes));
  pending = 0;
  failed = false;
  standardOutput = true;
  fd = STDOUT_FILENO;
  return 0;
}

void TextWriter::putBytes(const char* bytes, size_t count) {
  while (count > 0) {
    if (pending >= capacity) writeFullBuffer();
    const size_t room = static_cast<size_t>(capacity - pending);
    const size_t part = count < room ? count : room;
    std::memcpy(buffer + pending, bytes, part);
    pending += static_cast<int32_t>(part);
    bytes += part;
    count -= part;
  }
}

// After a failed write the buffer is still filled and emptied, but nothing
// more reaches the file: the lines after the failure are dropped.
void TextWriter::writeFullBuffer() {
  int32_t written = 0;
  while (pending - written >= capacity) {  // more than once only for tiny buffers
    if (!failed && !writeAll(fd, buffer + written, capacity)) {
      failed = true;
      reportWriteError();
    }
    written += capacity;
  }
  pending -= written;
  std::memmove(buffer, buffer + written, static_cast<size_t>(pending));
}

bool TextWriter::close() {
  if (buffer == nullptr) return false;  // never opened, or the open failed
  if (!failed && !writeAll(fd, buffer, pending)) {
    failed = true;
    reportWriteError();
  }
  pending = 0;
  bool complete = !failed;
  if (standardOutput) {
    // Standard output stays open: it belongs to the process.
  } else if (!complete) {
    abandonOutputFile(output);
  } else if (!commitOutputFile(output)) {
    reportWriteError();
    complete = false;
  }
  fd = -1;
  std::free(buffer);
  buffer = nullptr;
  return complete;
}
