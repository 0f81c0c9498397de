#pragma once

#include <sys/types.h>

#include <cstddef>

// Where a reader's bytes come from: a file descriptor by default, or a
// decompressor (or any other producer) through read.
struct ByteSource {
  void* context = nullptr;
  // Reads up to room bytes; returns the count, 0 at the end, -1 on an error.
  // When null, the bytes are read from fd.
  ssize_t (*read)(void* context, char* into, size_t room) = nullptr;
  // An open descriptor, or -1. When read is null and fd is a regular file,
  // the loader may split it and read its parts in parallel.
  int fd = -1;
  // Where the source keeps why it failed, when it can say (a corrupt
  // compressed stream); a reader names it with the line it broke off in.
  const char* const* failure = nullptr;
};

// Reads up to room bytes from source, retrying reads that a signal
// interrupted. The count, 0 at the end, -1 on an error.
ssize_t readSome(ByteSource& source, char* into, size_t room);
