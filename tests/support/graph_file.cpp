#include "support/graph_file.h"

#include <algorithm>

std::string graphText(const std::vector<Edge>& edges, const std::string& lineEnd) {
  std::string text;
  for (const Edge& edge : edges) {
    text += std::to_string(edge.from) + ' ' + std::to_string(edge.to) + ' ' +
            std::to_string(edge.cost) + lineEnd;
  }
  return text;
}

ExpectedGraph groupedBySource(const std::vector<Edge>& edges) {
  int32_t highest = 0;
  for (const Edge& edge : edges) highest = std::max({highest, edge.from, edge.to});
  ExpectedGraph graph;
  graph.ranges.assign(static_cast<size_t>(highest) + 1, EdgeRange{-1, -1});
  graph.edges = edges;
  // Groups that stand together keep their file order; otherwise the edges are
  // sorted by source, file order kept within a source.
  std::vector<bool> seen(graph.ranges.size(), false);
  bool split = false;
  for (size_t index = 0; index < edges.size(); ++index) {
    const auto source = static_cast<size_t>(edges[index].from);
    if (index > 0 && edges[index - 1].from != edges[index].from && seen[source]) split = true;
    seen[source] = true;
  }
  if (split) {
    std::stable_sort(graph.edges.begin(), graph.edges.end(),
                     [](const Edge& a, const Edge& b) { return a.from < b.from; });
  }
  for (size_t index = 0; index < graph.edges.size(); ++index) {
    EdgeRange& range = graph.ranges[static_cast<size_t>(graph.edges[index].from)];
    if (range.first == -1) range.first = static_cast<int32_t>(index);
    range.last = static_cast<int32_t>(index);
  }
  return graph;
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
