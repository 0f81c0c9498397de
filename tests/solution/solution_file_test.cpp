// The strict reader of solution files.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "graph/shortest_path_solver.h"
#include "solution/loaded_solution.h"
#include "support/process.h"

namespace {

// The entries read from the text, one "label cost pred" line each, or the
// reader's message with the path as <path>.
std::string readSolution(const std::string& text, int32_t capacity = 4) {
  TempDir dir;
  const std::string path = dir.file("s.txt");
  writeFile(path, text);
  ShortestPathSolver solver;
  LoadedSolution record;
  testing::internal::CaptureStderr();
  const bool loaded = solver.loadSolution(path.c_str(), capacity, record) == &record;
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(loaded, solver.solutionLoaded);
  if (!loaded) {
    EXPECT_EQ(record.count, 0);
    return err.replace(err.find(path), path.size(), "<path>");
  }
  EXPECT_EQ(err, "");
  std::string entries;
  for (int32_t i = 0; i < record.count; ++i) {
    const SolutionEntry& e = record.entries[i];
    entries += std::to_string(e.label) + " " + std::to_string(e.cost) + " " + std::to_string(e.pred) + "\n";
  }
  return entries;
}

TEST(LoadSolution, ReadsEveryValidForm) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"0 0 -1", "0 0 -1\n"},
      {"3 INF NIL\n4 inf nil\n5 iNf NiL\n", "3 -1 -1\n4 -1 -1\n5 -1 -1\n"},
      {"4 12 NIL NIL\nNIL INF 7\n", "4 12 -1\n-1 -1 7\n"},
      {"1 2 inf\r\n3 4 NIL\r", "1 2 -1\n3 4 -1\n"},
      {"+1 -2 +0\n-0 007 2\n", "1 -2 0\n0 7 2\n"},
      {"  \t1\t\t2 \v\f 3  \n", "1 2 3\n"},
      {"\n2 5 1\n   \n\r\n0 0 -1\n\n", "2 5 1\n0 0 -1\n"},
      {"1 2 3 anything, even x=y\n4 5 6 7 8\n", "1 2 3\n4 5 6\n"},
      {"-2147483648 2147483647 -2147483648\n", "-2147483648 2147483647 -2147483648\n"},
      {"00000000000000000002147483647 -000000000000000000001 0\n", "2147483647 -1 0\n"},
  };
  for (const auto& [text, entries] : cases) EXPECT_EQ(readSolution(text), entries) << text;
}

TEST(LoadSolution, LinesOfAnyLengthAndFilesOfManyBuffers) {
  const std::string padding(3 << 20, ' ');
  EXPECT_EQ(readSolution("0 0 -1\n" + padding + "1 2 0 " + std::string(3 << 20, 'x') + "\n2 4 1" + padding),
            "0 0 -1\n1 2 0\n2 4 1\n");
  EXPECT_EQ(readSolution("1 -" + std::string(3 << 20, '0') + "5 " + padding + "0\n"), "1 -5 0\n");
  EXPECT_EQ(readSolution("1 +" + std::string(3 << 20, '0') + "5 " + padding + "0\n"), "1 5 0\n");
  // Blanks up to the end of the reader's 1 MiB: the token before them is complete.
  EXPECT_EQ(readSolution("7" + std::string((1 << 20) - 1, ' ') + "8 9\n"), "7 8 9\n");
  // Lines cut between two reads, entries grown from a capacity of 0.
  std::mt19937 engine(11);
  std::string text;
  for (int32_t i = 0; i < 200000; ++i) {
    text += std::to_string(i) + " " + std::to_string(static_cast<int32_t>(engine() % 100000000) - 1) +
            " " + std::to_string(static_cast<int32_t>(engine() % 10000000) - 1) + "\n";
  }
  EXPECT_TRUE(readSolution(text, 0) == text);
}

TEST(LoadSolution, RejectsTheFirstBadLineByItsNumber) {
  const std::string badLines[] = {
      "1",        "1 2",      "1 2 \r",   "1 2 x",   "1 2 3x",   "x 1 2",    "1 2 INFO",
      "1 2 -INF", "1 2 +NIL", "1 2 IN",   "1 2 NI",  "1 2 IXF", "1 2 NXL", "- 1 2",    "+ 1 2",    "1 -- 2",
      "1,2,3",    "0x10 1 2", "1 2 1e3",  "1 2 3.5", "2147483648 0 0", "-2147483649 0 0",
      "0 99999999999999999999 0", std::string("1 2 \0", 5),
  };
  // Blanks longer than the reader's buffer before the line change nothing.
  for (const std::string& blanks : {std::string(), std::string(3 << 20, ' ')}) {
    for (const std::string& bad : badLines) {
      EXPECT_EQ(readSolution("0 0 -1\n\n   \n" + blanks + bad + "\n1 2 0\n"),
                "ERROR: Bad solution file <path> line 4\n") << bad;
    }
  }
}

// Refused at its first bytes, not read until memory runs out.
TEST(LoadSolution, EndlessLineFailsTheRunAtOnce) {
  expectRuns({{{"-h", "-p", "/dev/zero"}, 255, "",
               "ERROR: Bad solution file /dev/zero line 1\nERROR: Can not obtain solution\n"}},
             ".");
}

}  // namespace
