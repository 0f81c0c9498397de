#include <cstring>

#include "graph/graph_readers.h"

using namespace line_fields;

namespace {

constexpr int64_t kAnyNumber = int64_t{1} << 60;

// The keyword at `at` as a whole field.
bool takeWord(const char*& at, const char* stop, const char* word) {
  const size_t length = std::strlen(word);
  if (static_cast<size_t>(stop - at) < length || std::memcmp(at, word, length) != 0) return false;
  if (at + length < stop && !isBlank(at[length])) return false;
  at += length;
  return true;
}

}  // namespace

// The 9th DIMACS challenge's shortest-path graphs: "c" comment lines, one
// "p sp N M" line, then M "a U V W" arc lines with U and V in 1..N.
bool readDimacs(LineScanner& lines, GraphBuilder& graph, ReadFailure& failure) {
  int64_t nodeTotal = -1;
  int64_t arcTotal = 0;
  int64_t problemLine = 0;
  int64_t arcs = 0;
  const char* at;
  const char* stop;
  while (lines.nextLine(at, stop)) {
    if (!nextField(at, stop) || *at == 'c') continue;
    const int64_t line = lines.lineNumber;
    const bool arc = *at == 'a' && (at + 1 == stop || isBlank(at[1]));
    if (!arc && takeWord(at, stop, "p")) {
      if (nodeTotal >= 0) return failure.at(line, "a second p line");
      if (!nextField(at, stop) || !takeWord(at, stop, "sp") || !nextField(at, stop) ||
          readNumber(at, stop, kMaxLabel - 1, nodeTotal) != nullptr || !nextField(at, stop) ||
          readNumber(at, stop, INT32_MAX, arcTotal) != nullptr || nextField(at, stop)) {
        nodeTotal = -1;
        return failure.at(line, "expected 'p sp N M' with N nodes and M arcs");
      }
      problemLine = line;
      graph.coverLabels(nodeTotal + 1);
      graph.reserveEdges(arcTotal);
      continue;
    }
    if (!arc) return failure.at(line, "expected a 'c', 'p' or 'a' line");
    ++at;
    if (nodeTotal < 0) return failure.at(line, "an arc before the p line");
    int64_t ends[2];
    for (int64_t& end : ends) {
      if (!nextField(at, stop)) return failure.at(line, "expected 'a U V W'");
      const char* reason = readNumber(at, stop, kAnyNumber, end);
      if (reason != nullptr) return failure.at(line, "%s", reason);
      if (end < 1 || end > nodeTotal) {
        return failure.at(line, "node %lld outside 1..%lld", static_cast<long long>(end),
                          static_cast<long long>(nodeTotal));
      }
    }
    int64_t cost;
    if (!nextField(at, stop)) return failure.at(line, "expected 'a U V W'");
    const char* reason = readWeight(at, stop, kMaxCost, cost);
    if (reason != nullptr) return failure.at(line, "%s", reason);
    if (nextField(at, stop)) return failure.at(line, "expected 'a U V W'");
    if (++arcs > arcTotal) {
      return failure.at(line, "more arcs than the %lld of the p line",
                        static_cast<long long>(arcTotal));
    }
    graph.add(static_cast<int32_t>(ends[0]), static_cast<int32_t>(ends[1]),
              static_cast<int32_t>(cost));
  }
  if (!failure.afterText(lines)) return false;
  if (nodeTotal < 0) return failure.at(lines.lineNumber + 1, "no 'p sp N M' line");
  if (arcs != arcTotal) {
    return failure.at(problemLine, "the p line says %lld arcs, the file has %lld",
                      static_cast<long long>(arcTotal), static_cast<long long>(arcs));
  }
  return true;
}
