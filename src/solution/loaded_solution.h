#pragma once

#include <cstdint>
#include <cstdlib>

// Memory order differs from the file's field order (label, cost, pred).
struct SolutionEntry {
  int32_t label;
  int32_t pred;
  int32_t cost;
};

// A solution file as read, one entry per line in file order. Owned by the run
// that reads it; the entry array is released with the record.
struct LoadedSolution {
  SolutionEntry* entries = nullptr;
  int32_t count = 0;
  int32_t capacity = 0;  // entries the array has room for

  LoadedSolution() = default;
  LoadedSolution(const LoadedSolution&) = delete;
  LoadedSolution& operator=(const LoadedSolution&) = delete;
  ~LoadedSolution() { std::free(entries); }

  // Forgets the entries and makes room for at least `room` of them.
  void prepare(int32_t room);

  void append(const SolutionEntry& entry) {
    if (count == capacity) grow();
    entries[count++] = entry;
  }

 private:
  void grow();
};
