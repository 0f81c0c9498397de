#include <omp.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <vector>

#include "base/stop_request.h"
#include "search/canonical_search.h"
#include "search/prefetch_ahead.h"

// The canonical search on several threads (OpenMP). Each thread keeps the
// nodes it lowered in buckets of its own. In rounds, the threads agree on the
// lowest bucket any of them holds, each gathers its nodes of that bucket and
// a few after it (the span), and all of them relax the gathered nodes, each
// its own first, a chunk at a time, and then, while they are few, the nodes
// it lowered into the lowest bucket meanwhile. Two barriers a round and no
// lock. The span doubles while rounds are too small to pay for their
// barriers, and halves while they are larger than needed, since nodes taken
// ahead of their bucket may be relaxed again once a cheaper path turns up.
// Buckets too thin for their cost widen once, as on one thread. While the
// front is too narrow for rounds to pay, one thread goes on alone (runSolo).
// Relaxing a node early or twice never changes the answer: the words only
// fall, to values no order decides.

namespace {

using canonical::SharedAccess;

constexpr int64_t kChunk = 256;             // nodes a thread takes at a time
constexpr int64_t kFewestPerThread = 512;   // a round smaller than this widens the span
constexpr int64_t kMostPerThread = 16384;   // a round larger than this narrows it
constexpr int64_t kWidestSpan = CanonicalBuckets::kSlotCount / 2;
constexpr int64_t kMostFused = 1024;        // nodes a thread relaxes at once after a round
constexpr int64_t kFewestForTeam = 64;      // per thread: a round at the widest span smaller than this goes solo
constexpr int64_t kMostSolo = 512;          // per thread: waiting nodes that end a solo run

// What the threads of one search share. Fields are written by one thread
// between two barriers and read by all after the second.
struct Round {
  std::vector<int64_t> lowest;    // per thread: its lowest bucket holding nodes
  std::vector<int64_t> gathered;  // per thread: nodes gathered this round
  std::vector<const ItemList*> lists;  // per thread: the nodes gathered
  std::vector<int64_t> filled;    // per thread: its buckets that held nodes this round
  int64_t soloNodes = 0;          // taken from the buckets by a solo run
  int64_t soloBuckets = 0;        // drained by it
  // Each changed all the time by every thread: on cache lines of their own.
  struct alignas(64) Counter {
    std::atomic<int64_t> value{0};
  };
  std::vector<Counter> nextChunk;  // per thread: the next chunk of its gathered nodes
  alignas(64) std::atomic<int32_t> targetsLeft{0};
  char pad[60];
};

// A thread's lowest bucket when it ran out of memory, or when the caller
// asked the search to stop: the round stops.
constexpr int64_t kFailed = -1;
constexpr int64_t kStopped = -2;

struct ThreadRun {
  const CanonicalSearch& search;
  Round& round;
  CanonicalBuckets* teamBuckets;  // every thread's, by thread
  CanonicalBuckets& buckets;
  ItemList& gatheredList;
  CanonicalNode* nodes;
  const StopRequest* stopRequest;  // the caller's, seen by every thread
  int64_t current = 0;
  int32_t shift;  // the same on every thread from round to round
  int64_t span = 1;
  int64_t lastTargetCost = -1;  // known once all targets are reached
  // Counted alike on every thread, for judging the buckets' width once.
  int64_t nodesGathered = 0;    // by all threads, in the rounds so far
  int64_t bucketsGathered = 0;  // each round, the most buckets holding nodes any thread had
  bool widthJudged = false;
  int64_t widestSpan = kWidestSpan;

  bool isTarget(int32_t node) const {
    return ((search.targetBits[node >> 6] >> (node & 63)) & 1u) != 0;
  }

  // Relaxes a node unless it was relaxed since it was lowered last: with
  // atomics while the threads work together, with plain accesses by a
  // thread working alone.
  template <typename Access = SharedAccess>
  void relax(int32_t node) {
    const uint64_t taken = Access::take(nodes[node].key);
    if ((taken & canonical::kQueued) == 0) return;
    const EdgeRange range = search.ranges[node];
    if (range.first < 0 || range.first > range.last) return;
    const uint64_t key = canonical::labelOf(taken);
    canonical::relaxCanonical<Access>(
        search.edges, range, nodes, shift, node, key,
        [this](int32_t reached, int64_t cost, bool first) {
          buckets.push(reached, cost >> shift, current);
          if (first && search.targetBits != nullptr && isTarget(reached)) {
            round.targetsLeft.fetch_sub(1, std::memory_order_relaxed);
          }
        });
  }

