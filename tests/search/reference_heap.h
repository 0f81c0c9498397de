#pragma once

#include <cstdint>
#include <utility>
#include <vector>

// The heap's movement rules written out the plain way, swap by swap, to hold
// the solver's heap against.
struct ReferenceHeap {
  std::vector<int32_t> position, node, key;

  explicit ReferenceHeap(int32_t count) : position(count, -1) {}
  int32_t size() const { return static_cast<int32_t>(node.size()); }

  void swapSlots(int32_t s, int32_t t) {
    std::swap(node[s], node[t]);
    std::swap(key[s], key[t]);
    position[node[s]] = s;
    position[node[t]] = t;
  }
  void siftUp(int32_t s) {
    for (; s > 0 && key[(s - 1) / 2] > key[s]; s = (s - 1) / 2) swapSlots(s, (s - 1) / 2);
  }
  void push(int32_t v, int32_t k) {
    node.push_back(v);
    key.push_back(k);
    position[v] = size() - 1;
    siftUp(size() - 1);
  }
  void decreaseKey(int32_t v, int32_t k) {
    key[position[v]] = k;
    siftUp(position[v]);
  }
  int32_t popMin() {
    const int32_t v = node[0];
    node[0] = node.back();
    key[0] = key.back();
    node.pop_back();
    key.pop_back();
    if (size() == 0) return v;
    position[node[0]] = 0;
    for (int32_t c = 0; 2 * c + 1 < size();) {
      int32_t child = 2 * c + 1;
      if (child + 1 < size() && key[child + 1] < key[child]) ++child;
      if (!(key[child] < key[c])) break;
      swapSlots(c, child);
      c = child;
    }
    return v;
  }
};
