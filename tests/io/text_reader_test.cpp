// The edge-line reader on files: line ends, blanks, refills in the middle of
// a line, and the first bad line with its number and reason.
#include "io/text_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graph/shortest_path_solver.h"
#include "support/graph_file.h"
#include "support/process.h"

namespace {

struct Reading {
  std::vector<Edge> lines;
  int32_t status = kEdgeLineRead;  // what ended the reading
  int64_t badLine = 0;
  std::string reason;
};

class TextReaderTest : public ::testing::Test {
 protected:
  ShortestPathSolver solver;  // owns the power table
  TempDir dir;

  Reading readAll(const std::string& text, int32_t capacity = 32768) {
    const std::string path = dir.file("graph.txt");
    writeFile(path, text);
    return readPath(path, capacity);
  }

  Reading readPath(const std::string& path, int32_t capacity = 32768) {
    TextReader reader;
    reader.capacity = capacity;
    Reading reading;
    EXPECT_EQ(reader.open(path.c_str()), 0);
    Edge edge{};
    while ((reading.status = reader.readEdgeLine(solver.powersOfTen, edge.from, edge.to,
                                                 edge.cost)) == kEdgeLineRead) {
      reading.lines.push_back(edge);
    }
    if (reading.status == kEndOfInput) {
      // The end stays the end.
      EXPECT_EQ(reader.readEdgeLine(solver.powersOfTen, edge.from, edge.to, edge.cost),
                kEndOfInput);
    }
    if (reading.status == kBadLine) {
      reading.badLine = reader.badLineNumber;
      reading.reason = reader.badLineReason;
    }
    reader.close();
    return reading;
  }

  void expectLines(const std::string& text, const std::vector<Edge>& lines) {
    const Reading reading = readAll(text);
    EXPECT_EQ(reading.status, kEndOfInput) << text;
    EXPECT_EQ(graphText(reading.lines), graphText(lines)) << text;
  }

