// Solution files: the bytes saveSolution writes, and the strict reader.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "graph/allocation.h"
#include "graph/shortest_path_solver.h"
#include "support/process.h"

namespace {

void setResults(ShortestPathSolver& solver, const std::vector<NodeResult>& results) {
  releaseArray(solver.results);
  solver.results = allocateArray<NodeResult>(results.size());
  for (size_t i = 0; i < results.size(); ++i) solver.results[i] = results[i];
  solver.searchNodeCount = static_cast<int32_t>(results.size());
}

std::string savedText(const std::vector<NodeResult>& results) {
  ShortestPathSolver solver;
  setResults(solver, results);
  TempDir dir;
  EXPECT_TRUE(solver.saveSolution(dir.file("out").c_str()));
  return readFile(dir.file("out"));
}

TEST(SaveSolution, WritesOneLinePerNodeInLabelOrder) {
  EXPECT_EQ(savedText({{0, -1}}), "0 0 -1\n");
  EXPECT_EQ(savedText({{0, -1}, {-1, -1}, {17, 0}, {-1, -1}}),
            "0 0 -1\n1 -1 -1\n2 17 0\n3 -1 -1\n");
  EXPECT_EQ(savedText({{0, -1}, {INT32_MAX, 0}, {INT32_MIN, 1}, {-7, 2}}),
            "0 0 -1\n1 2147483647 0\n2 -2147483648 1\n3 -7 2\n");
  EXPECT_EQ(savedText({}), "");
}

// Reads text as a solution file; on failure entries is empty and message holds stderr.
struct Loaded {
  bool ok = false;
  bool flagSet = false;
  std::vector<std::vector<int32_t>> entries;  // label, cost, pred
  std::string message;
};

Loaded loadText(const std::string& text, int32_t capacity = 4) {
  TempDir dir;
  const std::string path = dir.file("solution.txt");
  writeFile(path, text);
  ShortestPathSolver solver;
  LoadedSolution record;
  testing::internal::CaptureStderr();
  Loaded loaded;
  loaded.ok = solver.loadSolution(path.c_str(), capacity, record) == &record;
  const std::string err = testing::internal::GetCapturedStderr();
  loaded.message = err.empty() ? err : err.substr(0, err.find(path)) + "<path>" + err.substr(err.find(path) + path.size());
  loaded.flagSet = solver.solutionLoaded;
  for (int32_t i = 0; i < record.count; ++i) {
    loaded.entries.push_back({record.entries[i].label, record.entries[i].cost, record.entries[i].pred});
  }
  return loaded;
}

using Entries = std::vector<std::vector<int32_t>>;

TEST(LoadSolution, ReadsEveryValidForm) {
  struct Case {
    std::string text;
    Entries entries;
  };
  const std::vector<Case> cases = {
      {"", {}},
      {"0 0 -1\n", {{0, 0, -1}}},
      {"0 0 -1", {{0, 0, -1}}},
      {"3 INF NIL\n4 inf nil\n5 iNf NiL\n", {{3, -1, -1}, {4, -1, -1}, {5, -1, -1}}},
      {"4 12 NIL NIL\n", {{4, 12, -1}}},
      {"NIL INF 7\n", {{-1, -1, 7}}},
      {"1 2 inf\r\n3 4 NIL", {{1, 2, -1}, {3, 4, -1}}},
      {"+1 -2 +0\n-0 007 2\n", {{1, -2, 0}, {0, 7, 2}}},
      {"1 2 3\r\n4 5 6\r\n", {{1, 2, 3}, {4, 5, 6}}},
      {"1 2 3\r\n4 5 6\r", {{1, 2, 3}, {4, 5, 6}}},
      {"  \t1\t\t2 \v\f 3  \n", {{1, 2, 3}}},
      {"2 5 1\n0 0 -1\n1 3 0\n", {{2, 5, 1}, {0, 0, -1}, {1, 3, 0}}},
      {"\n0 0 -1\n   \n\r\n1 2 0\n\n", {{0, 0, -1}, {1, 2, 0}}},
      {"1 2 3 anything, even x=y\n4 5 6 7 8\n", {{1, 2, 3}, {4, 5, 6}}},
      {"-2147483648 2147483647 -2147483648\n", {{INT32_MIN, INT32_MAX, INT32_MIN}}},
      {"00000000000000000002147483647 -000000000000000000001 0\n", {{INT32_MAX, -1, 0}}},
  };
  for (const Case& c : cases) {
    const Loaded loaded = loadText(c.text);
    EXPECT_TRUE(loaded.ok) << c.text;
    EXPECT_TRUE(loaded.flagSet) << c.text;
    EXPECT_EQ(loaded.message, "") << c.text;
    EXPECT_EQ(loaded.entries, c.entries) << c.text;
  }
}

TEST(LoadSolution, LinesOfAnyLengthAndFilesOfManyBuffers) {
  // Lines far longer than the read buffer, in the middle and at the end.
  const std::string padding(3 << 20, ' ');
  const std::string junk(3 << 20, 'x');
  const Loaded padded = loadText("0 0 -1\n" + padding + "1 2 0 " + junk + "\n2 4 1" + padding);
  EXPECT_TRUE(padded.ok);
  EXPECT_EQ(padded.entries, (Entries{{0, 0, -1}, {1, 2, 0}, {2, 4, 1}}));

  // Many buffers' worth, lines cut between two reads, from a capacity of 0.
  std::mt19937 engine(11);
  std::string text;
  Entries expected;
  for (int32_t i = 0; i < 400000; ++i) {
    const auto cost = static_cast<int32_t>(engine() % 100000000) - 1;
    const auto pred = static_cast<int32_t>(engine() % 10000000) - 1;
    text += std::to_string(i) + " " + std::to_string(cost) + " " + std::to_string(pred) + "\n";
    expected.push_back({i, cost, pred});
  }
  const Loaded many = loadText(text, 0);
  EXPECT_TRUE(many.ok);
  EXPECT_TRUE(many.entries == expected);
}

TEST(LoadSolution, RejectsTheFirstBadLineByItsNumber) {
  const std::vector<std::string> badLines = {
      "1",          "1 2",         "1 2 \r",      "1 2 x",       "1 2 3x",     "x 1 2",
      "1 2 INFO",   "1 2 -INF",    "1 2 +NIL",    "1 2 IN",      "1 2 NI",     "- 1 2",
      "+ 1 2",      "1 -- 2",      "1,2,3",       "0x10 1 2",    "1 2 1e3",    "1 2 3.5",
      "2147483648 0 0", "-2147483649 0 0", "0 99999999999999999999 0", std::string("1 2 \0", 5),
  };
  for (const std::string& bad : badLines) {
    const Loaded loaded = loadText("0 0 -1\n\n   \n" + bad + "\n1 2 0\n");
    EXPECT_FALSE(loaded.ok) << bad;
    EXPECT_FALSE(loaded.flagSet) << bad;
    EXPECT_TRUE(loaded.entries.empty()) << bad;
    EXPECT_EQ(loaded.message, "ERROR: Bad solution file <path> line 4\n") << bad;
  }
  EXPECT_EQ(loadText("0 0 -1\n1 2").message, "ERROR: Bad solution file <path> line 2\n");
}

TEST(LoadSolution, UnopenableOrUnreadableFilesFailAndClearTheFlag) {
  TempDir dir;
  writeFile(dir.file("good"), "0 0 -1\n");
  ShortestPathSolver solver;
  LoadedSolution record;
  ASSERT_NE(solver.loadSolution(dir.file("good").c_str(), 1, record), nullptr);
  ASSERT_TRUE(solver.solutionLoaded);

  const std::string missing = dir.file("missing");
  testing::internal::CaptureStderr();
  EXPECT_EQ(solver.loadSolution(missing.c_str(), 1, record), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Can not open file " + missing + "\n");
  EXPECT_FALSE(solver.solutionLoaded);
  EXPECT_EQ(record.count, 0);

  ASSERT_NE(solver.loadSolution(dir.file("good").c_str(), 1, record), nullptr);
  testing::internal::CaptureStderr();
  EXPECT_EQ(solver.loadSolution(dir.path().c_str(), 1, record), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: Can not read file " + dir.path() + "\n");
  EXPECT_FALSE(solver.solutionLoaded);
  EXPECT_EQ(record.count, 0);
}

// The reader's rules through the binary: the hash run on a solution file.
TEST(SolutionFileThroughHashRun, EquivalentSpellingsHashAlike) {
  TempDir dir;
  writeFile(dir.file("plain.txt"), "0 0 -1\n1 5 0\n2 3 0\n3 7 2\n4 -1 -1\n5 -1 -1\n");
  writeFile(dir.file("loose.txt"),
            "  3 7 2\r\n\n5 inf Nil\r\n0 +0 NIL\n1 5 0 and more words\n\t4 INF -1\n2 3 0");
  const ProcessResult plain = runVorlinde({"-h", "-p", "plain.txt"}, dir.path());
  const ProcessResult loose = runVorlinde({"-h", "-p", "loose.txt"}, dir.path());
  EXPECT_EQ(plain.status, 0);
  EXPECT_EQ(plain.err, "");
  EXPECT_FALSE(plain.out.empty());
  EXPECT_EQ(loose.status, 0);
  EXPECT_EQ(loose.err, "");
  EXPECT_EQ(loose.out, plain.out);
}

TEST(SolutionFileThroughHashRun, BadMissingAndUnreadableFilesFail) {
  TempDir dir;
  writeFile(dir.file("bad.txt"), "0 0 -1\n\n1 five 0\n2 3 0\n");
  writeFile(dir.file("short.txt"), "0 0 -1\n1 5");
  const struct {
    std::string file;
    std::string message;
  } cases[] = {
      {"bad.txt", "ERROR: Bad solution file bad.txt line 3\n"},
      {"short.txt", "ERROR: Bad solution file short.txt line 2\n"},
      {"missing.txt", "Can not open file missing.txt\n"},
      {".", "ERROR: Can not read file .\n"},
  };
  for (const auto& c : cases) {
    const ProcessResult result = runVorlinde({"-h", "-p", c.file}, dir.path());
    EXPECT_EQ(result.status, 255) << c.file;
    EXPECT_EQ(result.out, "") << c.file;
    EXPECT_EQ(result.err, c.message + "ERROR: Can not obtain solution\n") << c.file;
  }
}

}  // namespace
