// Checksum runs through the real binary: from a solution file, from a graph
// file and from a generated graph, with their messages and exit statuses.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "support/process.h"

namespace {

// Costs 0, 1, 3, 5, 7: the checksum is 1.
const char* const kExampleGraph =
    "0 1 1\n0 2 3\n1 2 2\n1 3 4\n2 3 2\n2 4 4\n3 4 2\n4 2 9\n";
const char* const kExampleSolution = "0 0 -1\n1 1 0\n2 3 0\n3 5 1\n4 7 2\n";

std::string withoutTimes(const std::string& text) {
  return std::regex_replace(text, std::regex("[0-9]+ms\n"), "Nms\n");
}

void expectChecksum(const ProcessResult& result, const std::string& checksum) {
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, checksum + "\n");
  EXPECT_EQ(result.err, "");
}

std::string hashOfSolution(const std::string& contents) {
  TempDir dir;
  writeFile(dir.file("s.txt"), contents);
  const ProcessResult result = runVorlinde({"-h", "-p", "s.txt"}, dir.path());
  EXPECT_EQ(result.status, 0) << result.err;
  return result.out;
}

TEST(HashRun, WorkedExampleFromFileAndFromGraph) {
  TempDir dir;
  writeFile(dir.file("s.txt"), kExampleSolution);
  writeFile(dir.file("g.txt"), kExampleGraph);
  expectChecksum(runVorlinde({"-h", "-p", "s.txt"}, dir.path()), "1");
  expectChecksum(runVorlinde({"-h", "-g", "g.txt"}, dir.path()), "1");
  expectChecksum(runVorlinde({"-h", "-l", "-g", "g.txt"}, dir.path()), "1");
}

TEST(HashRun, SavedSolutionHashesLikeTheSearchThatWroteIt) {
  // A graph with many ties and some unreached nodes, large enough to fill
  // several writer buffers.
  std::string graph;
  uint32_t state = 12345;
  const int nodes = 3000;
  for (int from = 0; from < nodes; ++from) {
    if (from % 97 == 13) continue;
    for (int k = 0; k < 3; ++k) {
      state = state * 1103515245u + 12345u;
      const int to = static_cast<int>((state >> 8) % nodes);
      if (to % 89 == 5) continue;
      graph += std::to_string(from) + " " + std::to_string(to) + " " +
               std::to_string((state >> 4) % 50 + 1) + "\n";
    }
  }
  TempDir dir;
  writeFile(dir.file("g.txt"), graph);
  const ProcessResult searched = runVorlinde({"-h", "-g", "g.txt", "-p", "saved.txt"}, dir.path());
  EXPECT_EQ(searched.status, 0);
  EXPECT_EQ(searched.err, "");
  ASSERT_TRUE(fileExists(dir.file("saved.txt")));
  expectChecksum(runVorlinde({"-h", "-p", "saved.txt"}, dir.path()), searched.out.substr(0, searched.out.size() - 1));
  const ProcessResult linear = runVorlinde({"-h", "-l", "-g", "g.txt", "-p", "linear.txt"}, dir.path());
  EXPECT_EQ(linear.out, searched.out);
  EXPECT_EQ(runVorlinde({"-h", "-p", "linear.txt"}, dir.path()).out, searched.out);
}

TEST(HashRun, FileFormsThatHashTheSame) {
  EXPECT_EQ(hashOfSolution("4 7 2\n3 5 1\n2 3 0\n1 1 0\n0 0 -1\n"), "1\n");  // any line order
  EXPECT_EQ(hashOfSolution(std::string(kExampleSolution) + "\n"), "1\n");    // trailing blank line
  EXPECT_EQ(hashOfSolution("0 0 -1\r\n1 1 0\r\n2 3 0\r\n3 5 1\r\n4 7 2"), "1\n");
  // Node 0 never counts, whatever its cost.
  EXPECT_EQ(hashOfSolution("0 99 -1\n1 1 0\n2 3 0\n3 5 1\n4 7 2\n"), "1\n");
}

TEST(HashRun, UnreachedNodesAddNothing) {
  // Label 2 adds 3 mod 2 = 1.
  EXPECT_EQ(hashOfSolution("0 0 NIL\n1 INF NIL\n2 3 0\n"), "1\n");
  EXPECT_EQ(hashOfSolution("0 0 nil\n1 iNf Nil\n2 3 0\n"), "1\n");
  EXPECT_EQ(hashOfSolution("0 0 -1\n1 -1 -1\n2 3 0\n"), "1\n");
}

TEST(HashRun, EmptyAndSingleNodeFilesHashToZero) {
  EXPECT_EQ(hashOfSolution(""), "0\n");
  EXPECT_EQ(hashOfSolution("0 17 -1\n"), "0\n");
}

