#pragma once

#include <cstdint>

#include "graph/graph_builder.h"
#include "graph/line_scanner.h"

// The first bad line of a graph text and why it is bad.
struct ReadFailure {
  int64_t line = 0;
  char reason[160] = {};

  // Always false, so that a reader can `return failure.at(...)`.
  [[gnu::format(printf, 3, 4)]] bool at(int64_t lineNumber, const char* format, ...);
  // The scanner's own failure (a read error, a broken compressed stream), or
  // true when the text simply ended.
  bool afterText(const LineScanner& lines);
};

// One reader per format, each filling builder from the lines of one text and
// covering the node numbers its header names. False at the first bad line.
// graph/read_dimacs.cpp, graph/read_snap.cpp, graph/read_matrix_market.cpp;
// the tool's own format goes through its loader (graph/load_graph.cpp).
bool readDimacs(LineScanner& lines, GraphBuilder& graph, ReadFailure& failure);
bool readSnap(LineScanner& lines, GraphBuilder& graph, ReadFailure& failure);
bool readMatrixMarket(LineScanner& lines, GraphBuilder& graph, ReadFailure& failure);
