// Loading graph files into the solver: the arrays a file gives, the growth
// messages, regrouping of split sources, and what a failed load leaves.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "graph/shortest_path_solver.h"
#include "support/graph_file.h"
#include "support/process.h"

namespace {

class LoadGraphTest : public ::testing::Test {
 protected:
  ShortestPathSolver solver;
  TempDir dir;

  std::string write(const std::string& text, const std::string& name = "graph.txt") {
    const std::string path = dir.file(name);
    writeFile(path, text);
    return path;
  }

  // Loads the text, returning what went to standard error.
  std::string load(const std::string& text, bool expectLoaded = true) {
    const std::string path = write(text);
    testing::internal::CaptureStderr();
    EXPECT_EQ(solver.loadGraph(path.c_str()), expectLoaded);
    return testing::internal::GetCapturedStderr();
  }

  void expectGraph(const ExpectedGraph& expected) {
    ASSERT_TRUE(solver.graphSet);
    ASSERT_EQ(solver.edgeCount, static_cast<int32_t>(expected.edges.size()));
    ASSERT_EQ(solver.nodeCount, static_cast<int32_t>(expected.ranges.size()));
    // The first difference only: these graphs can be large.
    for (size_t index = 0; index < expected.edges.size(); ++index) {
      const std::string loaded = graphText({solver.edges[index]});
      const std::string wanted = graphText({expected.edges[index]});
      if (loaded != wanted) {
        ADD_FAILURE() << "edge " << index << " is " << loaded << " instead of " << wanted;
        return;
      }
    }
    for (size_t node = 0; node < expected.ranges.size(); ++node) {
      const std::string loaded = rangesText(solver.edgeRanges + node, 1);
      const std::string wanted = rangesText(&expected.ranges[node], 1);
      if (loaded != wanted) {
        ADD_FAILURE() << "range of node " << node << " is " << loaded << " instead of " << wanted;
        return;
      }
    }
  }

