#pragma once

#include <atomic>
#include <cstddef>
#include <system_error>
#include <thread>
#include <vector>

#include "base/stop_request.h"
#include "graph/shortest_path_solver.h"

// Hands the indices 0 .. count - 1 out to up to threadCount threads, the
// calling one among them, each with a solver of its own on owner's graph:
// work(solver, index) runs once per index until one returns false, after
// which no more are handed out, as after a stop request (base/stop_request.h),
// which the helpers share with the calling thread. A thread that cannot be started leaves its
// share to the others.
template <typename Work>
void solveSources(const ShortestPathSolver& owner, std::size_t count, int threadCount,
                  Work&& work) {
  std::atomic<std::size_t> next{0};
  std::atomic<bool> stop{false};
  const StopRequest* request = currentStopRequest();
  const auto share = [&] {
    const StopRequestScope stoppable(request);
    ShortestPathSolver solver;
    solver.shareGraph(owner);
    for (std::size_t index; !stop && !stopRequested() && (index = next++) < count;) {
      if (!work(solver, index)) stop = true;
    }
  };
  std::vector<std::thread> helpers;
  for (int thread = 1; thread < threadCount; ++thread) {
    try {
      helpers.emplace_back(share);
    } catch (const std::system_error&) {
      break;
    }
  }
  share();
  for (std::thread& helper : helpers) helper.join();
}
