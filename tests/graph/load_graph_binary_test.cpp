// Graph files through the real program: what a solve run prints and writes
// for good files in every allowed form and for bad ones.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <thread>

#include "support/graph_file.h"
#include "support/process.h"

namespace {

TEST(LoadGraphBinary, GoodAndBadFilesThroughASolveRun) {
  // 0 reaches 2 at 1, 1 through 2 at 3, and 3 through 1 at 4.
  const std::string solved = "0 0 -1\n1 3 2\n2 1 0\n3 4 1\n";
  const std::string notSet = "ERROR: Can not solve. Graph is not set.\n";
  const struct {
    std::string graph;  // the file g.txt, or the path itself when it has no line end
    std::string out, err, solution;
  } cases[] = {
      {"0 1 4\n0 2 1\n2 1 2\n1 3 1\n", "", "", solved},
      {"\r\n0 1 4\r\n\r\n  0\t2 001 \r\n2 1 2\n1 3 1", "", "", solved},
      // Node 0's lines split around another node's: its edges only are relaxed.
      {"0 1 4\n2 1 2\n0 2 1\n1 3 1\n", "", "", solved},
      {"\n\r\n", "", "", "0 0 -1\n"},  // node 0 alone
      {"0 1 4\n\n0 -1 2\n", "", "ERROR: Bad graph file g.txt line 3: not a number\n" + notSet, ""},
      {"missing.txt", "Can not open file [missing.txt]\n", "Can not open file missing.txt\n" + notSet, ""},
      {".", "", "ERROR: Can not read file .\n" + notSet, ""},  // opens, but cannot be read
      // 28 bytes for each of 2^31 nodes: more than any machine here has, refused before touching it.
      {"0 2147483646 1\n", "", "Can not allocate memory\n", ""},
  };
  TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.graph);
    const bool inFile = c.graph.find('\n') != std::string::npos;
    if (inFile) writeFile(dir.file("g.txt"), c.graph);
    std::remove(dir.file("out.txt").c_str());
    const ProcessResult result = runVorlinde({inFile ? "g.txt" : c.graph, "out.txt"}, dir.path());
    EXPECT_EQ(result.status, c.solution.empty() ? 255 : 0);
    EXPECT_EQ(result.out, c.out);
    EXPECT_EQ(result.err, c.err);
    EXPECT_EQ(fileExists(dir.file("out.txt")) ? readFile(dir.file("out.txt")) : "", c.solution);
  }
}

// A pipe cannot be split or sized: it is read as a stream, with the same result.
TEST(LoadGraphBinary, PipeReadsLikeTheFile) {
  TempDir dir;
  const std::string graph = graphText(regularEdges(30000, 9));
  writeFile(dir.file("g.txt"), graph);
  ASSERT_EQ(runVorlinde({"g.txt", "file.out"}, dir.path()).status, 0);
  ASSERT_EQ(mkfifo(dir.file("pipe").c_str(), 0600), 0);
  std::thread feeder([&] { writeFile(dir.file("pipe"), graph); });
  EXPECT_EQ(runVorlinde({"pipe", "pipe.out"}, dir.path()).status, 0);
  feeder.join();
  EXPECT_TRUE(readFile(dir.file("pipe.out")) == readFile(dir.file("file.out")));
}

}  // namespace
