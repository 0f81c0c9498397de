#pragma once

#include <cstdint>

#include "graph/graph_types.h"
#include "search/canonical_node.h"
#include "search/item_list.h"
#include "search/prefetch_ahead.h"

struct SearchLimits;

// The nodes waiting for a relaxation, by bucket of cost (cost >> shift), as
// one thread holds them: buckets from `current` on wrap around kSlotCount
// slots; nodes whose bucket lies further ahead wait in the far list. On cache
// lines of its own: its counts change with every node pushed, and a line
// shared with the next thread's buckets would go back and forth between cores.
struct alignas(64) CanonicalBuckets {
  static constexpr int64_t kSlotCount = 1024;

  ItemList slots[kSlotCount];
  ItemList far;
  ItemList gathered;             // the thread's nodes of one round (several threads)
  ItemList fused;                // its own nodes it takes up at once after a round
  int64_t farFirst = INT64_MAX;  // lowest bucket of the far list's nodes
  int64_t slotItems = 0;         // nodes in all slots
  bool outOfMemory = false;      // a list could not grow: the search is void

  void push(int32_t node, int64_t bucket, int64_t current) {
    ItemList& list = bucket - current < kSlotCount ? slots[bucket & (kSlotCount - 1)] : far;
    if (list.size == list.capacity && !list.tryGrow()) {
      outOfMemory = true;
      return;
    }
    list.items[list.size++] = node;
    if (&list == &far) {
      if (bucket < farFirst) farFirst = bucket;
    } else {
      ++slotItems;
    }
  }
  // Moves the far nodes within reach of the slots (buckets from current on)
  // into them; bucketOf(node) is a waiting node's bucket, or -1 for a node
  // relaxed since, which is dropped.
  template <typename BucketOf>
  void pullFar(int64_t current, BucketOf&& bucketOf) {
    int64_t kept = 0;
    int64_t first = INT64_MAX;
    for (int64_t k = 0; k < far.size; ++k) {
      const int32_t node = far.items[k];
      const int64_t bucket = bucketOf(node);
      if (bucket < 0) continue;
      if (bucket - current < kSlotCount) {
        push(node, bucket < current ? current : bucket, current);
      } else {
        far.items[kept++] = node;
        first = bucket < first ? bucket : first;
      }
    }
    far.size = kept;
    farFirst = first;
  }
  void clear();
  void release();
};

// On graphs of few edges a node, such as road networks, narrow buckets hold
// a few nodes strewn along the whole front of the search, each with cache
// misses of its own; wider ones follow the front (canonical_sequential.cpp
// tells more). Once enough nodes were taken, a search widens buckets that
// held too few on average, once: by this many doublings.
constexpr int64_t kJudgeWidthAfterNodes = 1 << 16;
inline int32_t bucketWidening(int64_t nodesTaken, int64_t bucketsTaken) {
  constexpr int64_t kFewestPerBucket = 1024;  // on average, or the buckets widen
  constexpr int32_t kMostWidening = 6;        // by at most 64 times
  int32_t widening = 0;
  while (widening < kMostWidening && (nodesTaken << widening) < kFewestPerBucket * bucketsTaken) {
    ++widening;
  }
  return widening;
}

// What a canonical search keeps from one search to the next on one solver,
// so that repeated searches touch memory that is already theirs: 16 bytes a
// node and each thread's buckets.
struct CanonicalWorkspace {
  CanonicalNode* nodes = nullptr;
  int32_t nodeCount = -1;
  CanonicalBuckets* buckets = nullptr;  // one per thread
  int32_t bucketThreads = 0;

  ~CanonicalWorkspace();
  // Sizes the arrays for count nodes and threads threads, all nodes unreached.
  void prepare(int32_t count, int32_t threads);
};

// A search by the canonical tie order over a graph, into a workspace.
struct CanonicalSearch {
  const Edge* edges;
  const EdgeRange* ranges;
  int32_t nodeCount;
  int32_t source;         // inside the graph
  int32_t shift;          // buckets hold costs with equal cost >> shift, at first
  int64_t stopCost;       // no node costlier than this is needed; INT64_MAX: all
  const uint64_t* targetBits = nullptr;  // one bit per node still to answer; nullptr: none
  int32_t targetCount = 0;               // distinct targets inside the graph
  int32_t threads = 1;
  CanonicalWorkspace* workspace;
};

// Drains a slot of a thread's buckets, nodes added to it on the way
// included, their chains of misses walked ahead (search/prefetch_ahead.h):
// relax(node) for each, on a thread that works alone, until stopped() says
// so. Returns the nodes the slot held.
template <typename Relax, typename Stopped>
int64_t drainAlone(const CanonicalSearch& search, const CanonicalNode* nodes,
                   CanonicalBuckets& buckets, ItemList& slot, Relax&& relax, Stopped&& stopped) {
  const PrefetchAhead ahead{search.edges, search.ranges};
  for (int64_t i = 0; i < slot.size; ++i) {
    ahead.before(
        slot.items, i, slot.size, [nodes](int32_t later) { return &nodes[later]; },
        [nodes](int32_t later) { return (nodes[later].key & canonical::kQueued) != 0; },
        [nodes](int32_t target) { return &nodes[target]; });
    relax(slot.items[i]);  // the items may move as the slot grows
    if (stopped()) break;
  }
  const int64_t drained = slot.size;
  buckets.slotItems -= drained;
  slot.size = 0;
  return drained;
}

// How a search ended: Complete, every node with its final key and choice,
// save those past the last bucket the search needed; or without a usable
// answer, when memory ran out or an embedding caller asked it to stop
// (base/stop_request.h).
enum class CanonicalEnd { Complete, OutOfMemory, Stopped };

// Runs the search to its end, or until every target is final.
// One thread: canonical_sequential.cpp; several: canonical_parallel.cpp.
CanonicalEnd runCanonicalSequential(const CanonicalSearch& search);
CanonicalEnd runCanonicalParallel(const CanonicalSearch& search);

// The answer of a finished search, into results: cost and choice of every
// node answered (the source's pred -1), -1 and -1 for the others. A node is
// answered when reached at a cost within costBound. Returns the least node
// that only a sum past the largest cost reached and that the scope asks for
// (canonical_answer.cpp), or -1.
struct OverLimitScope;
int32_t writeCanonicalAnswer(const CanonicalSearch& search, int64_t costBound,
                             const OverLimitScope& scope, NodeResult* results);
