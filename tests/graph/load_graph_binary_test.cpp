// Graph files through the real program: what a solve run prints and writes
// for good files in every allowed form and for bad ones.
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/graph_file.h"
#include "support/process.h"

namespace {

// Lowers the address-space limit that a started program inherits, for as
// long as the object lives.
class AddressSpaceLimit {
 public:
  explicit AddressSpaceLimit(rlim_t bytes) {
    getrlimit(RLIMIT_AS, &saved_);
    rlimit lowered = saved_;
    lowered.rlim_cur = bytes;
    setrlimit(RLIMIT_AS, &lowered);
  }
  ~AddressSpaceLimit() { setrlimit(RLIMIT_AS, &saved_); }
  AddressSpaceLimit(const AddressSpaceLimit&) = delete;
  AddressSpaceLimit& operator=(const AddressSpaceLimit&) = delete;

 private:
  rlimit saved_{};
};

class LoadGraphBinaryTest : public ::testing::Test {
 protected:
  TempDir dir;

  ProcessResult solve(const std::string& graph) {
    writeFile(dir.file("g.txt"), graph);
    std::remove(dir.file("out.txt").c_str());
    return runVorlinde({"g.txt", "out.txt"}, dir.path());
  }
};

TEST_F(LoadGraphBinaryTest, EveryAllowedFormGivesTheSameSolution) {
  // 0 reaches 2 at 1, 1 through 2 at 3, and 3 through 1 at 4.
  const std::string solution = "0 0 -1\n1 3 2\n2 1 0\n3 4 1\n";
  const std::pair<std::string, std::string> cases[] = {
      {"0 1 4\n0 2 1\n2 1 2\n1 3 1\n", solution},
      {"\r\n0 1 4\r\n\r\n  0\t2 001 \r\n2 1 2\n1 3 1", solution},
      // Node 0's lines split around another node's: its edges only are relaxed.
      {"0 1 4\n2 1 2\n0 2 1\n1 3 1\n", solution},
      {"\n\r\n", "0 0 -1\n"},  // node 0 alone
  };
  for (const auto& [graph, expected] : cases) {
    SCOPED_TRACE(graph);
    const ProcessResult result = solve(graph);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out + result.err, "");
    EXPECT_EQ(readFile(dir.file("out.txt")), expected);
  }
  writeFile(dir.file("g.txt"), graphText(regularEdges(4000, 8)));
  EXPECT_EQ(runVorlinde({"-v", "g.txt", "out.txt"}, dir.path())
                .err.rfind("Vorlinde version 2.3.5\nINFO: increase edge multiplication to 9\nLoad time ....", 0),
            0u);
}

TEST_F(LoadGraphBinaryTest, BadLinesAreRefusedWithTheirNumberAndReason) {
  const std::pair<std::string, std::string> cases[] = {
      {"0 1 4\n\n0 -1 2\n", "line 3: not a number"},
      {"0 1 4\r\n0 2 1\r1 3 1\r\n", "line 2: not a number"},
      {"0 1 4\n0 2\n", "line 2: expected 3 numbers"},
      {"0 1 2147483648\n", "line 1: number too large"},
  };
  for (const auto& [graph, reason] : cases) {
    SCOPED_TRACE(graph);
    const ProcessResult result = solve(graph);
    EXPECT_EQ(result.status, 255);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "ERROR: Bad graph file g.txt " + reason + "\nERROR: Can not solve. Graph is not set.\n");
    EXPECT_FALSE(fileExists(dir.file("out.txt")));
  }
}

TEST_F(LoadGraphBinaryTest, FileThatCannotBeOpenedOrRead) {
  const ProcessResult missing = runVorlinde({"missing.txt", "out.txt"}, dir.path());
  EXPECT_EQ(missing.status, 255);
  EXPECT_EQ(missing.out, "Can not open file [missing.txt]\n");
  EXPECT_EQ(missing.err, "Can not open file missing.txt\nERROR: Can not solve. Graph is not set.\n");
  // A directory opens but cannot be read.
  const ProcessResult directory = runVorlinde({".", "out.txt"}, dir.path());
  EXPECT_EQ(directory.status, 255);
  EXPECT_EQ(directory.err, "ERROR: Can not read file .\nERROR: Can not solve. Graph is not set.\n");
}

TEST_F(LoadGraphBinaryTest, HighestLabelWithoutTheMemoryForIt) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's own reservations do not fit a small address space";
#endif
  // The label asks for 2^31 ranges of 8 bytes; 2 GiB of address space is not enough.
  writeFile(dir.file("g.txt"), "0 1 1\n2147483646 0 1\n");
  ProcessResult result;
  {
    const AddressSpaceLimit limit(rlim_t{2} << 30);
    result = runVorlinde({"g.txt", "out.txt"}, dir.path());
  }
  EXPECT_EQ(result.status, 255);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "Can not allocate memory\n");
  EXPECT_FALSE(fileExists(dir.file("out.txt")));
}

}  // namespace