TEST(HashRun, LastLineOfARepeatedLabelWinsAndMissingLabelsAddNothing) {
  // Label 3 ends at cost 6 (adds 0), label 4 is missing: only label 2 adds 1.
  // Were the first line kept, label 3 would add 2 and the checksum be 3.
  EXPECT_EQ(hashOfSolution("0 0 -1\n1 1 0\n2 3 0\n3 5 1\n3 6 1\n"), "1\n");
}

TEST(HashRun, EveryLabelOutOfRangeIsNamedAndTheRunFails) {
  TempDir dir;
  writeFile(dir.file("s.txt"), "0 0 -1\n5 3 0\n-2 1 0\n");
  const ProcessResult result = runVorlinde({"-h", "-p", "s.txt"}, dir.path());
  EXPECT_EQ(result.status, 255);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err,
            "ERROR: Solution file contain node labe 5 that is out of range\n"
            "ERROR: Solution file contain node labe -2 that is out of range\n"
            "ERROR: Can not obtain solution\n");
}

TEST(HashRun, MissingSolutionFileFails) {
  TempDir dir;
  const ProcessResult result = runVorlinde({"-h", "-p", "missing.txt"}, dir.path());
  EXPECT_EQ(result.status, 255);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "Can not open file missing.txt\nERROR: Can not obtain solution\n");

  const ProcessResult verbose = runVorlinde({"-v", "-h", "-p", "missing.txt"}, dir.path());
  EXPECT_EQ(verbose.status, 255);
  EXPECT_EQ(withoutTimes(verbose.err),
            "Vorlinde version 2.3.5\n"
            "Can not open file missing.txt\n"
            "Load solution time ...Nms\n"
            "ERROR: Can not obtain solution\n");
}

TEST(HashRun, VerboseFileRunPrintsOnlyItsReadingTime) {
  TempDir dir;
  writeFile(dir.file("s.txt"), kExampleSolution);
  const ProcessResult result = runVorlinde({"-h", "-p", "s.txt", "-v"}, dir.path());
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "1\n");
  EXPECT_EQ(withoutTimes(result.err), "Vorlinde version 2.3.5\nLoad solution time ...Nms\n");
}

TEST(HashRun, MissingGraphFileFails) {
  TempDir dir;
  const ProcessResult result = runVorlinde({"-h", "-g", "missing.txt"}, dir.path());
  EXPECT_EQ(result.status, 255);
  EXPECT_EQ(result.out, "Can not open file [missing.txt]\n");
  EXPECT_EQ(result.err,
            "Can not open file missing.txt\n"
            "ERROR: Can not solve. Graph is not set.\n"
            "ERROR: Can not obtain solution\n");
}

TEST(HashRun, UnwritableSolutionFileFails) {
  TempDir dir;
  writeFile(dir.file("g.txt"), kExampleGraph);
  const ProcessResult result = runVorlinde({"-h", "-g", "g.txt", "-p", "no/s.txt"}, dir.path());
  EXPECT_EQ(result.status, 255);
  EXPECT_EQ(result.out, "Can not open file [no/s.txt]\n");
  EXPECT_EQ(result.err, "ERROR: Can not obtain solution\n");
}

TEST(HashRun, GeneratedGraphHashesLikeItsSavedFiles) {
  TempDir dir;
  const ProcessResult generated = runVorlinde(
      {"-h", "-n", "500", "-s", "7", "-e", "8", "-g", "g.txt", "-p", "s.txt"}, dir.path());
  EXPECT_EQ(generated.status, 0);
  EXPECT_EQ(generated.err, "");
  ASSERT_FALSE(generated.out.empty());
  EXPECT_EQ(runVorlinde({"-h", "-g", "g.txt"}, dir.path()).out, generated.out);
  EXPECT_EQ(runVorlinde({"-h", "-p", "s.txt"}, dir.path()).out, generated.out);
  // The heap search is used whatever -l says, and the same seed gives the same graph.
  EXPECT_EQ(runVorlinde({"-h", "-l", "-n", "500", "-s", "7", "-e", "8"}, dir.path()).out,
            generated.out);
}

TEST(HashRun, GeneratedGraphWithDrawnSeedPrintsNoSeedLine) {
  TempDir dir;
  const ProcessResult result = runVorlinde({"-v", "-h", "-n", "10"}, dir.path());
  EXPECT_EQ(result.status, 0);
  EXPECT_TRUE(std::regex_match(result.out, std::regex("[0-9]\n"))) << result.out;
  EXPECT_EQ(result.err.find("Use random seed"), std::string::npos);
}

}  // namespace
