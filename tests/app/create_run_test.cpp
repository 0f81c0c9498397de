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

const std::string kGenerated =
    "Vorlinde version 2.3.5\nGenerate random graph with 7 nodes and seed 1\nCreate time ...Nms\n";
const std::string kTimes = "Save time......Nms\nTotal time ....Nms\n";

TEST(CreateRun, GivenSeed) {
  TempDir dir;
  expectRuns(
      {
          {{"-c", "7", "-s", "1", "g.txt"}, 0, "", ""},
          {{"-v", "-c", "7", "-s", "1", "v.txt"}, 0, "",
           kGenerated + kTimes + "Graph saved to v.txt\n"},
          {{"-h", "-n", "7", "-s", "1", "-g", "h.txt"}, 0, "3\n", ""},
          // Without -g the graph is not saved; the heap search is used whatever -l says.
          {{"-v", "-l", "-h", "-n", "7", "-s", "1", "-p", "s.txt"}, 0, "3\n",
           kGenerated + "Total time ....Nms\n\tInit time ....Nms\n\tFind time ....Nms\n"
                        "Solve time ...Nms\nSave time ....Nms\nTotal time ...Nms\n"},
          // The saved graph and solution give the checksum of the run that saved them.
          {{"-h", "-g", "h.txt"}, 0, "3\n", ""},
          {{"-h", "-p", "s.txt"}, 0, "3\n", ""},
      },
      dir.path());
  for (const char* file : {"g.txt", "v.txt", "h.txt"}) {
    EXPECT_EQ(readFile(dir.file(file)), kSevenNodesSeedOne) << file;
  }
  EXPECT_EQ(readFile(dir.file("s.txt")),
            "0 0 -1\n1 9 0\n2 16 1\n3 41 2\n4 101 3\n5 44 2\n6 51 0\n");
}

TEST(CreateRun, DrawnSeedIsShownOnlyByTheCreateMode) {
  TempDir dir;
  const ProcessResult drawn = runVorlinde({"-v", "-c", "50", "a.txt"}, dir.path());
  std::smatch match;
  ASSERT_TRUE(std::regex_search(drawn.err, match, std::regex("Use random seed ([0-9]+)\n")));
  const std::string seed = match[1];
  EXPECT_EQ(drawn.status, 0);
  EXPECT_EQ(withoutTimes(drawn.err),
            "Vorlinde version 2.3.5\nUse random seed " + seed +
                "\nGenerate random graph with 50 nodes and seed " + seed +
                "\nCreate time ...Nms\n" + kTimes + "Graph saved to a.txt\n");
  expectRuns({{{"-c", "50", "-s", seed, "b.txt"}, 0, "", ""}}, dir.path());
  EXPECT_EQ(readFile(dir.file("a.txt")), readFile(dir.file("b.txt")));

  // The hash mode draws a seed too, but does not show it.
  const ProcessResult hash = runVorlinde({"-v", "-h", "-n", "10"}, dir.path());
  EXPECT_EQ(hash.status, 0);
  EXPECT_EQ(hash.err.find("Use random seed"), std::string::npos) << hash.err;
}

}  // namespace
