#include "support/graph_file.h"

#include <cstdint>

std::string graphText(const std::vector<Edge>& edges) {
  std::string text;
  for (const Edge& edge : edges) {
    text += std::to_string(edge.from) + ' ' + std::to_string(edge.to) + ' ' +
            std::to_string(edge.cost) + '\n';
  }
  return text;
}

std::vector<Edge> regularEdges(int count, int perSource) {
  std::vector<Edge> edges;
  for (int index = 0; index < count; ++index) {
    const int32_t source = index / perSource;
    edges.push_back(Edge{source, (source * 7 + index * 13) % 1000, index % 97 + 1});
  }
  return edges;
}

std::string rangesText(const EdgeRange* ranges, size_t count) {
  std::string text;
  for (size_t node = 0; node < count; ++node) {
    text += std::to_string(ranges[node].first) + ' ' + std::to_string(ranges[node].last) + '\n';
  }
  return text;
}

std::string plainReading(const std::string& text, std::vector<Edge>& edges) {
  edges.clear();
  size_t start = 0;
  for (int64_t line = 1; start < text.size(); ++line) {
    const size_t newline = text.find('\n', start);
    const bool ended = newline != std::string::npos;
    std::string content = text.substr(start, (ended ? newline : text.size()) - start);
    if (ended && !content.empty() && content.back() == '\r') content.pop_back();
    const std::string where = "line " + std::to_string(line) + ": ";
    std::vector<uint64_t> numbers;
    size_t at = 0;
    while (at < content.size()) {
      const char byte = content[at];
      if (byte == ' ' || byte == '\t') {
        ++at;
        continue;
      }
      if (byte < '0' || byte > '9') return where + "not a number";
      if (numbers.size() == 3) return where + "expected 3 numbers";
      size_t digitsEnd = at;
      while (digitsEnd < content.size() && content[digitsEnd] >= '0' && content[digitsEnd] <= '9') {
        ++digitsEnd;
      }
      if (digitsEnd - at > 10) return where + "number too large";
      const uint64_t value = std::stoull(content.substr(at, digitsEnd - at));
      if (value > (numbers.size() < 2 ? 2147483646u : 2147483647u)) {
        return where + "number too large";
      }
      numbers.push_back(value);
      at = digitsEnd;
    }
    if (numbers.size() == 3) {
      edges.push_back(Edge{static_cast<int32_t>(numbers[0]), static_cast<int32_t>(numbers[1]),
                           static_cast<int32_t>(numbers[2])});
    } else if (!numbers.empty()) {
      return where + "expected 3 numbers";
    }
    if (!ended) break;
    start = newline + 1;
  }
  return "";
}