  // The nodes items[0, count), their chains of misses walked ahead
  // (search/prefetch_ahead.h) over the nodes up to items[listed - 1], which
  // another thread may take.
  void relaxAll(const int32_t* items, int64_t count, int64_t listed) {
    const PrefetchAhead ahead{search.edges, search.ranges};
    for (int64_t i = 0; i < count; ++i) {
      ahead.before(
          items, i, listed, [this](int32_t later) { return &nodes[later]; },
          [this](int32_t later) {
            return (SharedAccess::load(nodes[later].key) & canonical::kQueued) != 0;
          },
          [this](int32_t target) { return &nodes[target]; });
      relax(items[i]);
    }
  }

  // The lowest bucket this thread holds nodes of, INT64_MAX for none.
  int64_t lowestBucket() const {
    if (buckets.slotItems > 0) {
      for (int64_t bucket = current;; ++bucket) {
        if (buckets.slots[bucket & (CanonicalBuckets::kSlotCount - 1)].size > 0) {
          return std::min(bucket, buckets.farFirst);
        }
      }
    }
    return buckets.far.size > 0 ? buckets.farFirst : INT64_MAX;
  }

  void pullFar() {
    buckets.pullFar(current, [this](int32_t node) -> int64_t {
      const uint64_t key = SharedAccess::load(nodes[node].key);
      if ((key & canonical::kQueued) == 0) return -1;  // relaxed since
      return static_cast<int64_t>((canonical::labelOf(key) >> 32) >> shift);
    });
  }

  // The nodes this thread lowered into the round's lowest bucket, while
  // they are few, it relaxes at once, their words still in its cache, and
  // again for those they lower into it, rather than after two barriers: on
  // graphs of many small costs, such as social networks, most of a bucket's
  // nodes come to it in such waves.
  void relaxFewInLowest(int64_t lowest) {
    ItemList& slot = buckets.slots[lowest & (CanonicalBuckets::kSlotCount - 1)];
    ItemList& fused = buckets.fused;
    while (slot.size > 0 && slot.size <= kMostFused) {
      fused.size = 0;  // copied out, as relaxing them may add to the slot
      if (!moveSlot(slot, fused)) return;
      relaxAll(fused.items, fused.size, fused.size);
    }
  }

  // Appends a list's nodes to another and empties it; false, the search
  // void, when the other cannot grow.
  bool moveItems(ItemList& from, ItemList& list) {
    while (list.capacity - list.size < from.size) {
      if (!list.tryGrow()) {
        buckets.outOfMemory = true;
        return false;
      }
    }
    std::copy(from.items, from.items + from.size, list.items + list.size);
    list.size += from.size;
    from.size = 0;
    return true;
  }

  bool moveSlot(ItemList& slot, ItemList& list) {
    const int64_t count = slot.size;
    if (!moveItems(slot, list)) return false;
    buckets.slotItems -= count;
    return true;
  }

  // Moves this thread's nodes of the buckets [first, end) to its gathered
  // list; returns how many of these buckets held nodes.
  int64_t gather(int64_t first, int64_t end) {
    gatheredList.size = 0;
    int64_t filled = 0;
    for (int64_t bucket = first; bucket < end && buckets.slotItems > 0; ++bucket) {
      ItemList& slot = buckets.slots[bucket & (CanonicalBuckets::kSlotCount - 1)];
      if (slot.size == 0) continue;
      ++filled;
      if (!moveSlot(slot, gatheredList)) break;
    }
    return filled;
  }

  // As on one thread (canonical_sequential.cpp), buckets too thin for their
  // cost are widened once enough nodes were gathered, and from then on a
  // round takes one bucket: a span of wide buckets would take up nodes far
  // ahead of their cost, to be relaxed again and again. Every thread decides
  // alike, from counts all of them share, between the round's two barriers,
  // while none relaxes, and puts its own waiting nodes where their costs now
  // belong. Returns the lowest bucket, in the new width.
  int64_t judgeWidth(int64_t lowest) {
    widthJudged = true;
    const int32_t widening = bucketWidening(nodesGathered, bucketsGathered);
    if (widening == 0) return lowest;
    shift += widening;
    current = lowest >> widening;
    span = 1;
    widestSpan = 1;
    ItemList& waiting = buckets.fused;  // unused between rounds
    waiting.size = 0;
    for (ItemList& slot : buckets.slots) {
      if (slot.size > 0 && !moveSlot(slot, waiting)) return current;
    }
    if (!moveItems(buckets.far, waiting)) return current;
    buckets.farFirst = INT64_MAX;
    pushWaiting(waiting);
    return current;
  }

