// The create mode and the hash mode on a generated graph, through the real binary.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "support/process.h"

namespace {

const char* const kSevenNodesSeedOne =
    "0 6 51\n0 1 9\n0 2 70\n1 2 7\n2 3 25\n2 5 28\n3 4 60\n3 2 48\n3 6 17\n3 1 38\n3 5 64\n"
    "4 3 40\n4 1 66\n4 2 55\n5 6 57\n5 2 7\n5 4 62\n5 1 59\n5 3 48\n6 3 38\n6 2 49\n6 1 49\n"
    "6 5 59\n6 4 70\n";

const char* const kTimes = "Create time ...<t>ms\nSave time......<t>ms\nTotal time ....<t>ms\n";

// Timings differ from run to run; everything else must match exactly.
std::string withoutTimes(const std::string& text) {
  return std::regex_replace(text, std::regex("[0-9]+ms\n"), "<t>ms\n");
}

TEST(CreateRun, GivenSeed) {
  TempDir dir;
  const ProcessResult quiet = runVorlinde({"-c", "7", "-s", "1", "g.txt"}, dir.path());
  EXPECT_EQ(quiet.status, 0);
  EXPECT_EQ(quiet.out + quiet.err, "");
  EXPECT_EQ(readFile(dir.file("g.txt")), kSevenNodesSeedOne);

  const ProcessResult verbose = runVorlinde({"-v", "-c", "7", "-s", "1", "h.txt"}, dir.path());
  EXPECT_EQ(verbose.status, 0);
  EXPECT_EQ(verbose.out, "");
  EXPECT_EQ(withoutTimes(verbose.err), std::string("Vorlinde version 2.3.5\n"
                                                   "Generate random graph with 7 nodes and seed 1\n") +
                                           kTimes + "Graph saved to h.txt\n");
  EXPECT_EQ(readFile(dir.file("h.txt")), kSevenNodesSeedOne);

  // Negative seeds are used as given; other seeds and maxEdge change the graph.
  runVorlinde({"-s", "-5", "-c", "300", "-e", "40", "a.txt"}, dir.path());
  runVorlinde({"-c", "300", "-e", "40", "-s", "-5", "b.txt"}, dir.path());
  runVorlinde({"-c", "300", "-e", "40", "-s", "-6", "c.txt"}, dir.path());
  runVorlinde({"-c", "300", "-s", "-5", "d.txt"}, dir.path());
  EXPECT_EQ(readFile(dir.file("a.txt")), readFile(dir.file("b.txt")));
  EXPECT_NE(readFile(dir.file("a.txt")), readFile(dir.file("c.txt")));
  EXPECT_NE(readFile(dir.file("a.txt")), readFile(dir.file("d.txt")));
}

TEST(CreateRun, DrawnSeedIsShownAndReproducesTheGraph) {
  TempDir dir;
  const ProcessResult drawn = runVorlinde({"-v", "-c", "50", "a.txt"}, dir.path());
  EXPECT_EQ(drawn.status, 0);
  std::smatch match;
  ASSERT_TRUE(std::regex_search(drawn.err, match, std::regex("Use random seed ([0-9]+)\n")));
  const std::string seed = match[1];
  EXPECT_EQ(withoutTimes(drawn.err), "Vorlinde version 2.3.5\nUse random seed " + seed +
                                         "\nGenerate random graph with 50 nodes and seed " + seed +
                                         "\n" + kTimes + "Graph saved to a.txt\n");
  EXPECT_EQ(runVorlinde({"-c", "50", "-s", seed, "b.txt"}, dir.path()).status, 0);
  EXPECT_EQ(readFile(dir.file("a.txt")), readFile(dir.file("b.txt")));
}

TEST(CreateRun, GraphFileThatCannotBeSavedFailsTheRun) {
  TempDir dir;
  const std::string start = "Vorlinde version 2.3.5\nGenerate random graph with 7 nodes and seed 1\n";
  const ProcessResult quiet = runVorlinde({"-c", "7", "-s", "1", "no/g.txt"}, dir.path());
  EXPECT_EQ(quiet.status, 255);
  EXPECT_EQ(quiet.out, "Can not open file [no/g.txt]\n");
  EXPECT_EQ(quiet.err, "");

  const ProcessResult verbose = runVorlinde({"-v", "-c", "7", "-s", "1", "no/g.txt"}, dir.path());
  EXPECT_EQ(verbose.status, 255);
  EXPECT_EQ(verbose.out, "Can not open file [no/g.txt]\n");
  EXPECT_EQ(withoutTimes(verbose.err), start + kTimes);

  const ProcessResult full = runVorlinde({"-v", "-c", "7", "-s", "1", "/dev/full"});
  EXPECT_EQ(full.status, 255);
  EXPECT_EQ(full.out, "");
  EXPECT_EQ(withoutTimes(full.err), start + "Create time ...<t>ms\nwritting error\n"
                                            "Save time......<t>ms\nTotal time ....<t>ms\n");

  const ProcessResult hash = runVorlinde({"-h", "-n", "7", "-s", "1", "-g", "no/g.txt"}, dir.path());
  EXPECT_EQ(hash.status, 255);
  EXPECT_EQ(hash.out, "Can not open file [no/g.txt]\n");
  EXPECT_EQ(hash.err, "ERROR: Can not obtain solution\n");
}

TEST(CreateRun, HashModeShowsNoDrawnSeed) {
  TempDir dir;
  const ProcessResult result = runVorlinde({"-v", "-h", "-n", "10", "-g", "g.txt"}, dir.path());
  EXPECT_EQ(result.err.find("Use random seed"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("Generate random graph with 10 nodes and seed "), std::string::npos);
  EXPECT_TRUE(fileExists(dir.file("g.txt")));
}

TEST(CreateRun, HashRunSolvesTheGeneratedGraph) {
  TempDir dir;
  runVorlinde({"-h", "-n", "7", "-s", "1", "-g", "g.txt", "-p", "s.txt"}, dir.path());
  EXPECT_EQ(readFile(dir.file("g.txt")), kSevenNodesSeedOne);
  EXPECT_EQ(runVorlinde({"g.txt", "t.txt"}, dir.path()).status, 0);
  EXPECT_NE(readFile(dir.file("t.txt")), "");
  EXPECT_EQ(readFile(dir.file("s.txt")), readFile(dir.file("t.txt")));

  // Without -g nothing is saved.
  const ProcessResult unsaved =
      runVorlinde({"-v", "-l", "-h", "-n", "7", "-s", "1", "-p", "u.txt"}, dir.path());
  EXPECT_EQ(withoutTimes(unsaved.err).rfind("Vorlinde version 2.3.5\nGenerate random graph with 7 "
                                            "nodes and seed 1\nCreate time ...<t>ms\n"
                                            "Total time ....<t>ms\n",
                                            0),
            0u)
      << unsaved.err;
  EXPECT_EQ(unsaved.err.find("Graph saved to"), std::string::npos);
  EXPECT_EQ(readFile(dir.file("u.txt")), readFile(dir.file("t.txt")));
}

TEST(CreateRun, HashOfGeneratedGraphIsHashOfSavedGraph) {
  TempDir dir;
  const ProcessResult generated = runVorlinde({"-h", "-n", "7", "-s", "1", "-g", "g.txt"}, dir.path());
  EXPECT_EQ(generated.status, 0);
  EXPECT_EQ(generated.err, "");
  EXPECT_NE(generated.out, "");
  EXPECT_EQ(runVorlinde({"-h", "-g", "g.txt"}, dir.path()).out, generated.out);
  // -l does not change the search of a generated graph.
  EXPECT_EQ(runVorlinde({"-l", "-h", "-n", "7", "-s", "1"}, dir.path()).out, generated.out);
}

}  // namespace
