#pragma once

#include <atomic>
#include <cstdint>

// Long work (a search, sources one after the other, reading a graph) that an
// embedding caller may want to end early: the Python module stops it when the
// user presses Ctrl-C. The caller makes a StopRequest and puts it in force on
// the thread that does the work (StopRequestScope); the library's threads
// that help that thread carry it over (currentStopRequest()). The work looks
// at it now and then and, once it is set, ends as soon as it can, as a
// failure whose results nobody may use. Without a request in force, as in the
// command-line tools, nothing ever stops early.
struct StopRequest {
  std::atomic<bool> requested{false};
};

// The request in force on the calling thread, or nullptr.
const StopRequest* currentStopRequest();

// Puts request (may be nullptr) in force on the calling thread for the scope.
class StopRequestScope {
 public:
  explicit StopRequestScope(const StopRequest* request);
  ~StopRequestScope();
  StopRequestScope(const StopRequestScope&) = delete;
  StopRequestScope& operator=(const StopRequestScope&) = delete;

 private:
  const StopRequest* outer_;
};

// Whether the work of the calling thread is asked to stop.
bool stopRequested();

// For loops too hot to look at the request on every step: due() is true once
// every kStepsPerLook steps, and only when a stop is requested by then. The
// look costs a thread-local read; a step costs a decrement.
struct StopCheck {
  static constexpr int32_t kStepsPerLook = 4096;
  int32_t stepsLeft = kStepsPerLook;

  bool due() {
    if (--stepsLeft > 0) return false;
    stepsLeft = kStepsPerLook;
    return stopRequested();
  }
};
