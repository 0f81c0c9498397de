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
//   key    = cost << 32 | hops, the lexicographic shortest-path label, which
//            every edge raises (hops grow by one even over a zero cost), so
//            its least value is (cost(v), hops(v));
//   choice = level << 32 | queued << 31 | pred: the least (sum, rank of u)
//            offered to v, where an offer of u is the sum cost(u) + w(u, v)
//            and the rank of u compares (key(u), u) by the keys as they are
//            when compared; and whether v waits to be relaxed.
// Keys fall over time, so an offer compared against a stale key may win or
// lose wrongly for a while; but a node is relaxed again after every fall of
// its key, and the last offer of the true choice is made with its final key,
// after which nothing beats it.
struct CanonicalNode {
  uint64_t key;
  uint64_t choice;
};

namespace canonical {

constexpr uint64_t kUnreachedKey = ~uint64_t{0};
constexpr uint64_t kQueued = uint64_t{1} << 31;
constexpr uint32_t kNoPred = 0x7FFFFFFF;  // above every label
constexpr uint64_t kNoChoice = (uint64_t{0xFFFFFFFF} << 32) | kNoPred;
// An unreached node that a sum past the largest cost was offered to: a path
// reaches it only beyond the cost range, unless another one reaches it after all.
constexpr uint64_t kOverLimitChoice = (uint64_t{0xFFFFFFFE} << 32) | kNoPred;
// The source's choice: level 0 and no node, which no offer beats.
constexpr uint64_t kSourceChoice = kNoPred;

constexpr uint64_t keyOf(uint64_t cost, uint64_t hops) { return cost << 32 | hops; }
constexpr int32_t costOf(uint64_t key) { return static_cast<int32_t>(key >> 32); }
constexpr uint64_t choiceOf(uint64_t level, int32_t pred) {
  return level << 32 | static_cast<uint32_t>(pred);
}
constexpr uint64_t levelOf(uint64_t choice) { return choice >> 32; }
constexpr int32_t heldOf(uint64_t choice) { return static_cast<int32_t>(choice & kNoPred); }
constexpr int32_t predOf(uint64_t choice) {
  return heldOf(choice) == static_cast<int32_t>(kNoPred) ? -1 : heldOf(choice);
}

// Word access for one thread alone: plain loads and stores.
struct SoleAccess {
  static uint64_t load(const uint64_t& word) { return word; }
  static uint64_t loadKeyAfterTaking(const uint64_t& word) { return word; }
  // Lowers word to value when value is lower; returns the word before.
  static uint64_t lowerTo(uint64_t& word, uint64_t value) {
    const uint64_t before = word;
    if (value < before) word = value;
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
  static bool takeQueued(uint64_t& choice) {
    const bool was = (choice & kQueued) != 0;
    choice &= ~kQueued;
    return was;
  }
  static bool setQueued(uint64_t& choice) {
    const bool was = (choice & kQueued) != 0;
    choice |= kQueued;
    return was;
  }
};

// Word access shared by the threads of one search. Keys and choices are
// relaxed atomics: their final values do not depend on any order. Only the
// queued flag orders: a thread that lowers a key and then finds the flag set
// leaves the node to whoever takes the flag, and that one must then see the
// lowered key. Lowering a key and reading the flag are one pair, taking the
// flag and reading the key the other, all sequentially consistent (on x86
// the lowering and the taking are locked instructions anyway, the reads plain
// loads). A node queued twice is taken once.
struct SharedAccess {
  static uint64_t load(const uint64_t& word) {
    return std::atomic_ref<const uint64_t>(word).load(std::memory_order_relaxed);
  }
  static uint64_t loadKeyAfterTaking(const uint64_t& word) {
    return std::atomic_ref<const uint64_t>(word).load(std::memory_order_seq_cst);
  }
  static uint64_t lowerTo(uint64_t& word, uint64_t value) {
    std::atomic_ref<uint64_t> shared(word);
    uint64_t before = shared.load(std::memory_order_relaxed);
    while (value < before && !shared.compare_exchange_weak(before, value)) {
    }
    return before;
  }
  static bool replace(uint64_t& word, uint64_t& expected, uint64_t value) {
    return std::atomic_ref<uint64_t>(word).compare_exchange_weak(expected, value,
                                                                std::memory_order_relaxed);
  }
  static bool takeQueued(uint64_t& choice) {
    std::atomic_ref<uint64_t> shared(choice);
    return (shared.load(std::memory_order_relaxed) & kQueued) != 0 &&
           (shared.fetch_and(~kQueued) & kQueued) != 0;
  }
  static bool setQueued(uint64_t& choice) {
    std::atomic_ref<uint64_t> shared(choice);
    return (shared.load() & kQueued) != 0 || (shared.fetch_or(kQueued) & kQueued) != 0;
  }
};

// Offers u, whose key was keyOfU when it was taken, as v's choice at the sum
// level; keeps the least (level, rank) offered, and the queued flag as it is.
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
      const int32_t held = heldOf(current);
      if (held == static_cast<int32_t>(kNoPred) || held == u) return;  // the source, or u itself
      const uint64_t keyOfHeld = Access::load(nodes[held].key);
      if (keyOfU > keyOfHeld || (keyOfU == keyOfHeld && u > held)) return;
    }
    if (Access::replace(word, current, offer | (current & kQueued))) return;
  }
}

// Marks v, still unreached, as offered a sum past the largest cost.
template <typename Access>
inline void markOverLimit(CanonicalNode* nodes, int32_t v) {
  uint64_t& word = nodes[v].choice;
  uint64_t expected = kNoChoice;
  if (Access::load(word) == kNoChoice) Access::replace(word, expected, kOverLimitChoice);
}

// Relaxes the edges of u, whose key is keyOfU. Each node whose key fell and
// that is not already waiting in the bucket of its new cost goes to
// push(node, cost, firstReached).
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
    uint64_t keyOfV = Access::load(nodes[v].key);
    const uint64_t offered = keyOf(sum, hopsAfter);
    if (offered < keyOfV) {
      const uint64_t before = Access::lowerTo(nodes[v].key, offered);
      if (offered < before) {
        const bool waiting = Access::setQueued(nodes[v].choice);
        if (!waiting || (before >> 32) >> shift != sum >> shift) {
          push(v, static_cast<int64_t>(sum), before == kUnreachedKey);
        }
        keyOfV = offered;
      } else {
        keyOfV = before;
      }
    }
    if ((keyOfV >> 32) == sum && v != u) offerChoice<Access>(nodes, v, sum, u, keyOfU);
  }
}

}  // namespace canonical
