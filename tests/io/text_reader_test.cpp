// The edge-line reader: line ends, blanks, refills in the middle of a line,
// and the first bad line with its number and reason.
#include "io/text_reader.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "graph/shortest_path_solver.h"
#include "support/graph_file.h"
#include "support/process.h"

namespace {

class TextReaderTest : public ::testing::Test {
 protected:
  ShortestPathSolver solver;  // owns the power table
  TempDir dir;

  // The lines read, then "end" or "line <k>: <reason>".
  std::string readAll(const std::string& text, int32_t capacity = 32768) {
    const std::string path = dir.file("g.txt");
    writeFile(path, text);
    ByteSource source;
    source.fd = ::open(path.c_str(), O_RDONLY);
    TextReader reader;
    reader.capacity = capacity;
    reader.open(source);
    std::vector<Edge> lines;
    Edge edge{};
    int32_t status;
    while ((status = reader.readEdgeLine(solver.powersOfTen, edge.from, edge.to, edge.cost)) ==
           kEdgeLineRead) {
      lines.push_back(edge);
    }
    std::string result = graphText(lines);
    if (status == kEndOfInput) {
      // The end stays the end.
      status = reader.readEdgeLine(solver.powersOfTen, edge.from, edge.to, edge.cost);
      result += status == kEndOfInput ? "end" : "end not kept";
    } else if (status == kBadLine) {
      result += "line " + std::to_string(reader.badLineNumber) + ": " + reader.badLineReason;
    }
    reader.close();
    ::close(source.fd);
    return result;
  }
};

// Every text reads the same whatever the buffer size, so that each of its
// bytes, inside a number, between CR and LF or among blanks, falls on a
// refill boundary for some size.
TEST_F(TextReaderTest, LineFormsLimitsAndReasonsAcrossRefills) {
  const std::pair<std::string, std::string> cases[] = {
      {"0 1 2\r\n\n  10 2147483646   2147483647 \t\n\r\n1234567890 0000000012 7\n5 6 7\r\n\t \n8 9 10",
       "0 1 2\n10 2147483646 2147483647\n1234567890 12 7\n5 6 7\n8 9 10\nend"},
      {"\n\r\n  \t ", "end"},
      {"2147483646 0 1\n2147483647 0 1\n", "2147483646 0 1\nline 2: number too large"},
      {"0 1 2147483648\n", "line 1: number too large"},
      {"1 2 3\n\n4 5 6\r\n7 8 00000000001\n", "1 2 3\n4 5 6\n7 8 1\nend"},
      {"000000000000000000000000 00000000002147483646 000000000000000000002147483647\n",
       "0 2147483646 2147483647\nend"},
      {"1 2 000000000002147483648\n", "line 1: number too large"},
      {"1 2 000000012345678901\n", "line 1: number too large"},
      {"1 2 3\n1 -2 3\n", "1 2 3\nline 2: not a number"},
      {std::string("4 5\0 6\n", 7), "line 1: not a number"},
      {"1 2 3\r4 5 6\n", "line 1: not a number"},  // a CR needs its LF
      {"1 2 3\r", "line 1: not a number"},
      {"1 2 3 4\n", "line 1: expected 3 numbers"},
      {"\n\r\n1 2 3\n  \n1 2", "1 2 3\nline 5: expected 3 numbers"},
  };
  for (const auto& [text, read] : cases) {
    for (int32_t capacity = 16; capacity <= 64; ++capacity) {
      ASSERT_EQ(readAll(text, capacity), read) << text << " through " << capacity << " bytes";
    }
    EXPECT_EQ(readAll(text), read);
  }
}

}  // namespace
