#include <cstring>

#include "base/messages.h"
#include "formats/graph_input.h"
#include "graph/binary_graph.h"
#include "graph/shortest_path_solver.h"

bool ShortestPathSolver::loadGraph(const char* path, const ReadProgress& progress) {
  clear();
  EdgeList list;
  if (!readEdgeFile(path, EdgeFileReading{powersOfTen, verbose, progress}, list)) return false;
  takeEdges(list);
  return true;
}

bool ShortestPathSolver::loadGraphFrom(ByteSource& source, const char* path,
                                       const ReadProgress& progress) {
  clear();
  EdgeList list;
  if (!readEdgesFrom(source, path, EdgeFileReading{powersOfTen, verbose, progress}, list)) {
    return false;
  }
  takeEdges(list);
  return true;
}

bool ShortestPathSolver::readGraph(const char* path, GraphFormat format, int32_t& firstNode,
                                   const ReadProgress& progress) {
  // A binary graph is mapped from its file, so only a file that can be
  // mapped is looked at; from standard input the formats room refuses it.
  const bool fromFile = std::strcmp(path, "-") != 0;
  if (fromFile && (format == GraphFormat::Binary || startsAsBinaryGraph(path))) {
    if (format == GraphFormat::Auto || format == GraphFormat::Binary) {
      return mapBinaryGraph(path, firstNode);
    }
    clear();
    printLinef("ERROR: Bad graph file %s: a binary graph file, not of the format %s", path,
               graphFormatName(format));
    return false;
  }
  clear();
  EdgeList list;
  if (!readGraphFile(path, format, EdgeFileReading{powersOfTen, verbose, progress}, list,
                     firstNode)) {
    return false;
  }
  takeEdges(list);
  return true;
}

void ShortestPathSolver::takeEdges(EdgeList& list) {
  edgeCount = static_cast<int32_t>(list.count);
  nodeCount = list.nodeCount;
  edges = list.release();
  if (!indexEdgeRanges()) {
    if (verbose) {
      printLine("INFO: lines of one source node were not together; edges regrouped by source node");
    }
    regroupEdgesBySource();
  }
  graphSet = true;
}
