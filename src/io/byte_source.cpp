#include "io/byte_source.h"

#include "io/descriptor_io.h"

ssize_t readSome(ByteSource& source, char* into, size_t room) {
  if (source.read != nullptr) {
    const ssize_t got = source.read(source.context, into, room);
    return got < 0 ? -1 : got;
  }
  return readRetrying(source.fd, into, room);
}
