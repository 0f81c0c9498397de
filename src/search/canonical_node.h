#pragma once

#include <atomic>
#include <cstdint>

#include "graph/graph_types.h"

// The canonical tie order: for every reached node v other than the source,
// pred(v) is, among the tight in-neighbours u (u != v, cost(u) + w(u, v) =
// cost(v)), the one of least cost(u), then of fewest hops(u) (the fewest
// edges on a path of cost cost(u)), then of least number. It is a function of
// the graph alone, so every search order, on any number of threads, ends at
// the same answer; docs/canonical-ties.md proves it.
//
// A search keeps two words per node, on one cache line, and only ever lowers
// what they compare by:
//   key    = queued << 63 | cost << 32 | hops: the lexicographic
//            shortest-path label, which every edge raises (hops grow by one
//            even over a zero cost), so its least value is (cost(v), hops(v));
//            and whether v waits to be relaxed, so that one instruction
//            lowers a key and queues its node, another takes the node and
//            reads its key;
//   choice = level << 32 | pred: the least (sum, rank of u) offered to v,
//            where an offer of u is the sum cost(u) + w(u, v) and the rank of
//            u compares (key(u), u) by the keys as they are when compared.
// Keys fall over time, so an offer compared against a stale key may win or
// lose wrongly for a while; but a node is relaxed again after every fall of
// its key, and the last offer of the true choice is made with its final key,
// after which nothing beats it.
struct CanonicalNode {
  uint64_t key;
  uint64_t choice;
};

