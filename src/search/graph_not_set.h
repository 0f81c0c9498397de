#pragma once

#include <cstdio>

#include "base/messages.h"

// Both searches refuse to run without a graph, in the same words.
inline void reportGraphNotSet() {
  printLinef("ERROR: Can not solve. Graph is not set.");
}
