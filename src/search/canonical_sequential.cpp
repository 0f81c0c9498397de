#include <algorithm>
#include <cstdint>

#include "base/stop_request.h"
#include "search/canonical_search.h"

// The canonical search on one thread: the cheapest bucket is drained, a node
// lowered into the bucket being drained is simply handled again in it, and
// once a bucket is drained nothing in it or below changes any more. With the
// narrow buckets of the plan (a sixty-fourth of the median cost or less) most
// nodes are relaxed once.
//
// On graphs of few edges a node, such as road networks, so narrow a bucket
// holds a few dozen nodes strewn along the whole front of the search, and
// each costs a round of cache misses of its own. Wider buckets, drained in
// the order their nodes came, follow the front instead, and the nodes they
// take up after a neighbour find its data still in cache: on a road-like grid
// the search takes a fifth less time, though a node is relaxed again now and
// then. So once the search is under way, buckets that hold too few nodes are
// widened, once. Graphs of many edges a node fill narrow buckets already,
// and keep them: there a node relaxed again costs its many edges.

namespace {

using canonical::SoleAccess;

struct SequentialRun {
  const CanonicalSearch& search;
  CanonicalBuckets& buckets;
  CanonicalNode* nodes;
  int32_t shift;
  int32_t targetsLeft;                   // targets not reached yet
  int64_t current = 0;
  int64_t lastTargetBucket = INT64_MAX;  // once all are reached: the highest of their buckets
  int64_t nodesTaken = 0;                // from the buckets drained so far
  StopCheck stopCheck{};
  bool stopped = false;
  int64_t bucketsDrained = 0;
  bool widthJudged = false;

  bool isTarget(int32_t node) const {
    return ((search.targetBits[node >> 6] >> (node & 63)) & 1u) != 0;
  }

  void relax(int32_t node, uint64_t key) {
    const EdgeRange range = search.ranges[node];
    if (range.first < 0 || range.first > range.last) return;
    canonical::relaxCanonical<SoleAccess>(
        search.edges, range, nodes, shift, node, key,
        [this](int32_t reached, int64_t cost, bool first) {
          buckets.push(reached, cost >> shift, current);
          if (first && search.targetBits != nullptr && isTarget(reached)) --targetsLeft;
        });
  }

  void drain(ItemList& slot) {
    nodesTaken += drainAlone(
        search, nodes, buckets, slot,
        [this](int32_t node) {
          const uint64_t key = SoleAccess::take(nodes[node].key);
          if ((key & canonical::kQueued) != 0) relax(node, canonical::labelOf(key));
        },
        [this] {
          stopped = stopCheck.due();
          return stopped;
        });
    ++bucketsDrained;
  }

  // Once enough nodes were taken: buckets too thin for their cost are
  // widened, every waiting node put where its cost now belongs. True when
  // they were: the bucket current then holds the one just drained and more.
  bool judgeWidth() {
    if (widthJudged || nodesTaken < kJudgeWidthAfterNodes) return false;
    widthJudged = true;
    const int32_t widening = bucketWidening(nodesTaken, bucketsDrained);
    if (widening == 0) return false;
    shift += widening;
    current >>= widening;
    lastTargetBucket = INT64_MAX;
    ItemList waiting;
    for (ItemList& slot : buckets.slots) {
      for (int64_t k = 0; k < slot.size; ++k) waiting.append(slot.items[k]);
      slot.size = 0;
    }
    for (int64_t k = 0; k < buckets.far.size; ++k) waiting.append(buckets.far.items[k]);
    buckets.far.size = 0;
    buckets.farFirst = INT64_MAX;
    buckets.slotItems = 0;
    for (int64_t k = 0; k < waiting.size; ++k) {
      const int32_t node = waiting.items[k];
      if ((nodes[node].key & canonical::kQueued) == 0) continue;
      buckets.push(node, std::max(current, static_cast<int64_t>((canonical::labelOf(nodes[node].key) >> 32) >> shift)),
                   current);
    }
    waiting.release();
    return true;
  }

  void pullFar() {
    buckets.pullFar(current, [this](int32_t node) -> int64_t {
      const uint64_t key = nodes[node].key;
      if ((key & canonical::kQueued) == 0) return -1;  // relaxed since
      return static_cast<int64_t>((canonical::labelOf(key) >> 32) >> shift);
    });
  }

  // Moves current to the next bucket that holds nodes; false when none does.
  bool advance() {
    for (;;) {
      if (buckets.slotItems == 0) {
        if (buckets.far.size == 0) return false;
        current = buckets.farFirst - 1;
      }
      ++current;
      if (current >= buckets.farFirst) pullFar();
      if (buckets.slots[current & (CanonicalBuckets::kSlotCount - 1)].size > 0) return true;
    }
  }

  bool finishedAfter(int64_t drained) {
    if (search.stopCost != INT64_MAX && drained >= search.stopCost >> shift) return true;
    if (search.targetBits == nullptr || targetsLeft > 0) return false;
    if (lastTargetBucket == INT64_MAX) {
      lastTargetBucket = 0;
      for (int32_t node = 0; node < search.nodeCount; node += 64) {
        for (uint64_t word = search.targetBits[node >> 6]; word != 0; word &= word - 1) {
          const int32_t target = node + __builtin_ctzll(word);
          lastTargetBucket =
              std::max<int64_t>(lastTargetBucket, (canonical::labelOf(nodes[target].key) >> 32) >> shift);
        }
      }
    }
    return drained >= lastTargetBucket;
  }

  void run() {
    nodes[search.source].key = canonical::kQueued;  // cost 0, 0 hops, queued
    nodes[search.source].choice = canonical::kSourceChoice;
    buckets.push(search.source, 0, 0);
    if (search.targetBits != nullptr && isTarget(search.source)) --targetsLeft;
    for (;;) {
      drain(buckets.slots[current & (CanonicalBuckets::kSlotCount - 1)]);
      if (stopped || buckets.outOfMemory || finishedAfter(current)) return;
      if (!judgeWidth() && !advance()) return;
    }
  }
};

}  // namespace

CanonicalEnd runCanonicalSequential(const CanonicalSearch& search) {
  CanonicalWorkspace& workspace = *search.workspace;
  SequentialRun run{search, workspace.buckets[0], workspace.nodes, search.shift, search.targetCount};
  run.run();
  const bool outOfMemory = workspace.buckets[0].outOfMemory;
  workspace.buckets[0].clear();
  if (run.stopped) return CanonicalEnd::Stopped;
  return outOfMemory ? CanonicalEnd::OutOfMemory : CanonicalEnd::Complete;
}
