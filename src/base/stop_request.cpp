#include "base/stop_request.h"

namespace {

thread_local const StopRequest* threadRequest = nullptr;

}  // namespace

const StopRequest* currentStopRequest() { return threadRequest; }

StopRequestScope::StopRequestScope(const StopRequest* request) : outer_(threadRequest) {
  threadRequest = request;
}

StopRequestScope::~StopRequestScope() { threadRequest = outer_; }

bool stopRequested() {
  const StopRequest* request = threadRequest;
  return request != nullptr && request->requested.load(std::memory_order_relaxed);
}
