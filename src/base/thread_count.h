#pragma once

#include <cstdint>

// How many threads the tool's parallel steps (loading, saving) may use: one
// per core, at least 1. The environment variable VORLINDE_THREADS, read once,
// overrides it; it exists so that the speedup per thread count can be
// measured on the real program. Tests set it directly.
int32_t threadCount();
void setThreadCount(int32_t count);