  void expectBadLine(const std::string& text, int64_t line, const std::string& reason) {
    const Reading reading = readAll(text);
    EXPECT_EQ(reading.status, kBadLine) << text;
    EXPECT_EQ(reading.badLine, line) << text;
    EXPECT_EQ(reading.reason, reason) << text;
  }
};

TEST_F(TextReaderTest, LineEndsAndBlanks) {
  expectLines("3 5 7\n", {{3, 5, 7}});
  expectLines("3 5 7\r\n", {{3, 5, 7}});
  expectLines("3 5 7\r\n8 9 10\n11 12 13\r\n", {{3, 5, 7}, {8, 9, 10}, {11, 12, 13}});
  // Runs of spaces and tabs anywhere between and around the numbers.
  expectLines(" \t3  \t 5\t7 \t\r\n", {{3, 5, 7}});
  // Blank lines, and lines of blanks only, in either line-end style.
  expectLines("\n\r\n  \n\t\r\n1 2 3\n\n \n4 5 6\n\r\n", {{1, 2, 3}, {4, 5, 6}});
  expectLines("007 0000000000 0000000042\n", {{7, 0, 42}});
}

TEST_F(TextReaderTest, LastLineWithoutLineEndIsRead) {
  expectLines("1 2 3\n4 5 6", {{1, 2, 3}, {4, 5, 6}});
  expectLines("1 2 3\r\n4 5 6  \t", {{1, 2, 3}, {4, 5, 6}});
  expectLines("1 2 3\n   ", {{1, 2, 3}});
}

TEST_F(TextReaderTest, NoEdgeLines) {
  expectLines("", {});
  expectLines("\n\r\n\n", {});
  expectLines("  \t ", {});
}

TEST_F(TextReaderTest, LimitsOfNumbers) {
  expectLines("2147483646 2147483646 2147483647\n", {{2147483646, 2147483646, 2147483647}});
  expectLines("0 0 0\n", {{0, 0, 0}});
  expectBadLine("2147483647 0 1\n", 1, "number too large");
  expectBadLine("0 2147483647 1\n", 1, "number too large");
  expectBadLine("0 1 2147483648\n", 1, "number too large");
  expectBadLine("0 1 4294967295\n", 1, "number too large");
  expectBadLine("0 1 9999999999\n", 1, "number too large");
  // Eleven digits are too many even when the value is small.
  expectBadLine("00000000001 1 1\n", 1, "number too large");
  expectBadLine("1 1 123456789012345678901234567890\n", 1, "number too large");
}

TEST_F(TextReaderTest, EachReasonWithItsLineNumber) {
  expectBadLine("1 2 x\n", 1, "not a number");
  expectBadLine("1 2 3\n1 -2 3\n", 2, "not a number");
  expectBadLine("+1 2 3\n", 1, "not a number");
  expectBadLine("1 2 3a\n", 1, "not a number");
  expectBadLine("1,2,3\n", 1, "not a number");
  expectBadLine(std::string("1 2 3\n4 5\0 6\n", 13), 2, "not a number");
  expectBadLine("1 2 3\n\xC2\xA0" "4 5 6\n", 2, "not a number");
  // A CR must be followed by LF.
  expectBadLine("1 2 3\r4 5 6\n", 1, "not a number");
  expectBadLine("1 2 3\n\r\r\n", 2, "not a number");
  expectBadLine("1 2 3\r", 1, "not a number");
  expectBadLine("1 2\n3 4 5\n", 1, "expected 3 numbers");
  expectBadLine("1 2 3 4\n", 1, "expected 3 numbers");
  expectBadLine("1 2 3\n1 2", 2, "expected 3 numbers");
  expectBadLine("7\n", 1, "expected 3 numbers");
  // Blank lines count.
  expectBadLine("\n\r\n1 2 3\n  \n1 2 3\n1 2\n", 6, "expected 3 numbers");
}

TEST_F(TextReaderTest, OpenFailurePrintsOnStandardOutput) {
  TextReader reader;
  reader.capacity = 32768;
  const std::string path = dir.file("missing.txt");
  testing::internal::CaptureStdout();
  EXPECT_EQ(reader.open(path.c_str()), -1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Can not open file [" + path + "]\n");
  EXPECT_EQ(reader.buffer, nullptr);
}

TEST_F(TextReaderTest, ReadErrorIsNotTheEnd) {
  // A directory opens but cannot be read.
  EXPECT_EQ(readPath(dir.path()).status, kReadFailed);
}

// The same text must read the same whatever the buffer size, so that every
// byte of it, inside a number, between CR and LF or among blanks, falls on a
// refill boundary for some size.
TEST_F(TextReaderTest, RefillsAnywhereInALine) {
  const std::string good =
      "0 1 2\r\n\n  10 2147483646   2147483647 \t\n\r\n"
      "1234567890 0000000012 7\n5 6 7\r\n\t \n8 9 10";
  const std::vector<Edge> goodLines = {
      {0, 1, 2}, {10, 2147483646, 2147483647}, {1234567890, 12, 7}, {5, 6, 7}, {8, 9, 10}};
  const std::string bad = "1 2 3\n\n4 5 6\r\n7 8 99999999999\n";
  for (int32_t capacity = 16; capacity <= 64; ++capacity) {
    SCOPED_TRACE(capacity);
    const Reading reading = readAll(good, capacity);
    EXPECT_EQ(reading.status, kEndOfInput);
    EXPECT_EQ(graphText(reading.lines), graphText(goodLines));
    const Reading failed = readAll(bad, capacity);
    EXPECT_EQ(failed.status, kBadLine);
    EXPECT_EQ(failed.badLine, 4);
    EXPECT_EQ(failed.reason, "number too large");
  }
}

// The real buffer size: numbers and a CR LF placed across the 32768th byte.
TEST_F(TextReaderTest, NumbersAcrossTheBufferBoundary) {
  constexpr size_t kBuffer = 32768;
  for (size_t shift = 0; shift < 12; ++shift) {
    SCOPED_TRACE(shift);
    std::string text;
    size_t plainLines = 0;
    while (text.size() + 40 < kBuffer - shift) {
      text += "1 2 3\n";
      ++plainLines;
    }
    text.append(kBuffer - shift - text.size() - 1, ' ');
    text += "\n";  // the next line starts at kBuffer - shift
    text += "1234567890 1987654321 2000000000\r\n4 5 6\n";
    const Reading reading = readAll(text);
    EXPECT_EQ(reading.status, kEndOfInput);
    ASSERT_EQ(reading.lines.size(), plainLines + 2);
    const std::vector<Edge> tail(reading.lines.end() - 3, reading.lines.end());
    EXPECT_EQ(graphText(tail), "1 2 3\n1234567890 1987654321 2000000000\n4 5 6\n");
  }
}

}  // namespace
