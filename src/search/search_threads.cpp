#include "search/search_threads.h"

#include <algorithm>

ThreadShare shareThreads(int32_t jobThreads, std::size_t sources, bool searchesUseThreads) {
  const int32_t threads = std::max(jobThreads, 1);
  const auto atOnce =
      static_cast<int32_t>(std::clamp<std::size_t>(sources, 1, static_cast<std::size_t>(threads)));
  const int32_t inside = std::clamp(threads / atOnce, 1, kMostThreadsInASearch);
  return ThreadShare{atOnce, searchesUseThreads ? inside : 1};
}