namespace canonical {

constexpr uint64_t kQueued = uint64_t{1} << 63;
constexpr uint64_t kUnreachedKey = ~kQueued;  // above every label of a path, never queued
constexpr uint32_t kNoPred = 0xFFFFFFFF;
constexpr uint64_t kNoChoice = (uint64_t{0xFFFFFFFF} << 32) | kNoPred;
// An unreached node that a sum past the largest cost was offered to: a path
// reaches it only beyond the cost range, unless another one reaches it after all.
constexpr uint64_t kOverLimitChoice = (uint64_t{0xFFFFFFFE} << 32) | kNoPred;
// The source's choice: level 0 and no node, which no offer beats.
constexpr uint64_t kSourceChoice = kNoPred;

constexpr uint64_t keyOf(uint64_t cost, uint64_t hops) { return cost << 32 | hops; }
constexpr uint64_t labelOf(uint64_t key) { return key & ~kQueued; }
constexpr int32_t costOf(uint64_t key) { return static_cast<int32_t>(labelOf(key) >> 32); }
constexpr uint64_t choiceOf(uint64_t level, int32_t pred) {
  return level << 32 | static_cast<uint32_t>(pred);
}
constexpr uint64_t levelOf(uint64_t choice) { return choice >> 32; }
constexpr int32_t predOf(uint64_t choice) { return static_cast<int32_t>(choice & 0xFFFFFFFFu); }

// Word access for one thread alone: plain loads and stores.
struct SoleAccess {
  static uint64_t load(const uint64_t& word) { return word; }
  // Lowers the label of a key to offered and queues its node, unless the
  // label is no higher already; returns the key before.
  static uint64_t lowerAndQueue(uint64_t& key, uint64_t offered) {
    const uint64_t before = key;
    if (offered < labelOf(before)) key = offered | kQueued;
    return before;
  }
  // Unqueues the node of a key; returns the key before.
  static uint64_t take(uint64_t& key) {
    const uint64_t before = key;
    key = labelOf(before);
    return before;
  }
  static bool replace(uint64_t& word, uint64_t& expected, uint64_t value) {
    if (word != expected) {
      expected = word;
      return false;
    }
    word = value;
    return true;
  }
};

// Word access shared by the threads of one search: every change is one
// atomic instruction on one word, lowering a key and queueing its node at
// once, so the thread that takes the node reads the key the queueing left.
// Choices are relaxed atomics: their final values do not depend on any order.
struct SharedAccess {
  static uint64_t load(const uint64_t& word) {
    return std::atomic_ref<const uint64_t>(word).load(std::memory_order_relaxed);
  }
  static uint64_t lowerAndQueue(uint64_t& key, uint64_t offered) {
    std::atomic_ref<uint64_t> shared(key);
    uint64_t before = shared.load(std::memory_order_relaxed);
    while (offered < labelOf(before) &&
           !shared.compare_exchange_weak(before, offered | kQueued, std::memory_order_acq_rel,
                                         std::memory_order_relaxed)) {
    }
    return before;
  }
  static uint64_t take(uint64_t& key) {
    std::atomic_ref<uint64_t> shared(key);
    const uint64_t seen = shared.load(std::memory_order_relaxed);
    if ((seen & kQueued) == 0) return seen;
    return shared.fetch_and(~kQueued, std::memory_order_acq_rel);
  }
  static bool replace(uint64_t& word, uint64_t& expected, uint64_t value) {
    return std::atomic_ref<uint64_t>(word).compare_exchange_weak(expected, value,
                                                                std::memory_order_relaxed);
  }
};

// Offers u, whose key was keyOfU when it was taken, as v's choice at the sum
// level; keeps the least (level, rank) offered.
template <typename Access>
inline void offerChoice(CanonicalNode* nodes, int32_t v, uint64_t level, int32_t u,
                        uint64_t keyOfU) {
  uint64_t& word = nodes[v].choice;
  const uint64_t offer = choiceOf(level, u);
  uint64_t current = Access::load(word);
  for (;;) {
    const uint64_t currentLevel = levelOf(current);
    if (level > currentLevel) return;
    if (level == currentLevel) {
      const int32_t held = predOf(current);
      if (held < 0 || held == u) return;  // the source, or u itself
      const uint64_t keyOfHeld = labelOf(Access::load(nodes[held].key));
      if (keyOfU > keyOfHeld || (keyOfU == keyOfHeld && u > held)) return;
    }
    if (Access::replace(word, current, offer)) return;
  }
}

// Marks v, still unreached, as offered a sum past the largest cost.
template <typename Access>
inline void markOverLimit(CanonicalNode* nodes, int32_t v) {
  uint64_t& word = nodes[v].choice;
  uint64_t expected = kNoChoice;
  if (Access::load(word) == kNoChoice) Access::replace(word, expected, kOverLimitChoice);
}

// Relaxes the edges of u, whose label (key without the queued flag) is
// keyOfU. Each node whose key fell and that is not already waiting in the
// bucket of its new cost goes to push(node, cost, firstReached).
template <typename Access, typename Push>
inline void relaxCanonical(const Edge* edges, const EdgeRange& range, CanonicalNode* nodes,
                           int32_t shift, int32_t u, uint64_t keyOfU, Push&& push) {
  const uint64_t costOfU = keyOfU >> 32;
  const uint64_t hopsAfter = (keyOfU & 0xFFFFFFFFu) + 1;
  for (int32_t e = range.first; e <= range.last; ++e) {
    const Edge edge = edges[e];
    const int32_t v = edge.to;
    const uint64_t sum = costOfU + static_cast<uint32_t>(edge.cost);
    if (sum > static_cast<uint64_t>(kMaxCost)) {
      markOverLimit<Access>(nodes, v);
      continue;
    }
    uint64_t labelOfV = labelOf(Access::load(nodes[v].key));
    const uint64_t offered = keyOf(sum, hopsAfter);
    if (offered < labelOfV) {
      const uint64_t before = Access::lowerAndQueue(nodes[v].key, offered);
      if (offered < labelOf(before)) {
        const bool waiting = (before & kQueued) != 0;
        if (!waiting || (labelOf(before) >> 32) >> shift != sum >> shift) {
          push(v, static_cast<int64_t>(sum), before == kUnreachedKey);
        }
        labelOfV = offered;
      } else {
        labelOfV = labelOf(before);
      }
    }
    if ((labelOfV >> 32) == sum && v != u) offerChoice<Access>(nodes, v, sum, u, keyOfU);
  }
}

}  // namespace canonical
