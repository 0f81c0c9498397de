#include "support/graph_file.h"

#include <algorithm>
#include <cstdint>
#include <sstream>

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
  std::istringstream lines(text);
  int line = 0;
  for (std::string content; std::getline(lines, content);) {
    // A CR is part of the line end only before an LF; eof means the last line had none.
    if (!lines.eof() && !content.empty() && content.back() == '\r') content.pop_back();
    const std::string where = "line " + std::to_string(++line) + ": ";
    std::vector<int64_t> numbers;
    for (size_t at = 0; at < content.size();) {
      if (content[at] == ' ' || content[at] == '\t') {
        ++at;
        continue;
      }
      if (content[at] < '0' || content[at] > '9') return where + "not a number";
      if (numbers.size() == 3) return where + "expected 3 numbers";
      const size_t end = std::min(content.find_first_not_of("0123456789", at), content.size());
      while (at + 1 < end && content[at] == '0') ++at;  // leading zeros
      if (end - at > 10) return where + "number too large";
      numbers.push_back(std::stoll(content.substr(at, end - at)));
      if (numbers.back() > (numbers.size() < 3 ? 2147483646 : 2147483647)) return where + "number too large";
      at = end;
    }
    if (numbers.size() == 3) {
      edges.push_back(Edge{static_cast<int32_t>(numbers[0]), static_cast<int32_t>(numbers[1]),
                           static_cast<int32_t>(numbers[2])});
    } else if (!numbers.empty()) {
      return where + "expected 3 numbers";
    }
  }
  return "";
}
