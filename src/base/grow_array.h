#pragma once

#include <cstddef>

// Enlarges a malloc'ed array to newBytes, keeping its first keptBytes.
//
// Small arrays simply go through realloc. A large one gets a fresh block that
// is advised for huge pages before anything touches it, and the kept bytes
// are copied over: first touches of fresh memory dominate loading a big graph,
// and realloc's own fresh block would be touched (by its copy) before any
// advice could reach it. Fails like every allocation here: "Can not allocate
// memory" and exit -1.
void* growArray(void* block, std::size_t keptBytes, std::size_t newBytes);
