#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>

// Running out of memory is not recoverable in this tool: every allocation goes
// through these helpers, which print "Can not allocate memory" and end the
// process with status -1 instead of returning null or throwing.

[[noreturn]] void failAllocation();

// A caller that embeds the library can have the calling thread's allocation
// failures end differently: the handler runs first and must not return (it
// throws, for example). nullptr restores the message and the exit.
using AllocationFailureHandler = void (*)();
void setAllocationFailureHandler(AllocationFailureHandler handler);

void* checkedMalloc(std::size_t bytes);
void* checkedRealloc(void* block, std::size_t bytes);

// realloc for a thread that must not end the process itself: null when the
// memory is not there (the block is then unchanged). Its caller's thread
// reports the failure with failAllocation.
void* tryRealloc(void* block, std::size_t bytes);

// A malloc'ed block owned by a scope, freed when a failure (an embedding
// caller's handler throws) unwinds past it.
struct FreeMallocedBlock {
  void operator()(void* block) const { std::free(block); }
};
template <typename T>
using MallocedBlock = std::unique_ptr<T, FreeMallocedBlock>;

// The bytes this process may still take, measured now (base/memory_limit.cpp):
// the least of the memory the system has available (with free swap), what
// the address space limit (ulimit -v) leaves beside the mappings the process
// has, and what the memory limits of its control groups leave. A request
// beyond it fails at once instead of after touching much of it; the figure
// changes as the machine's load does, so take it once per decision.
std::size_t memoryLimitBytes();

// Array-new family: arrays that are only ever replaced whole.
template <typename T>
T* allocateArray(std::size_t count) {
  T* array = new (std::nothrow) T[count];
  if (array == nullptr) failAllocation();
  return array;
}

template <typename T>
void releaseArray(T*& array) {
  delete[] array;
  array = nullptr;
}

// Asks the kernel for transparent huge pages for [block, block + bytes), taken
// out to whole 4 KiB pages. Large arrays touched at random (the search state,
// the graph) spend most of their time in TLB misses with 4 KiB pages. A large
// malloc block is a mapping of its own, and advising all of it keeps it one
// mapping, which realloc can then move or extend without copying. Call it
// before the memory is first touched; it is only advice and may be ignored.
void adviseHugePages(void* block, std::size_t bytes);
