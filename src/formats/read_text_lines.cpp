#include "formats/graph_readers.h"

#include <algorithm>

#include "formats/node_memory.h"

bool readTextHeader(LineScanner& lines, TextHeader& header, ReadFailure& failure) {
  switch (header.format) {
    case GraphFormat::Dimacs:
      return readDimacsHeader(lines, header, failure);
    case GraphFormat::Mtx:
      return readMatrixMarketHeader(lines, header, failure);
    default:
      return true;
  }
}

TextLineReader textLineReaderOf(GraphFormat format) {
  switch (format) {
    case GraphFormat::Dimacs:
      return readDimacsLine;
    case GraphFormat::Mtx:
      return readMatrixMarketLine;
    default:
      return readSnapLine;
  }
}

bool recordsFit(const TextHeader& header, int64_t records, int64_t line, ReadFailure& failure) {
  if (header.records < 0 || records <= header.records) return true;
  const auto announced = static_cast<long long>(header.records);
  if (header.format == GraphFormat::Dimacs) {
    return failure.at(line, "more arcs than the %lld of the p line", announced);
  }
  return failure.at(line, "more entries than the %lld of the size line", announced);
}

bool recordsComplete(const TextHeader& header, int64_t records, ReadFailure& failure) {
  if (header.records < 0 || records == header.records) return true;
  const auto announced = static_cast<long long>(header.records);
  const auto found = static_cast<long long>(records);
  if (header.format == GraphFormat::Dimacs) {
    return failure.at(header.line, "the p line says %lld arcs, the file has %lld", announced,
                      found);
  }
  return failure.at(header.line, "the size line says %lld entries, the file has %lld", announced,
                    found);
}

int64_t mostEdgesInText(GraphFormat format, int64_t textBytes) {
  const int64_t shortestRecord = format == GraphFormat::Dimacs ? 8 : 4;  // "a 1 1 0\n", "0 0\n", "1 1\n"
  const int64_t edgesPerRecord = format == GraphFormat::Mtx ? 2 : 1;
  return (textBytes / shortestRecord + 1) * edgesPerRecord;
}

namespace {

bool nodePastMemory(int64_t line, int64_t labelBound, int64_t mostNodes, ReadFailure& failure) {
  char need[128];
  describeNodeNeed(need, sizeof need, labelBound - 1, mostNodes);
  return failure.at(line, "%s", need);
}

}  // namespace

bool readTextLines(LineScanner& lines, const TextHeader& header, const TextBounds& bounds,
                   GraphBuilder& graph, ReadFailure& failure) {
  const TextLineReader readLine = textLineReaderOf(header.format);
  graph.labelBound = header.labelBound();
  if (graph.labelBound > bounds.mostNodes) {
    return nodePastMemory(header.line, graph.labelBound, bounds.mostNodes, failure);
  }
  if (header.records >= 0) {
    const int64_t announced = header.announcedEdges();
    graph.reserveEdges(bounds.textBytes < 0
                           ? announced
                           : std::min(announced, mostEdgesInText(header.format, bounds.textBytes)));
  }
  int64_t records = 0;
  const char* at;
  const char* stop;
  while (lines.nextLine(at, stop)) {
    Edge found[2];
    const int32_t count = readLine(at, stop, header, lines.lineNumber, found, failure);
    if (count < 0) return false;
    if (count == 0) continue;
    if (!recordsFit(header, ++records, lines.lineNumber, failure)) return false;
    for (int32_t index = 0; index < count; ++index) {
      if (!graph.add(found[index].from, found[index].to, found[index].cost)) {
        return failure.at(lines.lineNumber, "too many edges");
      }
    }
    if (graph.labelBound > bounds.mostNodes) {
      return nodePastMemory(lines.lineNumber, graph.labelBound, bounds.mostNodes, failure);
    }
  }
  return failure.afterText(lines) && recordsComplete(header, records, failure);
}
