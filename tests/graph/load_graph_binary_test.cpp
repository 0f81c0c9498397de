// Graph inputs through the real program that are not plain files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <thread>

#include "support/graph_file.h"
#include "support/process.h"

namespace {

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
