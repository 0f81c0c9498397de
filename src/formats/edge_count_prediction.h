#pragma once

#include <cstdint>

#include "formats/edge_list.h"

// How the loader of old sized its edge array, kept for the lines it printed
// in verbose mode: "INFO: increase edge multiplication to <factor>". Each time
// the number of edges read reaches predictedEdges, the edges per source node
// seen so far (predictedEdges / the last edge's source, rounded up) may raise
// edgesPerSource, and the prediction becomes edgesPerSource x knownNodes, or
// 50 more when that is no more than it was.
struct EdgeCountPrediction {
  int64_t predictedEdges = 4000;
  int64_t knownNodes = 1000;  // the highest label + 1 so far, at least 1000
  int64_t edgesPerSource = 4;

  // The count reached predictedEdges; lastSource is the source of the last
  // edge read and labelBound the highest label + 1 so far. Prints the line
  // when edgesPerSource rises.
  void reached(int32_t lastSource, int32_t labelBound);
};

// The label bound (highest label + 1, or -1) of the edges before edgeEnd.
struct LabelMark {
  int64_t edgeEnd;
  int32_t labelBound;
};

// Prints the lines a sequential read of edges[0, count) would have printed.
// marks, in increasing edgeEnd, let it skip over edges instead of reading
// every label. Ends the process with "Can not allocate memory" where the
// labels read so far need more nodes than mostNodes, as a sequential read
// would have ended it there.
void replayEdgeCountPrediction(const Edge* edges, int64_t count, const LabelMark* marks,
                               int64_t markCount, int64_t mostNodes);
