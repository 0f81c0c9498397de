#pragma once

#include <cstdint>

// How loading is shared out among threads. A regular file is cut into parts
// of partBytes, each parsed by one of the threads; a file of one part, or a
// single thread, is read in order by the calling thread. The node ranges are
// indexed by two threads from sharedIndexEdges edges on.
struct LoadSplitting {
  int32_t threads = 0;  // 0: threadCount()
  int64_t partBytes = int64_t{2} << 20;  // small enough to stay in cache until put in place
  int64_t sharedIndexEdges = int64_t{1} << 20;  // fewer are quicker to index than to start a thread

  int32_t threadsInForce() const;
  // Whether a text of this many bytes (of a regular file) is read in parts.
  bool splits(int64_t textBytes) const { return threadsInForce() > 1 && textBytes > partBytes; }
};

// The splitting in force. Tests cut small files into parts of a few bytes.
LoadSplitting& loadSplitting();
