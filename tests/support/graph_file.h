#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "graph/graph_types.h"

// Graph files for tests, and the graph a file must load as.

// One "from to cost" line per edge, each ended by lineEnd.
std::string graphText(const std::vector<Edge>& edges, const std::string& lineEnd = "\n");

// The graph storage a file of these edges must give: the edges as they are
// when each source's lines stand together, else sorted by source (file order
// kept within a source); one range per node, one more than the highest label.
struct ExpectedGraph {
  std::vector<Edge> edges;
  std::vector<EdgeRange> ranges;
};
ExpectedGraph groupedBySource(const std::vector<Edge>& edges);

// Sources 0, 1, 2, ... with perSource edges each, targets below 1000.
std::vector<Edge> regularEdges(int count, int perSource);

// "first last" per line, so that ranges compare and print as text.
std::string rangesText(const EdgeRange* ranges, size_t count);

// A plain, line-by-line reading of a graph file by its rules, to hold the
// loader against: "" and the edges for a good file, else "line <k>: <reason>"
// for the first bad line.
std::string plainReading(const std::string& text, std::vector<Edge>& edges);
