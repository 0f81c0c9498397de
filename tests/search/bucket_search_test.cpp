// The whole solveFrom (the bucket search, handing over to the heap where it
// cannot be sure) against solveHeap, from node 0 and from others (where a
// predecessor 0 is a node like any other), on many small graphs where equal path
// costs, zero-cost cycles, parallel edges, self-loops, edges into the source
// and sums past the largest cost are everywhere: results, messages and
// outcomes must be identical.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "graph/shortest_path_solver.h"
#include "search/bucket_search.h"
#include "search/search_graph.h"

namespace {

struct Outcome {
  bool solved;
  std::string messages;
  std::vector<NodeResult> results;
  bool operator==(const Outcome&) const = default;
};

template <typename Search>
Outcome outcomeOf(ShortestPathSolver& solver, Search search) {
  testing::internal::CaptureStderr();
  const bool solved = search();
  std::string messages = testing::internal::GetCapturedStderr();
  return {solved, messages, std::vector<NodeResult>(solver.results, solver.results + solver.searchNodeCount)};
}

TEST(BucketSearch, GivesTheHeapSearchsOutputOnTieHeavyGraphs) {
  std::mt19937 engine(14);
  const int32_t costRanges[] = {1, 3, 10, 1000};
  TempDir dir;
  int bucketAnswers = 0;  // graphs the buckets answered alone, without the heap
  for (int round = 0; round < 3000; ++round) {
    const int32_t n = 1 + static_cast<int32_t>(engine() % (round % 10 == 0 ? 300 : 12));
    const int32_t costRange = costRanges[round % 4];
    const bool nearLimit = round % 7 == 0;  // so that sums pass 2147483647
    std::vector<Edge> edges;
    for (int32_t k = static_cast<int32_t>(engine() % (3 * n + 1)); k > 0; --k) {
      int32_t cost = static_cast<int32_t>(engine() % (costRange + 1));
      if (nearLimit || engine() % 50 == 0) cost = 2147483647 - static_cast<int32_t>(engine() % 4) * cost;
      edges.push_back({static_cast<int32_t>(engine() % n), static_cast<int32_t>(engine() % n), cost});
    }
    writeFile(dir.file("g.txt"), graphText(edges));
    ShortestPathSolver solver;
    if (!solver.loadGraph(dir.file("g.txt").c_str())) continue;  // no edges
    const int32_t source = round % 2 == 0 ? 0 : round % solver.nodeCount;
    const Outcome heap = outcomeOf(solver, [&] { return solver.solveHeap(source); });
    const Outcome fast = outcomeOf(solver, [&] { return solver.solveFrom(source); });
    ASSERT_EQ(fast.solved, heap.solved) << "round " << round;
    ASSERT_EQ(fast.messages, heap.messages) << "round " << round;
    ASSERT_EQ(fast.results, heap.results) << "round " << round;
    const BucketPlan plan = planBuckets(solver.edges, solver.edgeCount, solver.nodeCount);
    solver.initSearch(solver.nodeCount);
    bucketAnswers += plan.worthTrying && searchByBuckets(solver.edges, solver.edgeCount, solver.edgeRanges,
                                                         solver.results, solver.nodeCount, source, plan.shift);
  }
  EXPECT_GT(bucketAnswers, 1000);  // the heap does not decide them all
}

}  // namespace
