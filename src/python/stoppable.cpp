#include "python/stoppable.h"

#include <pybind11/pybind11.h>

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

#include "base/stop_request.h"

namespace py = pybind11;

namespace {

// Short enough that a stop follows Ctrl-C well within half a second.
constexpr std::chrono::milliseconds kWatchInterval{40};

struct WatchedWork {
  StopRequest request;
  std::exception_ptr failure;
  std::mutex lock;
  std::condition_variable finished;
  bool done = false;

  void run(const std::function<void()>& work) {
    {
      const StopRequestScope stoppable(&request);
      try {
        work();
      } catch (...) {
        failure = std::current_exception();
      }
    }
    const std::lock_guard<std::mutex> hold(lock);
    done = true;
    finished.notify_all();
  }

  bool awaitFor(std::chrono::milliseconds interval) {
    std::unique_lock<std::mutex> hold(lock);
    return finished.wait_for(hold, interval, [this] { return done; });
  }
};

}  // namespace

void runStoppable(const std::function<void()>& work, bool worthWatching) {
  WatchedWork watched;
  std::thread worker;
  if (worthWatching) {
    try {
      worker = std::thread([&] { watched.run(work); });
    } catch (const std::system_error&) {
    }
  }
  if (!worker.joinable()) {
    py::gil_scoped_release unlocked;
    work();
    return;
  }
  for (;;) {
    bool done;
    {
      py::gil_scoped_release unlocked;
      done = watched.awaitFor(kWatchInterval);
    }
    if (done) break;
    if (PyErr_CheckSignals() != 0) {
      watched.request.requested = true;
      {
        py::gil_scoped_release unlocked;
        worker.join();
      }
      throw py::error_already_set();
    }
  }
  worker.join();
  if (watched.failure) std::rethrow_exception(watched.failure);
}
