#include "search/bucket_search.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "base/allocation.h"
#include "base/stop_request.h"
#include "search/item_list.h"
#include "search/path_limit.h"
#include "search/prefetch_ahead.h"

// Delta-stepping on one thread: the reached nodes wait in buckets by cost
// range, the cheapest bucket is drained, and a node improved into the bucket
// being drained is simply handled again in it. Once a bucket is drained, no
// cost in it or below can fall any more.
//
// The heap's output has one more part that costs alone do not fix: the
// predecessor. The heap search keeps the first path it found at a node's final
// cost, and it settles by cost, so a node's recorded predecessor is, among the
// in-neighbours u with cost(u) + w = cost(v), the one of least cost; only when
// two distinct such in-neighbours share that least cost does the heap's inner
// order decide. So relaxation keeps that in-neighbour, and marks the node when
// a second one of the same cost turns up. A mark that survives until its
// node's bucket is drained means the heap's answer cannot be known here: the
// search gives up, and so it does when a sum past the largest cost was
// skipped into a node that nothing else reaches (the heap then names the node
// it met first), or when re-relaxations pile up beyond a fixed share of the
// edges.
namespace {

// A tie-marked predecessor: pred = -2 - p. Reached nodes only, so it cannot be
// confused with the skip marks of unreached ones (cost -1).
constexpr int32_t tieMark(int32_t pred) { return -2 - pred; }
constexpr int32_t markedPred(int32_t pred) { return pred >= 0 ? pred : -2 - pred; }

// Buckets from the one being drained onward wrap around this many slots;
// items whose bucket lies further ahead wait in a separate far list.
constexpr int64_t kSlotCount = 256;

struct BucketSearch {
  const Edge* edges;
  const EdgeRange* ranges;
  NodeResult* results;
  int32_t shift;
  ItemList* slots;
  int64_t workLimit;
  ItemList far{};
  int64_t farFirst = INT64_MAX;  // lowest bucket of the far list's items
  int64_t slotItems = 0;         // items in all slots, due or not
  ItemList tied{};               // nodes that were tie-marked
  int64_t current = 0;           // bucket being drained
  int64_t work = 0;              // edges relaxed, plus rescans of the side lists
  bool skippedSum = false;
  StopCheck stopCheck{};

  int64_t bucketOf(int32_t cost) const { return cost >> shift; }

  void push(int32_t node, int32_t cost) {
    const int64_t bucket = bucketOf(cost);
    if (bucket - current < kSlotCount) {
      slots[bucket & (kSlotCount - 1)].append(node);
      ++slotItems;
    } else {
      far.append(node);
      if (bucket < farFirst) farFirst = bucket;
    }
  }

  // An equal sum from another in-neighbour: the cheaper in-neighbour stays,
  // and one as cheap as the kept one marks the node.
  void keepCheaperPred(int32_t from, int32_t fromCost, int32_t to, NodeResult& target) {
    if (from == to || target.pred == -1) return;  // a self-loop; the source
    const int32_t pred = markedPred(target.pred);
    if (pred == from) return;
    const int32_t predCost = results[pred].cost;
    if (fromCost < predCost) {
      target.pred = from;
    } else if (fromCost == predCost && target.pred >= 0) {
      target.pred = tieMark(pred);
      tied.append(to);
    }
  }

  [[gnu::always_inline]] void relax(int32_t node, int32_t cost) {
    const EdgeRange range = ranges[node];
    if (range.first < 0 || range.first > range.last) return;
    work += range.last - range.first + 1;
    for (int32_t e = range.first; e <= range.last; ++e) {
      const Edge edge = edges[e];
      const int64_t sum = int64_t{cost} + edge.cost;
      NodeResult& target = results[edge.to];
      if (!sumWithinCostRange(sum)) {
        if (target.cost == -1) {
          target.pred = -2;
          skippedSum = true;
        }
        continue;
      }
      const auto reached = static_cast<int32_t>(sum);
      // Unsigned, an unreached node's cost -1 is above every sum.
      if (static_cast<uint32_t>(reached) < static_cast<uint32_t>(target.cost)) {
        target.cost = reached;
        target.pred = node;
        push(edge.to, reached);
      } else if (reached == target.cost) {
        keepCheaperPred(node, cost, edge.to, target);
      }
    }
  }

