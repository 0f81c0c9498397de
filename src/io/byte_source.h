#pragma once

#include <sys/types.h>

#include <cstddef>

// Bytes from anywhere: a file, standard input, a decompressor. read gives up
// to room bytes, 0 at the end, -1 when the bytes cannot be had.
struct ByteSource {
  void* context;
  ssize_t (*read)(void* context, char* into, size_t room);
  int fd;  // the file itself when the bytes are a plain file's, else -1
};
