#include <bit>
#include <cstring>

#include "formats/graph_readers.h"
#include "io/digit_scan.h"

// The 9th DIMACS challenge's shortest-path graphs: "c" comment lines, one
// "p sp N M" line, then M "a U V W" arc lines with U and V in 1..N.

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

bool isArcLine(const char* at, const char* stop) {
  return *at == 'a' && (at + 1 == stop || isBlank(at[1]));
}

constexpr int32_t kPowersOfTen[10] = {1,      10,      100,      1000,      10000,
                                      100000, 1000000, 10000000, 100000000, 1000000000};

// Nearly every arc line is "a U V W" with single spaces and plain digits:
// those are read here from one look at their 32 bytes after "a " (a line
// scanner's buffer allows the look past the line), and any other line by the
// general rules, which give the same arc for every line this takes.
bool readPlainArc(const char* at, const char* stop, int64_t nodes, Edge& arc) {
  if (stop - at < 7 || at[0] != 'a' || at[1] != ' ') return false;
  uint64_t values[3] = {};
  if (digit_scan::threeNumbers(at + 2, kPowersOfTen, values) != stop) return false;
  const auto [from, to, cost] = values;
  const auto most = static_cast<uint64_t>(nodes);
  if (from < 1 || from > most || to < 1 || to > most || cost > kMaxCost) return false;
  arc = Edge{static_cast<int32_t>(from), static_cast<int32_t>(to), static_cast<int32_t>(cost)};
  return true;
}

}  // namespace

bool readDimacsHeader(LineScanner& lines, TextHeader& header, ReadFailure& failure) {
  header.format = GraphFormat::Dimacs;
  const char* at;
  const char* stop;
  while (lines.nextLine(at, stop)) {
    if (!nextField(at, stop) || *at == 'c') continue;
    const int64_t line = lines.lineNumber;
    if (isArcLine(at, stop)) return failure.at(line, "an arc before the p line");
    if (!takeWord(at, stop, "p")) return failure.at(line, "expected a 'c', 'p' or 'a' line");
    int64_t nodes;
    int64_t arcs;
    if (!nextField(at, stop) || !takeWord(at, stop, "sp") || !nextField(at, stop) ||
        readNumber(at, stop, kMaxLabel - 1, nodes) != nullptr || !nextField(at, stop) ||
        readNumber(at, stop, INT32_MAX, arcs) != nullptr || nextField(at, stop)) {
      return failure.at(line, "expected 'p sp N M' with N nodes and M arcs");
    }
    header.rows = header.columns = nodes;
    header.records = arcs;
    header.line = line;
    return true;
  }
  if (!failure.afterText(lines)) return false;
  return failure.at(lines.lineNumber + 1, "no 'p sp N M' line");
}

int32_t readDimacsLine(const char* at, const char* stop, const TextHeader& header, int64_t line,
                       Edge* edges, ReadFailure& failure) {
  if (readPlainArc(at, stop, header.rows, edges[0])) return 1;
  if (!nextField(at, stop) || *at == 'c') return 0;
  if (!isArcLine(at, stop)) {
    if (takeWord(at, stop, "p")) return failure.reject(line, "a second p line");
    return failure.reject(line, "expected a 'c', 'p' or 'a' line");
  }
  ++at;
  int64_t ends[2];
  for (int64_t& end : ends) {
    if (!nextField(at, stop)) return failure.reject(line, "expected 'a U V W'");
    const char* reason = readNumber(at, stop, kAnyNumber, end);
    if (reason != nullptr) return failure.reject(line, "%s", reason);
    if (end < 1 || end > header.rows) {
      return failure.reject(line, "node %lld outside 1..%lld", static_cast<long long>(end),
                        static_cast<long long>(header.rows));
    }
  }
  int64_t cost;
  if (!nextField(at, stop)) return failure.reject(line, "expected 'a U V W'");
  const char* reason = readWeight(at, stop, kMaxCost, cost);
  if (reason != nullptr) return failure.reject(line, "%s", reason);
  if (nextField(at, stop)) return failure.reject(line, "expected 'a U V W'");
  edges[0] = Edge{static_cast<int32_t>(ends[0]), static_cast<int32_t>(ends[1]),
                  static_cast<int32_t>(cost)};
  return 1;
}