  void expectNoGraph() {
    EXPECT_FALSE(solver.graphSet);
    EXPECT_EQ(solver.edges, nullptr);
    EXPECT_EQ(solver.edgeRanges, nullptr);
  }
};

TEST_F(LoadGraphTest, SmallFiles) {
  EXPECT_EQ(load("0 1 5\n0 2 3\n1 2 1\n"), "");
  EXPECT_EQ(solver.edgeCount, 3);
  EXPECT_EQ(solver.nodeCount, 3);
  EXPECT_EQ(rangesText(solver.edgeRanges, 3), "0 1\n2 2\n-1 -1\n");

  // Node 0 without lines, a label used by no line, a target above every source.
  const std::vector<Edge> edges = {{2, 1, 4}, {2, 2, 0}, {1, 7, 9}, {1, 2, 3}};
  load(graphText(edges));
  expectGraph(groupedBySource(edges));
  EXPECT_EQ(rangesText(solver.edgeRanges, 8), "-1 -1\n2 3\n0 1\n-1 -1\n-1 -1\n-1 -1\n-1 -1\n-1 -1\n");

  // A label well above the first range capacity, duplicates and self-loops kept.
  const std::vector<Edge> far = {{0, 1, 1}, {0, 1, 1}, {1, 1, 2}, {5000, 0, 3}, {3, 5000000, 4}};
  load(graphText(far));
  expectGraph(groupedBySource(far));
}

TEST_F(LoadGraphTest, FormattingDoesNotChangeTheGraph) {
  const std::vector<Edge> edges = {{0, 1, 5}, {0, 2, 3}, {1, 2, 1}, {2, 0, 2147483647}};
  load(" 0\t1  05 \r\n\n0 2 3\r\n \t \n1 2 1\n2 0 2147483647");
  expectGraph(groupedBySource(edges));
}

TEST_F(LoadGraphTest, FileWithoutEdgesIsNodeZeroAlone) {
  for (const char* text : {"", "\n", "\r\n \n\t\n"}) {
    EXPECT_EQ(load(text), "");
    EXPECT_TRUE(solver.graphSet);
    EXPECT_EQ(solver.edgeCount, 0);
    EXPECT_EQ(solver.nodeCount, 1);
    EXPECT_EQ(rangesText(solver.edgeRanges, 1), "-1 -1\n");
  }
}

TEST_F(LoadGraphTest, SplitSourcesAreRegroupedInFileOrder) {
  const std::vector<Edge> edges = {{0, 1, 1}, {1, 2, 2}, {0, 2, 3}, {2, 0, 4},
                                   {1, 0, 5}, {0, 3, 6}, {3, 0, 7}};
  EXPECT_EQ(load(graphText(edges)), "");
  expectGraph(groupedBySource(edges));
  EXPECT_EQ(rangesText(solver.edgeRanges, 4), "0 2\n3 4\n5 5\n6 6\n");

  solver.verbose = true;
  EXPECT_EQ(load(graphText(edges)),
            "INFO: lines of one source node were not together; edges regrouped by source node\n");
  expectGraph(groupedBySource(edges));
  // Groups in any order, each together, need no regrouping.
  EXPECT_EQ(load("3 0 1\n3 1 1\n0 3 2\n2 1 1\n"), "");
}

TEST_F(LoadGraphTest, GrowthOfTheEdgeArray) {
  solver.verbose = true;
  // 3999 edges fit the first allocation.
  const std::vector<Edge> fitting = regularEdges(3999, 8);
  EXPECT_EQ(load(graphText(fitting)), "");
  expectGraph(groupedBySource(fitting));
  // The 4000th edge fills it at source 499: 4000 / 499 rounds up to 9.
  const std::vector<Edge> filling = regularEdges(4000, 8);
  EXPECT_EQ(load(graphText(filling)), "INFO: increase edge multiplication to 9\n");
  expectGraph(groupedBySource(filling));
  // Growing on: 9 × 1000 records, then the range capacity follows the sources.
  const std::vector<Edge> many = regularEdges(100000, 8);
  EXPECT_EQ(load(graphText(many)), "INFO: increase edge multiplication to 9\n");
  expectGraph(groupedBySource(many));

  // Quiet without verbose mode, and the same arrays.
  solver.verbose = false;
  EXPECT_EQ(load(graphText(filling)), "");
  expectGraph(groupedBySource(filling));
}

TEST_F(LoadGraphTest, FactorFollowsEdgesPerSource) {
  solver.verbose = true;
  // 40 edges per source: the array first fills at source 99 (4000 / 99 rounds
  // up to 41); the later fills, at sources past 1000, estimate 41 again.
  const std::vector<Edge> edges = regularEdges(60000, 40);
  EXPECT_EQ(load(graphText(edges)), "INFO: increase edge multiplication to 41\n");
  expectGraph(groupedBySource(edges));
}

TEST_F(LoadGraphTest, HeavySourcesAndRisingLabels) {
  // Node 0 alone fills the array again and again (no estimate from source 0).
  std::vector<Edge> star;
  for (int32_t k = 0; k < 20000; ++k) star.push_back({0, k % 50 + 1, k});
  load(graphText(star));
  expectGraph(groupedBySource(star));

  // Every line raises the label bound.
  std::vector<Edge> path;
  for (int32_t node = 0; node < 50000; ++node) path.push_back({node, node + 1, 1});
  load(graphText(path));
  expectGraph(groupedBySource(path));
}

// Random files with every allowed formatting, larger than the read buffer,
// with sources sometimes split: the loaded graph is the grouped edge list.
TEST_F(LoadGraphTest, RandomFilesLoadAsTheirEdges) {
  std::mt19937 random(7);
  for (int round = 0; round < 6; ++round) {
    SCOPED_TRACE(round);
    const int32_t nodes = 1 + static_cast<int32_t>(random() % 3000);
    std::vector<Edge> edges;
    std::string text;
    const char* blanks[] = {" ", " ", " ", "  ", "\t", " \t "};
    auto blank = [&] { return std::string(blanks[random() % 6]); };
    auto number = [&](int32_t value) {
      const bool padded = value < 100000000 && random() % 20 == 0;
      return (padded ? std::string("00") : std::string()) + std::to_string(value);
    };
    int32_t source = 0;
    for (int line = 0; line < 8000; ++line) {
      if (random() % 4 == 0) source = static_cast<int32_t>(random() % nodes);
      const Edge edge{source, static_cast<int32_t>(random() % nodes),
                      static_cast<int32_t>(random() % 2147483648u)};
      edges.push_back(edge);
      if (random() % 10 == 0) text += random() % 2 ? "\n" : " \r\n";
      if (random() % 10 == 0) text += blank();
      text += number(edge.from) + blank() + number(edge.to) + blank() + number(edge.cost);
      if (random() % 10 == 0) text += blank();
      text += random() % 3 == 0 ? "\r\n" : "\n";
    }
    load(text);
    expectGraph(groupedBySource(edges));
  }
}

// Damaged copies of a file larger than the read buffer: the loader must
// accept exactly what the plain reading accepts, with the same edges, and
// otherwise name the same first bad line and reason.
TEST_F(LoadGraphTest, DamagedFilesAgreeWithAPlainReading) {
  std::mt19937 random(11);
  std::string original;
  for (int line = 0; line < 3000; ++line) {
    original += std::to_string(line / 3) + (line % 7 == 0 ? "\t " : " ") +
                std::to_string(random() % 100000) + " " + std::to_string(random() % 2147483648u) +
                (line % 5 == 0 ? "\r\n" : "\n");
  }
  const std::string bytes = std::string("0123456789  \t\r\n\r\n-x", 22) + std::string(1, '\0') + "\xFF";
  for (int round = 0; round < 300; ++round) {
    std::string text = original;
    const int damages = 1 + static_cast<int>(random() % 3);
    for (int k = 0; k < damages; ++k) {
      const size_t at = random() % text.size();
      const char byte = bytes[random() % bytes.size()];
      switch (random() % 3) {
        case 0: text[at] = byte; break;
        case 1: text.insert(at, 1, byte); break;
        default: text.erase(at, 1 + random() % 12); break;
      }
    }
    std::vector<Edge> edges;
    const std::string verdict = plainReading(text, edges);
    // Numbers run together can make a label that wants gigabytes of ranges.
    bool hugeLabel = false;
    for (const Edge& edge : edges) hugeLabel = hugeLabel || edge.from > 1000000 || edge.to > 1000000;
    if (hugeLabel) continue;
    const std::string message = load(text, verdict.empty());
    if (verdict.empty()) {
      EXPECT_EQ(message, "");
      expectGraph(groupedBySource(edges));
    } else {
      EXPECT_EQ(message, "ERROR: Bad graph file " + dir.file("graph.txt") + " " + verdict + "\n");
    }
    if (HasFailure()) {
      ADD_FAILURE() << "round " << round;
      return;
    }
  }
}

TEST_F(LoadGraphTest, BadLineMessageAndState) {
  load("0 1 1\n1 2 2\n");
  const std::string path = write("0 1 5\n\n0 -2 3\n1 1 1\n", "bad.txt");
  testing::internal::CaptureStderr();
  EXPECT_FALSE(solver.loadGraph(path.c_str()));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "ERROR: Bad graph file " + path + " line 3: not a number\n");
  expectNoGraph();
  // The counts of the previous graph stay.
  EXPECT_EQ(solver.edgeCount, 2);
  EXPECT_EQ(solver.nodeCount, 3);

