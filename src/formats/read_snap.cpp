#include "formats/graph_readers.h"

using namespace line_fields;

// SNAP edge lists: "#" comment lines, then "U V" (cost 1) or "U V W" lines
// with blanks or tabs between the fields; node numbers from 0.
int32_t readSnapLine(const char* at, const char* stop, const TextHeader&, int64_t line,
                     Edge* edges, ReadFailure& failure) {
  if (!nextField(at, stop) || *at == '#') return 0;
  int64_t from;
  int64_t to;
  int64_t cost = 1;
  const char* reason = readNumber(at, stop, kMaxLabel, from);
  if (reason == nullptr) {
    reason = nextField(at, stop) ? readNumber(at, stop, kMaxLabel, to) : "expected 2 or 3 fields";
  }
  if (reason == nullptr && nextField(at, stop)) reason = readWeight(at, stop, kMaxCost, cost);
  if (reason == nullptr && nextField(at, stop)) reason = "expected 2 or 3 fields";
  if (reason != nullptr) return failure.reject(line, "%s", reason);
  edges[0] = Edge{static_cast<int32_t>(from), static_cast<int32_t>(to), static_cast<int32_t>(cost)};
  return 1;
}
