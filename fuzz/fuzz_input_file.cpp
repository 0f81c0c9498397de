#include "fuzz_input_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

const std::string& writeFuzzInput(const uint8_t* data, size_t size) {
  static const std::string path = [] {
    char pattern[] = "/tmp/vorlinde-fuzz-XXXXXX";
    const int fd = mkstemp(pattern);
    if (fd < 0) std::abort();
    ::close(fd);
    return std::string(pattern);
  }();
  const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC);
  if (fd < 0) std::abort();
  size_t done = 0;
  while (done < size) {
    const ssize_t written = ::write(fd, data + done, size - done);
    if (written <= 0) std::abort();
    done += static_cast<size_t>(written);
  }
  ::close(fd);
  return path;
}
