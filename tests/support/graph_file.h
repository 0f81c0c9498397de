#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "graph/graph_types.h"

// Graph files for tests.

// One "from to cost" line per edge.
std::string graphText(const std::vector<Edge>& edges);

// "first last" per node, so that ranges compare and print as text.
std::string rangesText(const EdgeRange* ranges, size_t count);

// Sources 0, 1, 2, ... with perSource edges each, targets below 1000.
std::vector<Edge> regularEdges(int count, int perSource);

// A plain line-by-line reading of a graph file by its rules, to hold the
// loader against: "" and the edges for a good file, else "line <k>: <reason>"
// for the first bad line.
std::string plainReading(const std::string& text, std::vector<Edge>& edges);
