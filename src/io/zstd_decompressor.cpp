#include <zstd.h>

#include <cstdlib>

#include "base/allocation.h"
#include "io/compressed_input.h"

namespace {

struct ZstdState {
  ZSTD_DCtx* context = nullptr;
  char* input = nullptr;
  size_t inputBytes = 0;
  ZSTD_inBuffer pending{nullptr, 0, 0};
  bool rawEnded = false;
  bool frameOpen = false;  // a frame has begun and not yet ended
};

}  // namespace

void* startZstd() {
  auto* state = new (std::nothrow) ZstdState;
  if (state == nullptr) failAllocation();
  state->context = ZSTD_createDCtx();
  if (state->context == nullptr) failAllocation();
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
      failure = "corrupt zstd stream";
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
