// The buffered line writer: exact bytes whatever the buffer, and every byte
// delivered when the file takes few at a time.
#include "io/text_writer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "base/thread_count.h"
#include "support/process.h"

namespace {

std::string linesOf(const std::vector<int32_t>& values, size_t count) {
  std::string text;
  for (size_t i = 0; i + 2 < count; i += 3) {
    text += std::to_string(values[i]) + " " + std::to_string(values[i + 1]) + " " +
            std::to_string(values[i + 2]) + "\n";
  }
  return text;
}

// Writes the first count values as lines of three through a writer with the
// given buffer over an older, longer file, and returns the file.
std::string writeLines(const std::vector<int32_t>& values, size_t count, int32_t capacity) {
  TempDir dir;
  writeFile(dir.file("out"), std::string(100, 'x'));
  TextWriter writer;
  writer.capacity = capacity;
  EXPECT_EQ(writer.open(dir.file("out").c_str()), 0);
  for (size_t i = 0; i + 2 < count; i += 3) writer.putLine(values[i], values[i + 1], values[i + 2]);
  EXPECT_TRUE(writer.close());
  return readFile(dir.file("out"));
}

// Every digit count and sign, 36-byte lines among short ones, and buffers
// smaller than a line: the bytes are those of the standard conversion, and
// both ways of splitting eight digits agree.
TEST(TextWriter, LinesMatchStandardConversionWhateverTheBuffer) {
  std::vector<int32_t> values;
  for (int64_t power = 1; power <= 1000000000; power *= 10) {
    for (int64_t near : {power - 1, power, power + 1}) {
      values.insert(values.end(), {static_cast<int32_t>(near), static_cast<int32_t>(-near), INT32_MIN});
    }
  }
  values.insert(values.end(), {INT32_MIN + 1, INT32_MAX, 0});
  const size_t boundaryCount = values.size();
  for (const int32_t capacity : {1, 16, 36}) {
    EXPECT_EQ(writeLines(values, boundaryCount, capacity), linesOf(values, boundaryCount));
  }
  for (int32_t value = -100000; value < 1000000; ++value) values.push_back(value);
  std::mt19937 engine(7);
  for (int i = 0; i < 200000; ++i) values.push_back(static_cast<int32_t>(engine()));
  EXPECT_TRUE(writeLines(values, values.size(), 32768) == linesOf(values, values.size()));
  for (uint32_t value = 0; value < 100000000; value += 1 + engine() % 5000) {
    ASSERT_EQ(decimal::eightDigitBytesPortable(value), decimal::eightDigitBytes(value)) << value;
  }
}

// A writer that is never closed (a failure unwound past it) leaves the old
// file and gives back its descriptor and its thread.
TEST(TextWriter, AWriterNotClosedLeavesTheOldFile) {
  TempDir dir;
  writeFile(dir.file("out"), "old\n");
  const size_t openFiles = entries("/proc/self/fd").size();
  {
    TextWriter writer;
    writer.capacity = 4096;
    ASSERT_EQ(writer.open(dir.file("out").c_str()), 0);
    for (int32_t i = 0; i < 100000; ++i) writer.putLine(i, i, i);
  }
  EXPECT_EQ(readFile(dir.file("out")), "old\n");
  EXPECT_EQ(entries(dir.path()).size(), 1u);
  EXPECT_EQ(entries("/proc/self/fd").size(), openFiles);
}

void ignoreSignal(int) {}

// Signals without SA_RESTART land while the writer blocks on a full pipe, so
// its writes come back short or interrupted; every byte must still arrive.
TEST(TextWriter, ShortAndInterruptedWritesAreContinued) {
  struct sigaction action {}, previous {};  // zeroed: empty mask, no SA_RESTART
  action.sa_handler = ignoreSignal;
  ASSERT_EQ(sigaction(SIGUSR1, &action, &previous), 0);
  TempDir dir;
  const std::string path = dir.file("pipe");
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  std::vector<int32_t> values;
  for (int32_t i = 0; i < 900000; ++i) values.push_back(i * 7 - 5);

  bool closed = false;
  const int32_t threads = threadCount();
  setThreadCount(1);  // the writes stay on the thread the signals reach
  std::thread writerThread([&] {
    TextWriter writer;
    writer.capacity = 32768;
    // The open waits for the reader below, as a fifo does.
    if (writer.open(path.c_str()) != 0) return;
    for (size_t i = 0; i + 2 < values.size(); i += 3) writer.putLine(values[i], values[i + 1], values[i + 2]);
    closed = writer.close();
  });
  const int reader = ::open(path.c_str(), O_RDONLY);
  ASSERT_GE(reader, 0);
  std::string received;
  char chunk[4096];
  for (int round = 0;; ++round) {
    if (round % 4 == 0) pthread_kill(writerThread.native_handle(), SIGUSR1);
    const ssize_t got = ::read(reader, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    received.append(chunk, static_cast<size_t>(got));
  }
  writerThread.join();
  ::close(reader);
  sigaction(SIGUSR1, &previous, nullptr);
  setThreadCount(threads);
  EXPECT_TRUE(closed);
  EXPECT_TRUE(received == linesOf(values, values.size())) << received.size() << " bytes";
}

}  // namespace
