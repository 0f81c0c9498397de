#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>

// Reads and writes on a file descriptor that go on when a signal interrupts
// them or the kernel takes fewer bytes than asked, and that wait (with
// poll) on a descriptor that does not block, as a parent may hand over
// standard input or output, instead of failing when it is not ready.

// read(2) of up to room bytes: the count, 0 at the end, -1 on an error.
// While it waits for bytes, a stop descriptor (-1: none) that becomes
// readable ends the wait: -1 then, with errno ECANCELED.
ssize_t readRetrying(int fd, char* into, size_t room, int stopFd = -1);

// Writes all count bytes; false on an error (errno says which) or when
// nothing more is taken (EIO).
bool writeAll(int fd, const char* bytes, int32_t count);

// writeAll in writes of chunkBytes, the last one shorter.
bool writeInChunks(int fd, const char* bytes, int32_t count, int32_t chunkBytes);
