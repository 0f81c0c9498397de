#pragma once

#include <cstdint>

// Told how many bytes of an input were read so far (before decompression),
// as reading goes on.
struct ReadProgress {
  void (*bytesRead)(void* context, int64_t bytes) = nullptr;
  void* context = nullptr;
};
