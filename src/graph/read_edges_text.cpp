#include "graph/graph_readers.h"

using namespace line_fields;

// The tool's own format read from any text (standard input, a compressed
// file), line for line as the loader reads a file: three unsigned numbers,
// blanks around them, blank lines skipped.
bool readEdgesText(LineScanner& lines, GraphBuilder& graph, ReadFailure& failure) {
  const char* at;
  const char* stop;
  while (lines.nextLine(at, stop)) {
    if (!nextField(at, stop)) continue;
    int64_t fields[3];
    for (int index = 0; index < 3; ++index) {
      if (!nextField(at, stop)) return failure.at(lines.lineNumber, "expected 3 numbers");
      const char* reason = readNumber(at, stop, index < 2 ? kMaxLabel : kMaxCost, fields[index]);
      if (reason != nullptr) return failure.at(lines.lineNumber, "%s", reason);
    }
    if (nextField(at, stop)) return failure.at(lines.lineNumber, "expected 3 numbers");
    if (!graph.add(static_cast<int32_t>(fields[0]), static_cast<int32_t>(fields[1]),
                   static_cast<int32_t>(fields[2]))) {
      return failure.at(lines.lineNumber, "too many edges");
    }
  }
  return failure.afterText(lines);
}
