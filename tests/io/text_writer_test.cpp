// The buffered line writer: exact bytes, flush points, and what happens when
// the file refuses bytes.
#include "io/text_writer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "io/decimal_format.h"
#include "support/process.h"

namespace {

TEST(DecimalFormat, MatchesStandardConversion) {
  const auto expectSame = [](int32_t value) {
    char text[16 + decimal::kStoreSlack];
    char reference[16];
    char* end = decimal::formatInt(text, value);
    char* referenceEnd = std::to_chars(reference, reference + sizeof reference, value).ptr;
    ASSERT_EQ(std::string(text, end), std::string(reference, referenceEnd));
    ASSERT_EQ(decimal::formattedLength(value), end - text) << value;
  };
  for (int64_t power = 1; power <= 1000000000; power *= 10) {
    for (int64_t near : {power - 1, power, power + 1}) {
      expectSame(static_cast<int32_t>(near));
      expectSame(static_cast<int32_t>(-near));
    }
  }
  for (int32_t value : {INT32_MIN, INT32_MIN + 1, INT32_MAX - 1, INT32_MAX}) expectSame(value);
  for (int32_t value = -100000; value < 1000000; ++value) expectSame(value);
  std::mt19937 engine(7);
  for (int i = 0; i < 200000; ++i) expectSame(static_cast<int32_t>(engine()));
  // The vector digit split against the plain one it stands in for.
  for (uint32_t value = 0; value < 100000000; value += 37) {
    ASSERT_EQ(decimal::eightDigitBytes(value), decimal::eightDigitBytesPortable(value)) << value;
  }
}

// Writes the lines through a writer with the given buffer and returns the file.
std::string writeLines(const std::vector<std::vector<int32_t>>& lines, int32_t capacity) {
  TempDir dir;
  TextWriter writer;
  writer.capacity = capacity;
  writer.reserve = 33;
  EXPECT_EQ(writer.open(dir.file("out").c_str()), 0);
  for (const auto& line : lines) writer.putLine(line[0], line[1], line[2]);
  EXPECT_TRUE(writer.close());
  return readFile(dir.file("out"));
}

TEST(TextWriter, LongestLinesNeverOverrunTheBuffer) {
  // 36-byte lines among short ones, through buffers smaller than a line.
  std::vector<std::vector<int32_t>> lines;
  std::string expected;
  for (int i = 0; i < 50; ++i) {
    lines.push_back({i % 3, 0, INT32_MAX});
    expected += std::to_string(i % 3) + " 0 2147483647\n";
    lines.push_back({INT32_MIN, INT32_MIN, -1000000000});
    expected += "-2147483648 -2147483648 -1000000000\n";
  }
  for (const int32_t capacity : {1, 16, 36, 32768}) EXPECT_EQ(writeLines(lines, capacity), expected) << capacity;
  EXPECT_EQ(writeLines({}, 32768), "");
}

TEST(TextWriter, TruncatesAnExistingFileAndCreatesNewOnesPrivate) {
  TempDir dir;
  writeFile(dir.file("old"), "old contents that are longer than the new ones\n");
  const mode_t oldMask = umask(0);
  for (const char* name : {"old", "fresh"}) {
    TextWriter writer;
    writer.capacity = 32768;
    writer.reserve = 33;
    ASSERT_EQ(writer.open(dir.file(name).c_str()), 0);
    writer.putLine(1, 2, 3);
    ASSERT_TRUE(writer.close());
    EXPECT_EQ(readFile(dir.file(name)), "1 2 3\n");
  }
  umask(oldMask);
  struct stat info {};
  ASSERT_EQ(stat(dir.file("fresh").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(TextWriter, FailedWriteIsReportedOnceAndCloseFails) {
  for (const int lineCount : {1, 100000}) {  // failing on close, and on a flush before it
    TextWriter writer;
    writer.capacity = 32768;
    writer.reserve = 33;
    ASSERT_EQ(writer.open("/dev/full"), 0);
    testing::internal::CaptureStderr();
    for (int i = 0; i < lineCount; ++i) writer.putLine(i, i, i);
    EXPECT_FALSE(writer.close());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "writting error\n") << lineCount;
  }
}

void ignoreSignal(int) {}

// Signals without SA_RESTART land while the writer blocks on a full pipe, so
// its writes come back short or interrupted; every byte must still arrive.
TEST(TextWriter, ShortAndInterruptedWritesAreContinued) {
  struct sigaction action {};
  struct sigaction previous {};
  action.sa_handler = ignoreSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;
  ASSERT_EQ(sigaction(SIGUSR1, &action, &previous), 0);

  TempDir dir;
  const std::string path = dir.file("pipe");
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  constexpr int kLines = 300000;
  std::string expected;
  for (int i = 0; i < kLines; ++i) {
    expected += std::to_string(i) + " " + std::to_string(i * 7 - 5) + " " + std::to_string(-i) + "\n";
  }

  bool closed = false;
  std::thread writerThread([&] {
    TextWriter writer;
    writer.capacity = 32768;
    writer.reserve = 33;
    // Read-write open of a fifo does not wait for a reader.
    if (writer.open(path.c_str()) != 0) return;
    for (int i = 0; i < kLines; ++i) writer.putLine(i, i * 7 - 5, -i);
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
  EXPECT_TRUE(closed);
  EXPECT_EQ(received.size(), expected.size());
  EXPECT_TRUE(received == expected);
}

}  // namespace
