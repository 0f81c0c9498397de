#include <cstdio>

#include "base/allocation.h"
#include "graph/shortest_path_solver.h"
#include "solution/loaded_solution.h"
#include "base/messages.h"

// A given solution passes when it names every node once, agrees on every
// cost, and each predecessor that differs from ours still makes a valid
// shortest-path tree. Only the first disagreement is reported.

namespace {

constexpr int32_t kNotSeen = -1;

void reportPredecessorRejected(int32_t node, int32_t pred, int32_t rightPred) {
  printLinef("ERROR: Wrong pred of node %d it is %d but right pred is %d", node, pred,
               rightPred);
}

// The rule behind checkPredecessor, with the given cost of pred already looked
// up. An alternative predecessor is accepted only over an edge that makes the
// path as cheap as ours; an unreached pred (cost -1) can never be one.
bool acceptPredecessor(const ShortestPathSolver& solver, int32_t node, int32_t pred,
                       int32_t givenPredCost) {
  const int32_t rightPred = solver.results[node].pred;
  if (pred < 0 || pred >= solver.searchNodeCount || givenPredCost != solver.results[pred].cost ||
      rightPred == -1) {
    reportPredecessorRejected(node, pred, rightPred);
    return false;
  }

  const int32_t predCost = solver.results[pred].cost;
  const int32_t nodeCost = solver.results[node].cost;
  bool edgeFound = false;
  if (solver.edgeRanges != nullptr && pred < solver.nodeCount) {
    const EdgeRange range = solver.edgeRanges[pred];
    for (int32_t index = range.first; index >= 0 && index <= range.last; ++index) {
      const Edge& edge = solver.edges[index];
      if (edge.to != node) continue;
      edgeFound = true;
      if (predCost >= 0 && int64_t{predCost} + edge.cost == nodeCost) return true;
    }
  }

  if (edgeFound) {
    printLinef("ERROR: Wrong pred of node %d is %d but no edge from %d to %d gives cost %d",
                 node, pred, pred, node, nodeCost);
  } else {
    printLinef("ERROR: Wrong pred of node %d is %d but graph does not contain edge from %d to %d",
                 node, pred, pred, node);
  }
  return false;
}

// Fills lineOfLabel and reports the first label that is out of range or
// repeated. With record.count == n, passing means the labels are 0..n-1.
bool labelsAreUnique(const LoadedSolution& record, int32_t count, int32_t* lineOfLabel) {
  for (int32_t label = 0; label < count; ++label) lineOfLabel[label] = kNotSeen;
  for (int32_t line = 0; line < record.count; ++line) {
    const int32_t label = record.entries[line].label;
    const char* problem = nullptr;
    if (label < 0 || label >= count) {
      problem = "that is out of range";
    } else if (lineOfLabel[label] != kNotSeen) {
      problem = "more than once";
    }
    if (problem != nullptr) {
      printLinef("Given solution contains node %d %s", label, problem);
      printLinef("ERROR: Solution does not contain %d unique node labels.", count);
      return false;
    }
    lineOfLabel[label] = line;
  }
  return true;
}

int32_t givenPredOf(const LoadedSolution& record, const int32_t* lineOfLabel, int32_t node) {
  return record.entries[lineOfLabel[node]].pred;
}

// Alternative predecessors over zero-cost edges can each be locally sound and
// still close a loop that never reaches the source. Walks every chain of given
// predecessors once; walkState: 0 unvisited, 1 on the chain being walked, 2 done.
bool predecessorsFormNoCycle(const LoadedSolution& record, int32_t count,
                             const int32_t* lineOfLabel) {
  unsigned char* walkState = allocateArray<unsigned char>(static_cast<std::size_t>(count));
  for (int32_t node = 0; node < count; ++node) walkState[node] = 0;
  bool sound = true;
  for (int32_t start = 0; start < count && sound; ++start) {
    int32_t node = start;
    while (node != -1 && walkState[node] == 0) {
      walkState[node] = 1;
      node = givenPredOf(record, lineOfLabel, node);
    }
    if (node != -1 && walkState[node] == 1) {
      const int32_t pred = givenPredOf(record, lineOfLabel, node);
      printLinef("ERROR: Wrong pred of node %d is %d but preds from %d form a cycle",
                   node, pred, node);
      sound = false;
    }
    for (node = start; node != -1 && walkState[node] == 1;
         node = givenPredOf(record, lineOfLabel, node)) {
      walkState[node] = 2;
    }
  }
  releaseArray(walkState);
  return sound;
}

bool valuesAgree(const ShortestPathSolver& solver, const LoadedSolution& record,
                 const int32_t* lineOfLabel, bool& alternativeAccepted) {
  for (int32_t line = 0; line < record.count; ++line) {
    const SolutionEntry& entry = record.entries[line];
    const NodeResult& computed = solver.results[entry.label];
    if (entry.cost != computed.cost) {
      printLinef("ERROR: Wrong cost node %d has cost %d  should be %d", entry.label,
                   entry.cost, computed.cost);
      return false;
    }
    if (entry.pred == computed.pred) continue;
    const bool inRange = entry.pred >= 0 && entry.pred < solver.searchNodeCount;
    const int32_t givenPredCost = inRange ? record.entries[lineOfLabel[entry.pred]].cost : -1;
    if (!acceptPredecessor(solver, entry.label, entry.pred, givenPredCost)) return false;
    alternativeAccepted = true;
  }
  return true;
}

}  // namespace

bool ShortestPathSolver::compareSolution(const LoadedSolution& record) {
  if (!solutionLoaded) {
    printLinef("ERROR: Solution is not loaded can not compare.");
    return false;
  }
  const int32_t count = searchNodeCount;
  if (record.count != count) {
    printLinef("ERROR: Solution does not contain exactly %d nodes.", count);
    return false;
  }

  int32_t* lineOfLabel = allocateArray<int32_t>(static_cast<std::size_t>(count));
  bool agrees = labelsAreUnique(record, count, lineOfLabel);
  bool alternativeAccepted = false;
  if (agrees) agrees = valuesAgree(*this, record, lineOfLabel, alternativeAccepted);
  // Our own predecessors form a tree, so only accepted alternatives can close a loop.
  if (agrees && alternativeAccepted) agrees = predecessorsFormNoCycle(record, count, lineOfLabel);
  releaseArray(lineOfLabel);
  return agrees;
}

// Looks up the given cost of pred from the line whose label is pred, wherever
// that line stands. compareSolution already knows that line and skips the scan.
bool ShortestPathSolver::checkPredecessor(const LoadedSolution& record, int32_t node, int32_t pred) {
  int32_t givenPredCost = -1;
  bool found = false;
  for (int32_t line = 0; line < record.count && !found; ++line) {
    if (record.entries[line].label != pred) continue;
    givenPredCost = record.entries[line].cost;
    found = true;
  }
  if (!found) {
    reportPredecessorRejected(node, pred, results[node].pred);
    return false;
  }
  return acceptPredecessor(*this, node, pred, givenPredCost);
}
