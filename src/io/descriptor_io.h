#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>

// Reads and writes on a file descriptor that go on when a signal interrupts
// them or the kernel takes fewer bytes than asked.

// read(2) of up to room bytes: the count, 0 at the end, -1 on an error.
ssize_t readRetrying(int fd, char* into, size_t room);

// Writes all count bytes; false on an error or when nothing more is taken.
bool writeAll(int fd, const char* bytes, int32_t count);

// writeAll in writes of chunkBytes, the last one shorter.
bool writeInChunks(int fd, const char* bytes, int32_t count, int32_t chunkBytes);
