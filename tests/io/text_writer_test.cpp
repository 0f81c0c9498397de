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

std::string referenceText(int32_t value) {
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  return std::string(digits, result.ptr);
}

TEST(DecimalFormat, MatchesStandardConversion) {
  std::vector<int32_t> values = {INT32_MIN, INT32_MAX, INT32_MIN + 1, INT32_MAX - 1};
  for (int64_t power = 1; power <= 1000000000; power *= 10) {
    for (int64_t near : {power - 1, power, power + 1}) {
      values.push_back(static_cast<int32_t>(near));
      values.push_back(static_cast<int32_t>(-near));
    }
  }
  for (int32_t value = -100000; value < 1000000; ++value) values.push_back(value);
  std::mt19937 engine(7);
  for (int i = 0; i < 200000; ++i) values.push_back(static_cast<int32_t>(engine()));
  for (const int32_t value : values) {
    char text[16 + decimal::kStoreSlack];
    char* end = decimal::formatInt(text, value);
    ASSERT_EQ(std::string(text, end), referenceText(value)) << value;
    ASSERT_EQ(decimal::formattedLength(value), end - text) << value;
  }
  // The vector digit split against the plain one it stands in for.
  for (uint32_t value = 0; value < 100000000; value += 37) {
    ASSERT_EQ(decimal::eightDigitBytes(value), decimal::eightDigitBytesPortable(value)) << value;
  }
}

// Writes the lines through a writer with the given buffer and returns the file.
std::string writeLines(const std::vector<std::vector<int32_t>>& lines, int32_t capacity = 32768,
                       int32_t reserve = 33) {
  TempDir dir;
  TextWriter writer;
  writer.capacity = capacity;
  writer.reserve = reserve;
  EXPECT_EQ(writer.open(dir.file("out").c_str()), 0);
  for (const auto& line : lines) writer.putLine(line[0], line[1], line[2]);
  EXPECT_TRUE(writer.close());
  return readFile(dir.file("out"));
}

TEST(TextWriter, LinesAreThreeNumbersSeparatedBySingleBlanks) {
  EXPECT_EQ(writeLines({{0, 0, 0}}), "0 0 0\n");
  EXPECT_EQ(writeLines({{5, -1, -1}}), "5 -1 -1\n");
  EXPECT_EQ(writeLines({{INT32_MAX, INT32_MIN, 10}, {100, -100, 1000000000}}),
            "2147483647 -2147483648 10\n100 -100 1000000000\n");
  EXPECT_EQ(writeLines({}), "");
}

TEST(TextWriter, LongestLinesNeverOverrunTheBuffer) {
  // 36-byte lines through buffers that are smaller than a line.
  std::vector<std::vector<int32_t>> lines;
  std::string expected;
  for (int i = 0; i < 50; ++i) {
    lines.push_back({i % 3, 0, 0});
    expected += std::to_string(i % 3) + " 0 0\n";
    lines.push_back({INT32_MIN, INT32_MIN, -1000000000});
    expected += "-2147483648 -2147483648 -1000000000\n";
  }
  EXPECT_EQ(writeLines(lines, 36, 33), expected);
  EXPECT_EQ(writeLines(lines, 1, 0), expected);
}

TEST(TextWriter, WritesWholeBuffersAndCarriesTheRestOver) {
  TempDir dir;
  const std::string path = dir.file("out");
  auto bytesOnDisk = [&] {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_size;
  };
  TextWriter writer;
  writer.capacity = 16;
  writer.reserve = 33;
  ASSERT_EQ(writer.open(path.c_str()), 0);
  writer.putLine(10, 20, 30);
  writer.putLine(11, 21, 31);  // runs 2 bytes past the capacity
  EXPECT_EQ(bytesOnDisk(), 0);
  writer.putLine(12, 22, 32);  // the full buffer goes first
  EXPECT_EQ(bytesOnDisk(), 16);
  writer.putLine(-2147483647, -2147483647, -2147483647);
  EXPECT_EQ(bytesOnDisk(), 16);
  writer.putLine(13, 23, 33);  // the 36-byte line spans two more whole buffers
  EXPECT_EQ(bytesOnDisk(), 48);
  EXPECT_TRUE(writer.close());
  EXPECT_EQ(readFile(path),
            "10 20 30\n11 21 31\n12 22 32\n-2147483647 -2147483647 -2147483647\n13 23 33\n");
}

TEST(TextWriter, TruncatesAnExistingFileAndCreatesNewOnesPrivate) {
  TempDir dir;
  const std::string path = dir.file("out");
  writeFile(path, "old contents that are longer than the new ones\n");
  chmod(path.c_str(), 0644);
  TextWriter writer;
  writer.capacity = 32768;
  writer.reserve = 33;
  ASSERT_EQ(writer.open(path.c_str()), 0);
  writer.putLine(1, 2, 3);
  ASSERT_TRUE(writer.close());
  EXPECT_EQ(readFile(path), "1 2 3\n");

  const mode_t oldMask = umask(0);
  const std::string fresh = dir.file("fresh");
  ASSERT_EQ(writer.open(fresh.c_str()), 0);
  ASSERT_TRUE(writer.close());
  umask(oldMask);
  struct stat info {};
  ASSERT_EQ(stat(fresh.c_str(), &info), 0);
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