  // Each item costs a chain of dependent misses, walked ahead
  // (search/prefetch_ahead.h). False when the work passed its limit: one
  // bucket alone can go round and round.
  bool drain(ItemList& slot) {
    const PrefetchAhead ahead{edges, ranges};
    for (int64_t i = 0; i < slot.size; ++i) {
      const int32_t* items = slot.items;  // may move as the bucket grows
      ahead.before(
          items, i, slot.size, [this](int32_t later) { return &results[later]; },
          [this](int32_t later) { return bucketOf(results[later].cost) == current; },
          [this](int32_t target) { return &results[target]; });
      const int32_t node = items[i];
      const int32_t cost = results[node].cost;
      // Otherwise it was improved into an earlier bucket, or was already
      // handled from one.
      if (bucketOf(cost) == current) relax(node, cost);
      if (work > workLimit || stopCheck.due()) return false;
    }
    slotItems -= slot.size;
    slot.size = 0;
    return true;
  }

  // After a drain: a tie mark still in place on a node whose bucket is
  // drained is final. Marks overwritten since are dropped.
  bool tiesStillOpen() {
    int64_t kept = 0;
    work += tied.size;
    for (int64_t k = 0; k < tied.size; ++k) {
      const int32_t node = tied.items[k];
      const NodeResult result = results[node];
      if (result.pred >= -1) continue;
      if (bucketOf(result.cost) <= current) return true;
      tied.items[kept++] = node;
    }
    tied.size = kept;
    return false;
  }

  // Moves the far items now within reach of the slots into them.
  void pullFar() {
    work += far.size;
    int64_t kept = 0;
    int64_t first = INT64_MAX;
    for (int64_t k = 0; k < far.size; ++k) {
      const int32_t node = far.items[k];
      const int64_t bucket = bucketOf(results[node].cost);
      if (bucket < current) continue;  // improved since and handled already
      if (bucket - current < kSlotCount) {
        slots[bucket & (kSlotCount - 1)].append(node);
        ++slotItems;
      } else {
        far.items[kept++] = node;
        if (bucket < first) first = bucket;
      }
    }
    far.size = kept;
    farFirst = first;
  }

  // Moves current to the next bucket that holds items; false when none does.
  // Slot items always lie within kSlotCount buckets from current, and far
  // items at farFirst or beyond, so neither is passed over.
  bool advance() {
    for (;;) {
      if (slotItems == 0) {
        if (far.size == 0) return false;
        current = farFirst - 1;
      }
      ++current;
      if (current >= farFirst) pullFar();
      if (slots[current & (kSlotCount - 1)].size > 0) return true;
    }
  }

  // False when the heap has to decide.
  bool run(int32_t source) {
    results[source].cost = 0;
    push(source, 0);
    do {
      if (!drain(slots[current & (kSlotCount - 1)])) return false;
      if (work > workLimit || (tied.size > 0 && tiesStillOpen())) return false;
    } while (advance());
    return true;
  }
};

// A sum past the largest cost was skipped into each marked node: one that
// ended unreached fails the search, and the heap's report names the node it
// met first. Marks of nodes reached otherwise are gone already.
bool skippedSumsAllReachedOtherwise(NodeResult* results, int32_t nodeCount) {
  for (int32_t node = 0; node < nodeCount; ++node) {
    if (results[node].cost == -1 && results[node].pred != -1) return false;
  }
  return true;
}

}  // namespace

bool searchByBuckets(const Edge* edges, int32_t edgeCount, const EdgeRange* ranges,
                     NodeResult* results, int32_t nodeCount, int32_t source, int32_t shift) {
  ItemList* slots = allocateArray<ItemList>(kSlotCount);
  // Every edge relaxed about once; beyond three times the edges the buckets
  // are too wide for this graph and the heap is the faster way.
  const int64_t workLimit = 3 * int64_t{edgeCount} + 2 * int64_t{nodeCount} + 4096;
  BucketSearch search{edges, ranges, results, shift, slots, workLimit};
  bool exact = search.run(source);
  if (exact && search.skippedSum) exact = skippedSumsAllReachedOtherwise(results, nodeCount);
  for (int64_t k = 0; k < kSlotCount; ++k) slots[k].release();
  releaseArray(slots);
  search.far.release();
  search.tied.release();
  return exact;
}
