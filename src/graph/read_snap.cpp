#include "graph/graph_readers.h"

using namespace line_fields;

// SNAP edge lists: "#" comment lines, then "U V" (cost 1) or "U V W" lines
// with blanks or tabs between the fields; node numbers from 0.
bool readSnap(LineScanner& lines, GraphBuilder& graph, ReadFailure& failure) {
  const char* at;
  const char* stop;
  while (lines.nextLine(at, stop)) {
    if (!nextField(at, stop) || *at == '#') continue;
    int64_t from;
    int64_t to;
    int64_t cost = 1;
    const char* reason = readNumber(at, stop, kMaxLabel, from);
    if (reason == nullptr) {
      reason = nextField(at, stop) ? readNumber(at, stop, kMaxLabel, to) : "expected 2 or 3 fields";
    }
    if (reason == nullptr && nextField(at, stop)) reason = readWeight(at, stop, kMaxCost, cost);
    if (reason == nullptr && nextField(at, stop)) reason = "expected 2 or 3 fields";
    if (reason != nullptr) return failure.at(lines.lineNumber, "%s", reason);
    if (!graph.add(static_cast<int32_t>(from), static_cast<int32_t>(to),
                   static_cast<int32_t>(cost))) {
      return failure.at(lines.lineNumber, "too many edges");
    }
  }
  return failure.afterText(lines);
}
