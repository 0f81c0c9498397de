#include "io/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "base/allocation.h"
#include "base/messages.h"
#include "base/stop_request.h"

namespace {

constexpr size_t kHeadBytes = 1 << 16;

bool isStandardInput(const char* path) { return std::strcmp(path, "-") == 0; }

// Reads into room bytes until at least `least` are there, unless the input
// ends or fails first; the count of bytes filled, with failed set on a failure.
template <typename Read>
size_t fill(char* into, size_t room, size_t least, bool& failed, Read&& read) {
  size_t filled = 0;
  failed = false;
  while (filled < least) {
    const ssize_t got = read(into + filled, room - filled);
    if (got < 0) {
      failed = true;
      break;
    }
    if (got == 0) break;
    filled += static_cast<size_t>(got);
  }
  return filled;
}

}  // namespace

bool InputFile::open(const char* path, bool look) {
  const bool standardInput = isStandardInput(path);
  raw.fd = standardInput ? STDIN_FILENO : ::open(path, O_RDONLY);
  ownsFd = !standardInput;
  if (raw.fd < 0) {
    ownsFd = false;
    reportInputNotOpened(path);
    return false;
  }
  struct stat status;
  const bool regular = fstat(raw.fd, &status) == 0 && S_ISREG(status.st_mode);

  raw.kept = static_cast<char*>(checkedMalloc(kHeadBytes));
  bool failed = false;
  // Without a look, a pipe's text is read as it comes: only the bytes that
  // tell the compression are waited for.
  const size_t rawHead =
      fill(raw.kept, kHeadBytes, look ? kHeadBytes : kCompressionMagicBytes, failed,
           [&](char* into, size_t room) { return raw.read(into, room); });
  if (failed) {
    reportCannotRead(path);
    close();
    return false;
  }
  raw.keptSize = rawHead;
  raw.keptPos = 0;
  raw.bytesRead = 0;
  const Compression compression = compressionOf(raw.kept, raw.keptSize);
  decompressor.start(compression);
  plainFile = regular && !standardInput && compression == Compression::None;

  head = static_cast<char*>(checkedMalloc(kHeadBytes));
  headSize = look ? fill(head, kHeadBytes, kHeadBytes, failed,
                         [&](char* into, size_t room) { return decompressor.read(raw, into, room); })
                  : 0;
  headPos = 0;
  // A stream broken inside the first block is reported after the text before the break.
  failure = failed ? decompressor.failure : nullptr;
  // A text that fits the look is read at once; without a look its length is unknown.
  if (compression != Compression::None && !failed && (headSize == kHeadBytes || !look)) {
    decodeAhead.start(decompressor, raw);
  }
  return true;
}

ssize_t InputFile::readText(char* into, size_t room) {
  if (headPos < headSize) {
    const size_t count = room < headSize - headPos ? room : headSize - headPos;
    std::memcpy(into, head + headPos, count);
    headPos += count;
    return static_cast<ssize_t>(count);
  }
  if (failure != nullptr) return -1;
  if (stopRequested()) {
    failure = "reading stopped";
    return -1;
  }
  if (decodeAhead.running()) return decodeAhead.read(into, room, failure);
  const ssize_t got = decompressor.read(raw, into, room);
  if (got < 0) failure = decompressor.failure;
  return got;
}

ssize_t InputFile::readThunk(void* context, char* into, size_t room) {
  return static_cast<InputFile*>(context)->readText(into, room);
}

ByteSource InputFile::source() {
  return ByteSource{this, &InputFile::readThunk, plainFile ? raw.fd : -1, &failure};
}

void InputFile::close() {
  decodeAhead.finish();
  decompressor.end();
  if (ownsFd) ::close(raw.fd);
  ownsFd = false;
  raw.fd = -1;
  std::free(raw.kept);
  raw.kept = nullptr;
  std::free(head);
  head = nullptr;
}