  // Puts the nodes of a list that still wait into this thread's buckets, by
  // their costs now, none below current, and empties the list.
  void pushWaiting(ItemList& list) {
    for (int64_t k = 0; k < list.size; ++k) {
      const int32_t node = list.items[k];
      const uint64_t key = SharedAccess::load(nodes[node].key);
      if ((key & canonical::kQueued) == 0) continue;  // relaxed since
      const auto bucket = static_cast<int64_t>((canonical::labelOf(key) >> 32) >> shift);
      buckets.push(node, std::max(current, bucket), current);
    }
    list.size = 0;
  }

  // Takes the nodes waiting in another thread's buckets into this one's,
  // whose current must be the round's lowest bucket.
  void adopt(CanonicalBuckets& other) {
    for (ItemList& slot : other.slots) {
      if (slot.size > 0) pushWaiting(slot);
    }
    pushWaiting(other.far);
    other.slotItems = 0;
    other.farFirst = INT64_MAX;
  }

  // While the front of the search is a few nodes wide, as along a path, a
  // round's work is less than its two barriers, and the threads would take
  // many times as long as one. Then one thread takes all waiting nodes and
  // drains the buckets one by one, as the one-thread search does, while the
  // others wait, until enough nodes wait for a round to pay again, or the
  // search is done, or the buckets' width is to be judged. Called between
  // barriers, on thread 0 alone; what it took counts for judging.
  void runSolo(int team, int64_t lowest, int64_t stopBucket) {
    current = lowest;
    for (int t = 1; t < team; ++t) adopt(teamBuckets[t]);
    round.soloNodes = 0;
    round.soloBuckets = 0;
    const auto stopAsked = [this] {
      return stopRequest != nullptr && stopRequest->requested.load(std::memory_order_relaxed);
    };
    for (;;) {
      const int64_t bucket = lowestBucket();
      if (bucket == INT64_MAX || bucket > stopBucket || buckets.outOfMemory ||
          targetsFinal(bucket)) {
        return;
      }
      current = bucket;
      if (buckets.far.size > 0 && buckets.farFirst - current < CanonicalBuckets::kSlotCount) {
        pullFar();
      }
      round.soloNodes += drainAlone(
          search, nodes, buckets, buckets.slots[current & (CanonicalBuckets::kSlotCount - 1)],
          [this](int32_t node) { relax<canonical::SoleAccess>(node); }, stopAsked);
      ++round.soloBuckets;
      if (buckets.slotItems >= kMostSolo * team || stopAsked()) return;
      if (!widthJudged && nodesGathered + round.soloNodes >= kJudgeWidthAfterNodes) return;
    }
  }

  // Whether every target is final once nothing below bucket lowest waits.
  bool targetsFinal(int64_t lowest) {
    if (search.targetBits == nullptr || round.targetsLeft.load(std::memory_order_relaxed) > 0) {
      return false;
    }
    if (lastTargetCost < 0) {
      for (int32_t node = 0; node < search.nodeCount; node += 64) {
        for (uint64_t word = search.targetBits[node >> 6]; word != 0; word &= word - 1) {
          const int32_t target = node + __builtin_ctzll(word);
          lastTargetCost = std::max<int64_t>(lastTargetCost,
                                             canonical::labelOf(SharedAccess::load(nodes[target].key)) >> 32);
        }
      }
    }
    return lowest > lastTargetCost >> shift;
  }

  // Relaxes the gathered nodes of all threads, a chunk at a time: first this
  // thread's own, then what is left of the others'. The nodes a thread
  // lowered stay with it while the work is even, and with them the words of
  // their neighbourhood in its cache: on a road network each thread comes to
  // follow a stretch of the front of its own.
  void relaxGathered(int thread, int team) {
    for (int k = 0; k < team; ++k) {
      const int owner = (thread + k) % team;
      const int64_t total = round.gathered[owner];
      const int64_t chunks = (total + kChunk - 1) / kChunk;
      std::atomic<int64_t>& next = round.nextChunk[owner].value;
      for (int64_t chunk; (chunk = next.fetch_add(1, std::memory_order_relaxed)) < chunks;) {
        const int64_t begin = chunk * kChunk;
        relaxAll(round.lists[owner]->items + begin, std::min(kChunk, total - begin), total - begin);
      }
    }
  }

