#include "io/byte_source.h"

#include <unistd.h>

#include <cerrno>

ssize_t readSome(ByteSource& source, char* into, size_t room) {
  if (source.read != nullptr) {
    const ssize_t got = source.read(source.context, into, room);
    return got < 0 ? -1 : got;
  }
  for (;;) {
    const ssize_t got = ::read(source.fd, into, room);
    if (got >= 0 || errno != EINTR) return got;
  }
}
