// The default run through the real binary: graph file in, solution file out.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "support/process.h"

namespace {

// Node 4 and 5 cannot be reached from 0; no two paths to a node cost the
// same, so both searches give the same predecessors.
constexpr const char* kGraph = "0 1 5\n0 2 3\n1 2 1\n2 3 4\n4 5 1\n";
constexpr const char* kSolution = "0 0 -1\n1 5 0\n2 3 0\n3 7 2\n4 -1 -1\n5 -1 -1\n";

TEST(SolveRun, WritesTheSolutionFileWithEitherSearch) {
  for (const bool linear : {false, true}) {
    TempDir dir;
    writeFile(dir.file("g.txt"), kGraph);
    writeFile(dir.file("out.txt"), std::string(1000, 'x'));  // replaced, not appended to
    const ProcessResult result = linear ? runVorlinde({"-l", "g.txt", "out.txt"}, dir.path())
                                        : runVorlinde({"g.txt", "out.txt"}, dir.path());
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(readFile(dir.file("out.txt")), kSolution) << linear;
  }
}

TEST(SolveRun, SourceOnlyGraphAndExtremeCosts) {
  TempDir dir;
  writeFile(dir.file("self.txt"), "0 0 7\n");
  EXPECT_EQ(runVorlinde({"self.txt", "self.out"}, dir.path()).status, 0);
  EXPECT_EQ(readFile(dir.file("self.out")), "0 0 -1\n");

  writeFile(dir.file("far.txt"), "0 2 2147483647\n");
  EXPECT_EQ(runVorlinde({"far.txt", "far.out"}, dir.path()).status, 0);
  EXPECT_EQ(readFile(dir.file("far.out")), "0 0 -1\n1 -1 -1\n2 2147483647 0\n");
}

TEST(SolveRun, VerboseTimingLinesComeInOrder) {
  TempDir dir;
  writeFile(dir.file("g.txt"), kGraph);
  const std::string timing = "-?[0-9]+ms\n";
  const ProcessResult heap = runVorlinde({"-v", "g.txt", "out.txt"}, dir.path());
  EXPECT_EQ(heap.status, 0);
  EXPECT_TRUE(std::regex_match(heap.err, std::regex("Vorlinde version 2\\.3\\.5\n"
                                                    "Load time \\.\\.\\.\\." + timing +
                                                    "\tInit time \\.\\.\\.\\." + timing +
                                                    "\tFind time \\.\\.\\.\\." + timing +
                                                    "Solve time \\.\\.\\." + timing +
                                                    "Save time \\.\\.\\.\\." + timing +
                                                    "Total time \\.\\.\\." + timing)))
      << heap.err;

  const ProcessResult linear = runVorlinde({"-l", "-v", "g.txt", "out.txt"}, dir.path());
  EXPECT_EQ(linear.status, 0);
  EXPECT_TRUE(std::regex_match(linear.err, std::regex("Vorlinde version 2\\.3\\.5\n"
                                                      "Load time \\.\\.\\.\\." + timing +
                                                      "Init time \\.\\.\\.\\." + timing +
                                                      "Find time \\.\\.\\.\\." + timing +
                                                      "Solve time \\.\\.\\." + timing +
                                                      "Save time \\.\\.\\.\\." + timing +
                                                      "Total time \\.\\.\\." + timing)))
      << linear.err;
  EXPECT_EQ(readFile(dir.file("out.txt")), kSolution);
}

TEST(SolveRun, UnwritableOutputFails) {
  TempDir dir;
  writeFile(dir.file("g.txt"), kGraph);
  const ProcessResult result = runVorlinde({"g.txt", "missing/out.txt"}, dir.path());
  EXPECT_EQ(result.status, 255);
  EXPECT_EQ(result.out, "Can not open file [missing/out.txt]\n");
  EXPECT_EQ(result.err, "");

  // The save is still timed, and the total follows it.
  const ProcessResult verbose = runVorlinde({"-v", "g.txt", "missing/out.txt"}, dir.path());
  EXPECT_EQ(verbose.status, 255);
  EXPECT_TRUE(std::regex_search(verbose.err, std::regex("\nSave time \\.\\.\\.\\.[0-9]+ms\n"
                                                        "Total time \\.\\.\\.[0-9]+ms\n$")))
      << verbose.err;
}

TEST(SolveRun, FailedWritesFailTheRun) {
  TempDir dir;
  writeFile(dir.file("g.txt"), kGraph);
  const ProcessResult result = runVorlinde({"g.txt", "/dev/full"}, dir.path());
  EXPECT_EQ(result.status, 255);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "writting error\n");
}

TEST(SolveRun, MissingGraphFileIsStillTimedBeforeTheFailedSearch) {
  TempDir dir;
  const ProcessResult result = runVorlinde({"-v", "none.txt", "out.txt"}, dir.path());
  EXPECT_EQ(result.status, 255);
  EXPECT_TRUE(std::regex_match(result.err,
                               std::regex("Vorlinde version 2\\.3\\.5\n"
                                          "Can not open file none\\.txt\n"
                                          "Load time \\.\\.\\.\\.[0-9]+ms\n"
                                          "ERROR: Can not solve\\. Graph is not set\\.\n"
                                          "Solve time \\.\\.\\.[0-9]+ms\n"
                                          "ERROR: can not find solution\n")))
      << result.err;
  EXPECT_FALSE(fileExists(dir.file("out.txt")));
}

}  // namespace
