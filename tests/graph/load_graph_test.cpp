// Loading graph files into the solver: the arrays a file gives, the growth
// messages, regrouping of split sources, and what a failed load leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "formats/load_splitting.h"
#include "graph/shortest_path_solver.h"
#include "io/byte_source.h"
#include "support/graph_file.h"
#include "support/process.h"

namespace {

class LoadGraphTest : public ::testing::Test {
 protected:
  ShortestPathSolver solver;
  TempDir dir;
  const LoadSplitting savedSplitting = loadSplitting();
  ~LoadGraphTest() override { loadSplitting() = savedSplitting; }

  // In order, and in parts of a few bytes or a few pages by 2 or 3 threads
  // that index the ranges in two halves.
  static constexpr LoadSplitting kSplittings[] = {{1, 1 << 20, 1 << 20}, {2, 7, 1}, {3, 4096, 1}};

  // Loads the text; returns what went to standard error.
  std::string load(const std::string& text, bool expectLoaded = true) {
    writeFile(dir.file("g.txt"), text);
    testing::internal::CaptureStderr();
    EXPECT_EQ(solver.loadGraph(dir.file("g.txt").c_str()), expectLoaded);
    return testing::internal::GetCapturedStderr();
  }

  // Each node's range holds exactly its lines, in file order.
  void expectGraph(const std::vector<Edge>& fileEdges) {
    int32_t highest = 0;
    for (const Edge& edge : fileEdges) highest = std::max({highest, edge.from, edge.to});
    ASSERT_TRUE(solver.graphSet);
    ASSERT_EQ(solver.edgeCount, static_cast<int32_t>(fileEdges.size()));
    ASSERT_EQ(solver.nodeCount, highest + 1);
    std::vector<std::string> linesOf(static_cast<size_t>(highest) + 1);
    for (const Edge& edge : fileEdges) linesOf[static_cast<size_t>(edge.from)] += graphText({edge});
    for (int32_t node = 0; node <= highest; ++node) {
      const EdgeRange range = solver.edgeRanges[node];
      ASSERT_EQ(range.first < 0 ? rangesText(&range, 1)
                                : graphText({solver.edges + range.first, solver.edges + range.last + 1}),
                linesOf[node].empty() ? "-1 -1\n" : linesOf[node])
          << "node " << node;
    }
  }
};

TEST_F(LoadGraphTest, RangesGroupsAndGrowth) {
  std::vector<Edge> star;  // node 0 alone fills the array again and again
  for (int32_t k = 0; k < 50000; ++k) star.push_back({0, k % 50 + 1, k});
  const std::string regrouped =
      "INFO: lines of one source node were not together; edges regrouped by source node\n";
  solver.verbose = true;
  const struct {
    const char* what;
    std::vector<Edge> edges;
    std::string message;
  } cases[] = {
      // Node 0 without lines, a label in no line, a target above every source.
      {"groups in any order", {{2, 1, 4}, {2, 2, 0}, {1, 7, 9}, {1, 2, 3}}, ""},
      {"split groups", {{0, 1, 1}, {1, 2, 2}, {0, 2, 3}, {2, 0, 4}, {1, 0, 5}, {0, 3, 6}, {3, 0, 7}}, regrouped},
      // Halves whose sources interleave, with and without a node in both.
      {"split across halves", {{0, 1, 1}, {1, 2, 2}, {2, 0, 3}, {1, 0, 4}}, regrouped},
      {"interleaved halves", {{2, 0, 1}, {0, 1, 1}, {1, 0, 1}, {3, 0, 1}}, ""},
      {"no edge line", {}, ""},
      {"fits the first 4000 records", regularEdges(3999, 8), ""},
      // Full at source 499: 4000 / 499 rounds up to 9; later fills estimate 9 again.
      {"grown", regularEdges(4000, 8), "INFO: increase edge multiplication to 9\n"},
      {"grown more", regularEdges(60000, 40), "INFO: increase edge multiplication to 41\n"},
      {"one source", star, ""},
  };
  for (const auto& c : cases) {
    for (const LoadSplitting& splitting : kSplittings) {
      SCOPED_TRACE(std::string(c.what) + " in parts of " + std::to_string(splitting.partBytes));
      loadSplitting() = splitting;
      EXPECT_EQ(load(graphText(c.edges)), c.message);
      expectGraph(c.edges);
    }
  }
}

// Damaged copies of a file larger than the read buffer: the loader must
// accept exactly what the plain reading accepts, with the same edges, and
// otherwise name the same first bad line and reason and keep no graph.
TEST_F(LoadGraphTest, DamagedFilesAgreeWithAPlainReading) {
  std::mt19937 random(11);
  std::string original;
  for (int line = 0; line < 3000; ++line) {
    original += std::to_string(line / 3) + (line % 7 == 0 ? "\t " : " ") +
                std::to_string(random() % 100000) + " " + std::to_string(random() % 2147483648u) +
                (line % 5 == 0 ? "\r\n" : "\n");
  }
  const char kDamage[] = "0123456789  \t\r\n\r\n-x\0\xFF";
  const std::string bytes(kDamage, sizeof kDamage - 1);
  for (int round = 0; round < 300; ++round) {
    std::string text = original;
    for (int damage = random() % 3; damage >= 0; --damage) {
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
    const auto partBytes = static_cast<int64_t>(1 + random() % 4000);
    loadSplitting() = round % 2 == 0 ? kSplittings[0] : LoadSplitting{2, partBytes, 1};
    const std::string message = load(text, verdict.empty());
    EXPECT_EQ(message, verdict.empty() ? "" : "ERROR: Bad graph file " + dir.file("g.txt") + " " + verdict + "\n");
    if (verdict.empty()) expectGraph(edges);
    else EXPECT_TRUE(!solver.graphSet && solver.edges == nullptr && solver.edgeRanges == nullptr);
    ASSERT_FALSE(HasFailure()) << "round " << round;
  }
}

// Bytes handed over a few at a time, as a decompressor would: the same graph
// as from the file; a source that fails part-way is a read error.
TEST_F(LoadGraphTest, ByteSourceInSmallPieces) {
  struct Pieces {
    std::string text;
    size_t at;
    bool failHalfway;
  };
  const std::vector<Edge> fileEdges = regularEdges(5000, 7);
  Pieces pieces{graphText(fileEdges), 0, false};
  ByteSource source;
  source.context = &pieces;
  source.read = [](void* context, char* into, size_t room) -> ssize_t {
    Pieces& p = *static_cast<Pieces*>(context);
    if (p.failHalfway && p.at > p.text.size() / 2) return -1;
    const size_t count = std::min({room, p.text.size() - p.at, 1 + p.at % 7});
    std::memcpy(into, p.text.data() + p.at, count);
    p.at += count;
    return static_cast<ssize_t>(count);
  };
  ASSERT_TRUE(solver.loadGraphFrom(source, "pieces"));
  expectGraph(fileEdges);
  pieces.at = 0;
  pieces.failHalfway = true;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(solver.loadGraphFrom(source, "pieces"));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: Can not read file pieces\n");
}

// Every byte of these as the start of a part: inside a number, at a line end,
// between CR and LF, inside a node's group, in a run of blank lines. Errors in
// two parts at once: the earlier line is the one reported.
TEST_F(LoadGraphTest, PartsMayStartAtAnyByte) {
  const std::string texts[] = {
      "\r\n0 1 2\r\n\n  \n\r\n0 20 30 \t\n1 0 3\r\n1 5 6\n\n\n2 1 7\n2 2 2",
      "0 1 1\n1 2 2\n0 2 3\n2 0 4\n\n1 0 5\n",
      "0 1 1\n\n0 2 3\n1 x 3\n\n1 2\n2 1 1\r1\n",
      "0 1 1\n0 2 3\n1 2 2\nx 1 2",
      "0 2 1",  // as many edges as its size allows
  };
  solver.verbose = true;
  const auto loadAsText = [&](const std::string& text, LoadSplitting splitting) {
    loadSplitting() = splitting;
    const std::string message = load(text, text.find('x') == std::string::npos);
    return message + graphText({solver.edges, solver.edges + solver.edgeCount * solver.graphSet});
  };
  for (const std::string& text : texts) {
    const std::string inOrder = loadAsText(text, kSplittings[0]);
    for (int32_t threads : {2, 3}) {
      for (int64_t partBytes = 1; partBytes <= static_cast<int64_t>(text.size()); ++partBytes) {
        ASSERT_EQ(loadAsText(text, {threads, partBytes, 1}), inOrder)
            << text << " in parts of " << partBytes;
      }
    }
  }
}

}  // namespace
