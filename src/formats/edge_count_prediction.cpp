#include "formats/edge_count_prediction.h"

#include <algorithm>
#include <cmath>

#include "base/allocation.h"
#include "base/messages.h"

namespace {

constexpr int64_t kSmallStep = 50;

}  // namespace

void EdgeCountPrediction::reached(int32_t lastSource, int32_t labelBound) {
  knownNodes = std::max<int64_t>(knownNodes, labelBound);
  if (lastSource != 0) {
    const auto perSource =
        static_cast<int64_t>(std::ceil(static_cast<double>(predictedEdges) / lastSource));
    if (perSource > edgesPerSource) {
      edgesPerSource = perSource;
      printLinef("INFO: increase edge multiplication to %lld", static_cast<long long>(perSource));
    }
  }
  const int64_t predicted = edgesPerSource * knownNodes;
  predictedEdges = predicted > predictedEdges ? predicted : predictedEdges + kSmallStep;
}

void replayEdgeCountPrediction(const Edge* edges, int64_t count, const LabelMark* marks,
                               int64_t markCount, int64_t mostNodes) {
  EdgeCountPrediction prediction;
  int64_t scanned = 0;  // labelBound covers edges[0, scanned)
  int32_t labelBound = -1;
  int64_t mark = 0;
  while (prediction.predictedEdges <= count) {
    const int64_t target = prediction.predictedEdges;
    // Whole stretches between marks are skipped; the rest is read.
    for (; mark < markCount && marks[mark].edgeEnd <= target; ++mark) {
      if (marks[mark].edgeEnd > scanned) {
        scanned = marks[mark].edgeEnd;
        labelBound = std::max(labelBound, marks[mark].labelBound);
      }
    }
    for (; scanned < target; ++scanned) {
      const Edge& edge = edges[scanned];
      labelBound = std::max(labelBound, std::max(edge.from, edge.to) + 1);
    }
    if (labelBound > mostNodes) failAllocation();
    prediction.reached(edges[target - 1].from, labelBound);
  }
}
