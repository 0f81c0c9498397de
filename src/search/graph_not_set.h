#pragma once

#include <cstdio>

// Both searches refuse to run without a graph, in the same words.
inline void reportGraphNotSet() {
  std::fputs("ERROR: Can not solve. Graph is not set.\n", stderr);
  std::fflush(stderr);
}
