#include <strings.h>

#include <cstring>

#include "graph/graph_readers.h"

using namespace line_fields;

namespace {

constexpr int64_t kAnyNumber = int64_t{1} << 60;

// The banner's words after "%%MatrixMarket", compared without letter case.
bool readBanner(const char* at, const char* stop, bool& pattern, bool& symmetric) {
  const char* words[5];
  size_t lengths[5];
  int count = 0;
  while (nextField(at, stop)) {
    if (count == 5) return false;
    words[count] = at;
    while (at < stop && !isBlank(*at)) ++at;
    lengths[count] = static_cast<size_t>(at - words[count]);
    ++count;
  }
  const auto is = [&](int index, const char* word) {
    return lengths[index] == std::strlen(word) &&
           strncasecmp(words[index], word, lengths[index]) == 0;
  };
  if (count != 5 || !is(0, "%%MatrixMarket") || !is(1, "matrix") || !is(2, "coordinate"))
    return false;
  if (!is(3, "integer") && !is(3, "real") && !is(3, "pattern")) return false;
  if (!is(4, "general") && !is(4, "symmetric")) return false;
  pattern = is(3, "pattern");
  symmetric = is(4, "symmetric");
  return true;
}

}  // namespace

// Matrix Market coordinate files: entry (i, j) of value w is the edge i -> j
// of cost w; pattern entries cost 1; a symmetric file's entries go both ways.
bool readMatrixMarket(LineScanner& lines, GraphBuilder& graph, ReadFailure& failure) {
  const char* at;
  const char* stop;
  bool pattern = false;
  bool symmetric = false;
  if (!lines.nextLine(at, stop)) return failure.afterText(lines) && failure.at(1, "empty file");
  if (!readBanner(at, stop, pattern, symmetric)) {
    return failure.at(1,
                      "unsupported Matrix Market header (supported: matrix coordinate "
                      "integer, real or pattern, general or symmetric)");
  }
  int64_t size[3] = {-1, 0, 0};  // rows, columns, entries
  int64_t sizeLine = 0;
  int64_t entries = 0;
  while (lines.nextLine(at, stop)) {
    if (!nextField(at, stop) || *at == '%') continue;
    const int64_t line = lines.lineNumber;
    if (size[0] < 0) {
      for (int64_t& value : size) {
        if (!nextField(at, stop) || readNumber(at, stop, kMaxLabel - 1, value) != nullptr) {
          size[0] = -1;
          return failure.at(line, "expected the size line 'rows columns entries'");
        }
      }
      if (nextField(at, stop))
        return failure.at(line, "expected the size line 'rows columns entries'");
      sizeLine = line;
      graph.coverLabels((size[0] > size[1] ? size[0] : size[1]) + 1);
      graph.reserveEdges(symmetric ? 2 * size[2] : size[2]);
      continue;
    }
    int64_t ends[2];
    for (int index = 0; index < 2; ++index) {
      if (!nextField(at, stop))
        return failure.at(line, pattern ? "expected 'i j'" : "expected 'i j value'");
      const char* reason = readNumber(at, stop, kAnyNumber, ends[index]);
      if (reason != nullptr) return failure.at(line, "%s", reason);
      if (ends[index] < 1 || ends[index] > size[index]) {
        return failure.at(line, "%s %lld outside 1..%lld", index == 0 ? "row" : "column",
                          static_cast<long long>(ends[index]), static_cast<long long>(size[index]));
      }
    }
    int64_t cost = 1;
    if (!pattern) {
      if (!nextField(at, stop)) return failure.at(line, "expected 'i j value'");
      const char* reason = readWeight(at, stop, kMaxCost, cost);
      if (reason != nullptr) return failure.at(line, "%s", reason);
    }
    if (nextField(at, stop))
      return failure.at(line, pattern ? "expected 'i j'" : "expected 'i j value'");
    if (++entries > size[2]) {
      return failure.at(line, "more entries than the %lld of the size line",
                        static_cast<long long>(size[2]));
    }
    const auto from = static_cast<int32_t>(ends[0]);
    const auto to = static_cast<int32_t>(ends[1]);
    bool added = graph.add(from, to, static_cast<int32_t>(cost));
    if (symmetric && from != to) added = added && graph.add(to, from, static_cast<int32_t>(cost));
    if (!added) return failure.at(line, "too many edges");
  }
  if (!failure.afterText(lines)) return false;
  if (size[0] < 0) return failure.at(lines.lineNumber + 1, "no size line");
  if (entries != size[2]) {
    return failure.at(sizeLine, "the size line says %lld entries, the file has %lld",
                      static_cast<long long>(size[2]), static_cast<long long>(entries));
  }
  return true;
}
