#pragma once

#include <cstdint>

#include "formats/edge_list.h"
#include "io/byte_source.h"
#include "io/read_progress.h"
#include "io/text_reader.h"

// Bytes per read of a graph file: few enough calls that their cost vanishes,
// and a buffer that stays in the core's own cache.
constexpr int32_t kGraphReadBytes = 128 * 1024;

// Room for edges before a file of known size is read: lines take at least 6
// bytes ("0 0 0\n"); those of a generated graph about 25, so room for one
// edge per 16 bytes seldom has to grow.
constexpr int64_t kShortestLineBytes = 6;
constexpr int64_t kUsualLineBytes = 16;

// How the tool's own format is read: the digit table of the line scan, and
// whether to print the verbose lines of the loader of old.
struct EdgeFileReading {
  const int32_t* powersOfTen = nullptr;  // 10^0 .. 10^9
  bool verbose = false;
  ReadProgress progress;  // hears how far a file read in parts has come
  // A label that needs more memory than there is (formats/node_memory.h)
  // makes a bad line that names the need, instead of ending the process
  // with "Can not allocate memory" as `vorlinde` does.
  bool namesNodeNeed = false;
};

// A status beside those of the line scan (io/text_reader.h): the line at
// badLineNumber names a label past the nodes memory can hold; labelBound is
// that label + 1.
constexpr int32_t kLabelPastMemory = -4;

// What reading the edge lines of a graph file gave: the edges themselves are
// in the list, in file order, up to the first bad line.
struct EdgeReading {
  int64_t count = 0;
  int32_t labelBound = -1;  // highest label + 1 among them; -1 for no edge
  int32_t status = kEndOfInput;  // kEndOfInput, kBadLine or kReadFailed
  int64_t badLineNumber = 0;  // also where a failed read struck
  const char* badLineReason = nullptr;
};

// The edge lines of the tool's own format, by one thread from any source
// (formats/read_edges_in_order.cpp), or by several from parts of a regular
// file (formats/read_edges_in_parallel.cpp, on formats/parted_read.h).
// Labels may reach mostNodes - 1: the reading in order stops at the first
// line past that with kLabelPastMemory; the reading in parts reads on, and
// its labelBound tells.
EdgeReading readEdgesInOrder(ByteSource& source, int64_t fileBytes, const EdgeFileReading& how,
                             int64_t mostNodes, EdgeList& list);
EdgeReading readEdgesInParallel(int fd, int64_t fileBytes, const EdgeFileReading& how,
                                int64_t mostNodes, EdgeList& list);
