#include <zstd.h>
#include <zstd_errors.h>

#include <cstdio>
#include <cstdlib>

#include "base/allocation.h"
#include "io/compressed_input.h"

namespace {

// The library's own bound on windows (ZSTD_WINDOWLOG_LIMIT_DEFAULT, 128 MiB)
// keeps every frame written for it readable whatever memory there is;
// zstd --long=31 writes windows of up to 2 GiB, which are read where that
// memory can be had.
constexpr int kLeastWindowLog = 27;
constexpr int kMostWindowLog = 31;

struct ZstdState {
  ZSTD_DCtx* context = nullptr;
  char* input = nullptr;
  size_t inputBytes = 0;
  ZSTD_inBuffer pending{nullptr, 0, 0};
  bool rawEnded = false;
  bool frameOpen = false;  // a frame has begun and not yet ended
  char windowTooLarge[96] = {};
};

// The largest window the memory the process may take can hold.
int windowLogInMemory() {
  const size_t available = memoryLimitBytes();
  int log = kLeastWindowLog;
  while (log < kMostWindowLog && (size_t{2} << log) <= available) ++log;
  return log;
}

}  // namespace

void* startZstd() {
  auto* state = new (std::nothrow) ZstdState;
  if (state == nullptr) failAllocation();
  state->context = ZSTD_createDCtx();
  if (state->context == nullptr) failAllocation();
  const int windowLog = windowLogInMemory();
  ZSTD_DCtx_setParameter(state->context, ZSTD_d_windowLogMax, windowLog);
  std::snprintf(state->windowTooLarge, sizeof state->windowTooLarge,
                "zstd window too large (at most %d MiB with the memory available)",
                1 << (windowLog - 20));
  state->inputBytes = ZSTD_DStreamInSize();
  state->input = static_cast<char*>(checkedMalloc(state->inputBytes));
  return state;
}

ssize_t readZstd(void* opaque, RawInput& raw, char* into, size_t room, const char*& failure) {
  auto& state = *static_cast<ZstdState*>(opaque);
  ZSTD_outBuffer out{into, room, 0};
  while (out.pos == 0) {
    if (state.pending.pos == state.pending.size) {
      if (state.rawEnded) {
        if (!state.frameOpen) return 0;
        failure = "zstd stream ends early";
        return -1;
      }
      const ssize_t got = raw.read(state.input, state.inputBytes);
      if (got < 0) {
        failure = "read error";
        return -1;
      }
      if (got == 0) {
        state.rawEnded = true;
        continue;
      }
      state.pending = ZSTD_inBuffer{state.input, static_cast<size_t>(got), 0};
    }
    const size_t hint = ZSTD_decompressStream(state.context, &out, &state.pending);
    if (ZSTD_isError(hint)) {
      const ZSTD_ErrorCode error = ZSTD_getErrorCode(hint);
      // A window's memory is taken as a frame begins: failing to get it is
      // the same refusal as a window past the bound.
      const bool tooLarge = error == ZSTD_error_frameParameter_windowTooLarge ||
                            error == ZSTD_error_memory_allocation;
      failure = tooLarge ? state.windowTooLarge : "corrupt zstd stream";
      return -1;
    }
    // 0: a frame ended and everything it holds was handed out.
    state.frameOpen = hint != 0;
  }
  return static_cast<ssize_t>(out.pos);
}

void endZstd(void* opaque) {
  auto* state = static_cast<ZstdState*>(opaque);
  if (state == nullptr) return;
  ZSTD_freeDCtx(state->context);
  std::free(state->input);
  delete state;
}
