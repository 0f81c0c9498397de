#include <zlib.h>

#include <cstdlib>

#include "base/allocation.h"
#include "io/compressed_input.h"

namespace {

constexpr size_t kInputBytes = 1 << 17;

struct GzipState {
  z_stream stream{};
  char* input = nullptr;
  bool rawEnded = false;
  bool memberEnded = false;  // between two concatenated members, or at the end
};

}  // namespace

void* startGzip() {
  auto* state = new (std::nothrow) GzipState;
  if (state == nullptr) failAllocation();
  state->input = static_cast<char*>(checkedMalloc(kInputBytes));
  // 15 + 16: a gzip wrapper, not a bare zlib stream.
  if (inflateInit2(&state->stream, 15 + 16) != Z_OK) failAllocation();
  return state;
}

ssize_t readGzip(void* opaque, RawInput& raw, char* into, size_t room, const char*& failure) {
  auto& state = *static_cast<GzipState*>(opaque);
  z_stream& stream = state.stream;
  stream.next_out = reinterpret_cast<Bytef*>(into);
  stream.avail_out = static_cast<uInt>(room);
  while (stream.avail_out == room) {
    if (stream.avail_in == 0 && !state.rawEnded) {
      const ssize_t got = raw.read(state.input, kInputBytes);
      if (got < 0) {
        failure = "read error";
        return -1;
      }
      if (got == 0) state.rawEnded = true;
      stream.next_in = reinterpret_cast<Bytef*>(state.input);
      stream.avail_in = static_cast<uInt>(got);
    }
    if (state.memberEnded) {
      if (stream.avail_in == 0 && state.rawEnded) return 0;
      if (stream.avail_in == 0) continue;
      inflateReset(&stream);  // another member follows, as `cat a.gz b.gz` makes
      state.memberEnded = false;
    }
    const int status = inflate(&stream, Z_NO_FLUSH);
    if (status == Z_STREAM_END) {
      state.memberEnded = true;
    } else if (status == Z_BUF_ERROR || (status == Z_OK && stream.avail_in == 0)) {
      if (state.rawEnded && stream.avail_in == 0 && stream.avail_out == room) {
        failure = "gzip stream ends early";
        return -1;
      }
    } else if (status != Z_OK) {
      failure = "corrupt gzip stream";
      return -1;
    }
  }
  return static_cast<ssize_t>(room - stream.avail_out);
}

void endGzip(void* opaque) {
  auto* state = static_cast<GzipState*>(opaque);
  if (state == nullptr) return;
  inflateEnd(&state->stream);
  std::free(state->input);
  delete state;
}
