#include <strings.h>

#include <cstring>

#include "formats/graph_readers.h"

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
bool readMatrixMarketHeader(LineScanner& lines, TextHeader& header, ReadFailure& failure) {
  header.format = GraphFormat::Mtx;
  const char* at;
  const char* stop;
  if (!lines.nextLine(at, stop)) return failure.afterText(lines) && failure.at(1, "empty file");
  if (!readBanner(at, stop, header.pattern, header.symmetric)) {
    return failure.at(1,
                      "unsupported Matrix Market header (supported: matrix coordinate "
                      "integer, real or pattern, general or symmetric)");
  }
  while (lines.nextLine(at, stop)) {
    if (!nextField(at, stop) || *at == '%') continue;
    const int64_t line = lines.lineNumber;
    int64_t size[3];  // rows, columns, entries
    for (int64_t& value : size) {
      if (!nextField(at, stop) || readNumber(at, stop, kMaxLabel - 1, value) != nullptr) {
        return failure.at(line, "expected the size line 'rows columns entries'");
      }
    }
    if (nextField(at, stop))
      return failure.at(line, "expected the size line 'rows columns entries'");
    header.rows = size[0];
    header.columns = size[1];
    header.records = size[2];
    header.line = line;
    return true;
  }
  if (!failure.afterText(lines)) return false;
  return failure.at(lines.lineNumber + 1, "no size line");
}

int32_t readMatrixMarketLine(const char* at, const char* stop, const TextHeader& header,
                             int64_t line, Edge* edges, ReadFailure& failure) {
  if (!nextField(at, stop) || *at == '%') return 0;
  const char* shape = header.pattern ? "expected 'i j'" : "expected 'i j value'";
  int64_t ends[2];
  for (int index = 0; index < 2; ++index) {
    if (!nextField(at, stop)) return failure.reject(line, "%s", shape);
    const char* reason = readNumber(at, stop, kAnyNumber, ends[index]);
    if (reason != nullptr) return failure.reject(line, "%s", reason);
    const int64_t bound = index == 0 ? header.rows : header.columns;
    if (ends[index] < 1 || ends[index] > bound) {
      return failure.reject(line, "%s %lld outside 1..%lld", index == 0 ? "row" : "column",
                            static_cast<long long>(ends[index]), static_cast<long long>(bound));
    }
  }
  int64_t cost = 1;
  if (!header.pattern) {
    if (!nextField(at, stop)) return failure.reject(line, "%s", shape);
    const char* reason = readWeight(at, stop, kMaxCost, cost);
    if (reason != nullptr) return failure.reject(line, "%s", reason);
  }
  if (nextField(at, stop)) return failure.reject(line, "%s", shape);
  const auto from = static_cast<int32_t>(ends[0]);
  const auto to = static_cast<int32_t>(ends[1]);
  edges[0] = Edge{from, to, static_cast<int32_t>(cost)};
  if (!header.symmetric || from == to) return 1;
  edges[1] = Edge{to, from, static_cast<int32_t>(cost)};
  return 2;
}
