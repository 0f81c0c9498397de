#pragma once

#include <cstdio>

// The reader and the writer say on standard output that a file cannot be
// opened; scripts that watch that stream rely on the bracketed form.
inline void reportCannotOpen(const char* path) {
  std::printf("Can not open file [%s]\n", path);
  std::fflush(stdout);
}
