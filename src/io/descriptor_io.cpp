#include "io/descriptor_io.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "base/stop_request.h"

// Reading is where a load spends its time, so a stopped load ends at its
// next read, as a failed one.
ssize_t readRetrying(int fd, char* into, size_t room) {
  if (stopRequested()) {
    errno = ECANCELED;
    return -1;
  }
  for (;;) {
    const ssize_t got = ::read(fd, into, room);
    if (got >= 0 || errno != EINTR) return got;
  }
}

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

bool writeInChunks(int fd, const char* bytes, int32_t count, int32_t chunkBytes) {
  for (int32_t at = 0; at < count; at += chunkBytes) {
    if (!writeAll(fd, bytes + at, std::min(chunkBytes, count - at))) return false;
  }
  return true;
}