  void run(int thread, int team) {
    int64_t lastTotal = 0;  // nodes all threads gathered in the round before
    for (;;) {
      // Published only here, between rounds, so that all threads see the
      // same values until the next barrier and decide alike.
      const bool stopped =
          stopRequest != nullptr && stopRequest->requested.load(std::memory_order_relaxed);
      round.lowest[thread] = stopped                ? kStopped
                             : buckets.outOfMemory ? kFailed
                                                   : lowestBucket();
#pragma omp barrier
      int64_t lowest = INT64_MAX;
      for (int t = 0; t < team; ++t) lowest = std::min(lowest, round.lowest[t]);
      const int64_t stopBucket = search.stopCost == INT64_MAX ? INT64_MAX : search.stopCost >> shift;
      if (lowest == INT64_MAX || lowest < 0 || lowest > stopBucket ||
          targetsFinal(lowest)) {
        return;
      }
      if (span == widestSpan && lastTotal < kFewestForTeam * team) {
#pragma omp barrier
        // Once every thread has decided on this round.
        if (thread == 0) runSolo(team, lowest, stopBucket);
#pragma omp barrier
        nodesGathered += round.soloNodes;
        bucketsGathered += round.soloBuckets;
        // Found by thread 0 alone, while the words still fell: every thread
        // finds it anew, from the same words, and decides alike.
        lastTargetCost = -1;
        lastTotal = kFewestPerThread * team;  // as for a round that keeps the span
        continue;
      }
      if (!widthJudged && nodesGathered >= kJudgeWidthAfterNodes) lowest = judgeWidth(lowest);
      // Rounds too small to pay for their barriers take more buckets at a
      // time, rounds larger than needed fewer.
      if (lastTotal < kFewestPerThread * team) span = std::min(2 * span, widestSpan);
      if (lastTotal > kMostPerThread * team) span = std::max(span / 2, int64_t{1});
      current = lowest;
      if (buckets.far.size > 0 && buckets.farFirst - current < CanonicalBuckets::kSlotCount) {
        pullFar();
      }
      const int64_t end = stopBucket == INT64_MAX ? lowest + span
                                                  : std::min(lowest + span, (search.stopCost >> shift) + 1);
      round.filled[thread] = gather(lowest, end);
      round.gathered[thread] = gatheredList.size;
      round.nextChunk[thread].value.store(0, std::memory_order_relaxed);
#pragma omp barrier
      lastTotal = 0;
      int64_t filled = 0;
      for (int t = 0; t < team; ++t) {
        lastTotal += round.gathered[t];
        filled = std::max(filled, round.filled[t]);
      }
      nodesGathered += lastTotal;
      bucketsGathered += filled;
      relaxGathered(thread, team);
      relaxFewInLowest(lowest);
    }
  }
};

}  // namespace

CanonicalEnd runCanonicalParallel(const CanonicalSearch& search) {
  CanonicalWorkspace& workspace = *search.workspace;
  CanonicalNode* nodes = workspace.nodes;
  Round round;
  const auto threads = static_cast<size_t>(search.threads);
  round.lowest.assign(threads, INT64_MAX);
  round.gathered.assign(threads, 0);
  round.filled.assign(threads, 0);
  round.nextChunk = std::vector<Round::Counter>(threads);
  for (size_t thread = 0; thread < threads; ++thread) {
    round.lists.push_back(&workspace.buckets[thread].gathered);
  }
  round.targetsLeft.store(search.targetCount);

  nodes[search.source].key = canonical::kQueued;  // cost 0, 0 hops, queued
  nodes[search.source].choice = canonical::kSourceChoice;
  workspace.buckets[0].push(search.source, 0, 0);
  if (search.targetBits != nullptr &&
      ((search.targetBits[search.source >> 6] >> (search.source & 63)) & 1u) != 0) {
    round.targetsLeft.fetch_sub(1);
  }
  // OpenMP's threads do not share the calling thread's request: handed over.
  const StopRequest* request = currentStopRequest();
#pragma omp parallel num_threads(search.threads)
  {
    const int thread = omp_get_thread_num();
    ThreadRun run{search, round, workspace.buckets, workspace.buckets[thread],
                  workspace.buckets[thread].gathered, nodes, request, 0, search.shift};
    run.run(thread, omp_get_num_threads());
  }
  CanonicalEnd end = CanonicalEnd::Complete;
  for (int32_t thread = 0; thread < search.threads; ++thread) {
    if (round.lowest[static_cast<size_t>(thread)] == kStopped) end = CanonicalEnd::Stopped;
    if (workspace.buckets[thread].outOfMemory && end == CanonicalEnd::Complete) {
      end = CanonicalEnd::OutOfMemory;
    }
    workspace.buckets[thread].clear();
  }
  return end;
}
