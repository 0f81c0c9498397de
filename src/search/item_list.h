#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "base/allocation.h"
#include "base/grow_array.h"

// A growing list of node numbers, such as the nodes waiting in one bucket of
// a bucket search. It only ever grows; emptying it keeps its memory.
struct ItemList {
  int32_t* items = nullptr;
  int64_t size = 0;
  int64_t capacity = 0;

  void append(int32_t node) {
    if (size == capacity) grow();
    items[size++] = node;
  }

  void grow() {
    const int64_t grown = capacity < 1024 ? 1024 : 2 * capacity;
    items = static_cast<int32_t*>(growArray(items, static_cast<std::size_t>(size) * sizeof(int32_t),
                                            static_cast<std::size_t>(grown) * sizeof(int32_t)));
    capacity = grown;
  }

  // grow() for a thread that must not end the process itself: false, the
  // list unchanged, when the memory is not there.
  bool tryGrow() {
    const int64_t grown = capacity < 1024 ? 1024 : 2 * capacity;
    void* block = tryRealloc(items, static_cast<std::size_t>(grown) * sizeof(int32_t));
    if (block == nullptr) return false;
    items = static_cast<int32_t*>(block);
    capacity = grown;
    return true;
  }

  void release() {
    std::free(items);
    items = nullptr;
    size = capacity = 0;
  }
};
