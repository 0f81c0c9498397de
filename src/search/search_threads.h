#pragma once

#include <cstddef>
#include <cstdint>

// How the threads of a job go to its searches: as many searches at once as
// there are threads, while the sources last, and the threads left over work
// inside them (a search by the canonical tie order can use several). With
// one source and four threads, one search runs on four; with three sources
// and four threads, three run at once, each on one thread.
// More threads inside one search would only wait for the memory the others use.
constexpr int32_t kMostThreadsInASearch = 64;

struct ThreadShare {
  int32_t searchesAtOnce;
  int32_t threadsPerSearch;
};

ThreadShare shareThreads(int32_t jobThreads, std::size_t sources, bool searchesUseThreads);
