// Graph inputs through the real program that are not plain files.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <string>
#include <thread>

#include "support/graph_file.h"
#include "support/process.h"

namespace {

// A pipe cannot be split or sized: it is read as a stream, with the same result.
TEST(LoadGraphInputs, PipeReadsLikeTheFile) {
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

// 28 bytes for each of 2^31 nodes, more than memory and swap here: refused at
// once, before any of it is touched (the run's peak stays far below 1 GiB).
TEST(LoadGraphInputs, LabelBeyondMemoryFailsAtOnce) {
  TempDir dir;
  writeFile(dir.file("g.txt"), "0 2147483646 1\n");
  expectRuns({{{"g.txt", "out.txt"}, 255, "", "Can not allocate memory\n"}}, dir.path());
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  EXPECT_LT(usage.ru_maxrss, 1 << 20);  // KiB
}

}  // namespace
