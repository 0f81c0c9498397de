#pragma once

#include <algorithm>
#include <cstdint>

#include "graph/graph_types.h"

// A bucket search takes nodes from a list, and each costs a chain of
// dependent cache misses: the node's own word and its range, then its edges,
// then the words of its edges' targets. Walked ahead in stages over the nodes
// still to come, the misses of later nodes overlap with the work on this one;
// without it a search on one thread takes one and a half to two and a half
// times as long.
struct PrefetchAhead {
  static constexpr int64_t kRangesAhead = 16;
  static constexpr int64_t kEdgesAhead = 8;
  static constexpr int64_t kTargetsAhead = 4;
  static constexpr int64_t kEdgeLinesAhead = 8;

  const Edge* edges;
  const EdgeRange* ranges;

  // Before the node items[i] of a list of listed: word(node) is the address
  // of a node's own word, due(node) whether the node will be relaxed (its
  // targets are then worth fetching), target(node) the address of the word
  // of an edge's target. (Forced inline, or GCC 12 drops prefetch-only code
  // as having no effect.)
  template <typename Word, typename Due, typename Target>
  [[gnu::always_inline]] void before(const int32_t* items, int64_t i, int64_t listed, Word&& word,
                                     Due&& due, Target&& target) const {
    if (i + kRangesAhead < listed) {
      const int32_t later = items[i + kRangesAhead];
      __builtin_prefetch(word(later));
      __builtin_prefetch(&ranges[later]);
    }
    if (i + kEdgesAhead < listed) {
      const EdgeRange later = ranges[items[i + kEdgesAhead]];
      if (later.first >= 0) {
        // Every line of a few dozen edges; past that the lines stream in as
        // the edges are read.
        const char* line = reinterpret_cast<const char*>(&edges[later.first]);
        const char* last = reinterpret_cast<const char*>(&edges[later.last]);
        const int64_t lines = std::min<int64_t>((last - line) / 64, kEdgeLinesAhead);
        for (int64_t k = 0; k <= lines; ++k) __builtin_prefetch(line + 64 * k);
        __builtin_prefetch(last);
      }
    }
    if (i + kTargetsAhead < listed) {
      const int32_t later = items[i + kTargetsAhead];
      if (!due(later)) return;
      const EdgeRange range = ranges[later];
      for (int32_t e = range.first; range.first >= 0 && e <= range.last; ++e) {
        __builtin_prefetch(target(edges[e].to), 1);
      }
    }
  }
};
