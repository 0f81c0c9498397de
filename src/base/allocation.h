#pragma once

#include <cstddef>
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

// Asks the kernel for transparent huge pages on the whole 2 MiB pages inside
// [block, block + bytes). Large arrays touched at random (the search state,
// the graph) spend most of their time in TLB misses with 4 KiB pages. Call it
// before the memory is first touched; it is only advice and may be ignored.
void adviseHugePages(void* block, std::size_t bytes);
