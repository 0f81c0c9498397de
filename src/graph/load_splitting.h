#pragma once

#include <cstdint>

// How a regular file is shared out among threads when loaded: cut into parts
// of partBytes, each parsed by one of the threads. A file of one part, or a
// single thread, is read in order by the calling thread.
struct LoadSplitting {
  int32_t threads = 0;  // 0: threadCount()
  int64_t partBytes = int64_t{2} << 20;  // small enough to stay in cache until put in place
};

// The splitting in force. Tests cut small files into parts of a few bytes.
LoadSplitting& loadSplitting();