  EXPECT_EQ(load("0 1 5\n1 2 3 4\n", false),
            "ERROR: Bad graph file " + dir.file("graph.txt") + " line 2: expected 3 numbers\n");
  expectNoGraph();
  EXPECT_EQ(load("0 1 5\n1 2147483647 3\n", false),
            "ERROR: Bad graph file " + dir.file("graph.txt") + " line 2: number too large\n");
  expectNoGraph();
}

TEST_F(LoadGraphTest, BadLineFarIntoALargeFile) {
  std::string text = graphText(regularEdges(20000, 3));
  text += "5 6\n";
  text += graphText(regularEdges(10, 3));
  EXPECT_EQ(load(text, false),
            "ERROR: Bad graph file " + dir.file("graph.txt") + " line 20001: expected 3 numbers\n");
  expectNoGraph();
}

TEST_F(LoadGraphTest, MissingFileGivesBothMessages) {
  load("0 1 1\n");
  const std::string path = dir.file("missing.txt");
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  EXPECT_FALSE(solver.loadGraph(path.c_str()));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Can not open file " + path + "\n");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Can not open file [" + path + "]\n");
  // The previous graph is gone all the same.
  expectNoGraph();
}

TEST_F(LoadGraphTest, UnreadableFileIsAnError) {
  testing::internal::CaptureStderr();
  EXPECT_FALSE(solver.loadGraph(dir.path().c_str()));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "ERROR: Can not read file " + dir.path() + "\n");
  expectNoGraph();
}

TEST_F(LoadGraphTest, ReloadReplacesGraphAndSolution) {
  load("0 1 1\n0 2 2\n1 3 3\n");
  solver.results = new NodeResult[4];
  load("0 1 9\n");
  EXPECT_EQ(solver.results, nullptr);
  expectGraph(groupedBySource({{0, 1, 9}}));
}

}  // namespace
