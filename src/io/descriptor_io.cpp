#include "io/descriptor_io.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "base/stop_request.h"

namespace {

bool notReadyYet(int error) { return error == EAGAIN || error == EWOULDBLOCK; }

// Waits until fd is ready for events (or hung up, or failed: the next call
// says which), or stopFd is readable. False on a stop or a failed poll.
bool waitFor(int fd, short events, int stopFd) {
  pollfd watched[2] = {{fd, events, 0}, {stopFd, POLLIN, 0}};
  for (;;) {
    const int ready = ::poll(watched, stopFd >= 0 ? 2 : 1, -1);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) return false;
    if (watched[1].revents != 0) {
      errno = ECANCELED;
      return false;
    }
    return true;
  }
}

}  // namespace

// Reading is where a load spends its time, so a stopped load (an embedding
// caller's stop request) ends at its next read, as a failed one.
ssize_t readRetrying(int fd, char* into, size_t room, int stopFd) {
  for (;;) {
    if (stopRequested()) {
      errno = ECANCELED;
      return -1;
    }
    if (stopFd >= 0 && !waitFor(fd, POLLIN, stopFd)) return -1;
    const ssize_t got = ::read(fd, into, room);
    if (got >= 0) return got;
    if (errno == EINTR) continue;
    if (!notReadyYet(errno) || !waitFor(fd, POLLIN, stopFd)) return -1;
  }
}

bool writeAll(int fd, const char* bytes, int32_t count) {
  while (count > 0) {
    const ssize_t written = ::write(fd, bytes, static_cast<size_t>(count));
    if (written < 0 && errno == EINTR) continue;
    if (written < 0 && notReadyYet(errno) && waitFor(fd, POLLOUT, -1)) continue;
    if (written == 0) errno = EIO;
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
