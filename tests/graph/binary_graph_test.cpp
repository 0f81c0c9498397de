// Binary graph files as vorlinde-query reads them: every damage to a real
// file, and every file whose checksums agree but whose graph is unsound,
// is refused with its reason before any search.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "graph/binary_graph.h"
#include "support/graph_file.h"
#include "support/process.h"

namespace {

struct Damage {
  const char* name;
  std::function<void(std::string&)> apply;
  std::string reason;
  bool forged;  // the checksums are made to agree with the damage
};

BinaryGraphHeader headerOf(const std::string& file) {
  BinaryGraphHeader header;
  std::memcpy(&header, file.data(), sizeof header);
  return header;
}

template <typename Record>
Record* arrayOf(std::string& file, uint64_t offset) {
  return reinterpret_cast<Record*>(file.data() + offset);
}

// Checksums that fit the file's arrays and header as they now are.
void forgeChecksums(std::string& file) {
  BinaryGraphHeader header = headerOf(file);
  header.rangesChecksum =
      arrayChecksum(file.data() + header.rangesOffset, header.nodeCount, sizeof(EdgeRange));
  header.edgesChecksum = arrayChecksum(file.data() + header.edgesOffset, header.edgeCount, sizeof(Edge));
  header.headerChecksum = headerChecksum(header);
  std::memcpy(file.data(), &header, sizeof header);
}

void editHeader(std::string& file, const std::function<void(BinaryGraphHeader&)>& edit) {
  BinaryGraphHeader header = headerOf(file);
  edit(header);
  std::memcpy(file.data(), &header, sizeof header);
}

Edge& edgeAt(std::string& file, int index) { return arrayOf<Edge>(file, headerOf(file).edgesOffset)[index]; }
EdgeRange& rangeAt(std::string& file, int node) {
  return arrayOf<EdgeRange>(file, headerOf(file).rangesOffset)[node];
}

TEST(BinaryGraphFile, EveryDamageIsRefusedWithItsReason) {
  // Nodes 0..3 with edges, node 4 without; the groups out of node order.
  const std::vector<Edge> edges = {{2, 0, 4}, {0, 1, 7}, {0, 2, 1}, {1, 3, 2}, {3, 4, 5}, {3, 0, 1}};
  TempDir dir;
  writeFile(dir.file("g.txt"), graphText(edges));
  ASSERT_EQ(runQueryTool({"-q", "--convert", dir.file("g.bin"), dir.file("g.txt")}).status, 0);
  const std::string sound = readFile(dir.file("g.bin"));
  const int64_t size = static_cast<int64_t>(sound.size());
  const std::vector<Damage> damages = {
      {"cut in the header", [](std::string& f) { f.resize(100); },
       "truncated: 100 bytes, shorter than the header", false},
      {"cut in the ranges", [](std::string& f) { f.resize(150); },
       "truncated: 150 bytes where the counts need " + std::to_string(size), false},
      {"cut in the edges", [](std::string& f) { f.pop_back(); },
       "truncated: " + std::to_string(size - 1) + " bytes where the counts need " + std::to_string(size), false},
      {"bytes after the edges", [](std::string& f) { f += "x"; },
       std::to_string(size + 1) + " bytes where the counts need " + std::to_string(size) + " (bytes after the edges)", false},
      {"another version", [](std::string& f) { editHeader(f, [](BinaryGraphHeader& h) { h.version = 2; }); },
       "version 2 is not known here (this program reads version 1)", false},
      {"a count changed", [](std::string& f) { editHeader(f, [](BinaryGraphHeader& h) { h.nodeCount = 4; }); },
       "the header does not match its checksum", false},
      {"a range flipped", [](std::string& f) { rangeAt(f, 1).last ^= 1; },
       "the edge ranges do not match their checksum", false},
      {"an edge flipped", [](std::string& f) { edgeAt(f, 5).cost ^= 0x100; },
       "the edges do not match their checksum", false},
      {"counts against the size", [](std::string& f) { editHeader(f, [](BinaryGraphHeader& h) { h.edgeCount = 5; }); },
       "the array offsets or the size disagree with the counts", true},
      {"first node 2", [](std::string& f) { editHeader(f, [](BinaryGraphHeader& h) { h.firstNode = 2; }); },
       "first node 2 is not 0 or 1, at most the node count", true},
      {"a target outside", [](std::string& f) { edgeAt(f, 1).to = 5; },
       "edge 1 goes to node 5, not below the node count 5", true},
      {"a negative cost", [](std::string& f) { edgeAt(f, 3).cost = -3; },
       "edge 3 has the negative cost -3", true},
      {"an edge of another node's range", [](std::string& f) { edgeAt(f, 2).from = 1; },
       "edge 2 from node 1 lies outside that node's edge range", true},
      {"a range past the edges", [](std::string& f) { rangeAt(f, 3).last = 6; },
       "node 3 has the edge range 4 to 6, not within the edges 0 to 5 nor -1 -1", true},
      {"ranges that leave an edge out", [](std::string& f) { rangeAt(f, 3).last = 4; },
       "edge 5 from node 3 lies outside that node's edge range", true},
      {"ranges that overlap", [](std::string& f) { rangeAt(f, 1) = EdgeRange{1, 3}; },
       "the edge ranges hold 8 edges where the file has 6", true},
  };
  for (const Damage& damage : damages) {
    std::string file = sound;
    damage.apply(file);
    if (damage.forged) forgeChecksums(file);
    writeFile(dir.file("bad.bin"), file);
    const ProcessResult run = runQueryTool({"-q", dir.file("bad.bin")});
    EXPECT_EQ(run.status, 1) << damage.name;
    EXPECT_EQ(run.out, "") << damage.name;
    EXPECT_EQ(run.err, "ERROR: Bad graph file " + dir.file("bad.bin") + ": " + damage.reason + "\n")
        << damage.name;
  }
  // The sound file answers as its text does.
  EXPECT_EQ(runQueryTool({"-q", dir.file("g.bin")}).out, runQueryTool({"-q", dir.file("g.txt")}).out);
}

TEST(BinaryGraphFile, IsReadFromAPlainFileAndAsItIsAndMatricesNeedTargets) {
  TempDir dir;
  writeFile(dir.file("g.txt"), "0 1 5\n1 2 3\n");
  ASSERT_EQ(runQueryTool({"-q", "--convert", dir.file("g.bin"), dir.file("g.txt")}).status, 0);
  // A graph of no nodes converts and reads back as one.
  writeFile(dir.file("e.gr"), "p sp 0 0\n");
  ASSERT_EQ(runQueryTool({"-q", "--convert", dir.file("e.bin"), dir.file("e.gr")}).status, 0);
  const std::vector<ExpectedRun> runs = {
      {{"-q", "-f", "binary", "e.bin"}, 1, "", "ERROR: e.bin has no nodes: no source to search from\n"},
      {{"-q", "-f", "edges", "g.bin"}, 1, "", "ERROR: Bad graph file g.bin: a binary graph file, not of the format edges\n"},
      {{"-q", "-f", "binary", "g.txt"}, 1, "", "ERROR: Bad graph file g.txt: not a binary graph file\n"},
      {{"-q", "-"}, 1, "", "ERROR: Bad graph file -: a binary graph file is read from a plain file only, not compressed nor from standard input\n"},
      {{"-q", "--convert", "g.txt", "g.txt"}, 1, "", "ERROR: Output file g.txt is the same file as g.txt\n"},
      {{"-q", "--convert", "x.bin", "-s", "1", "g.txt"}, 2, "",
       "vorlinde-query: --convert takes no sources, targets, --matrix, --max-cost or --output\n"
       "Try 'vorlinde-query --help' for more information.\n"},
      {{"-q", "--matrix", "-s", "1", "g.bin"}, 2, "",
       "vorlinde-query: --matrix needs targets (--target or --targets)\n"
       "Try 'vorlinde-query --help' for more information.\n"},
      {{"-q", "--matrix", "-t", "1", "-o", "m{source}", "g.bin"}, 2, "",
       "vorlinde-query: --matrix writes one table: its output path takes no '{source}'\n"
       "Try 'vorlinde-query --help' for more information.\n"},
  };
  for (const ExpectedRun& run : runs) {
    const ProcessResult result = runQueryTool(run.args, dir.path(), dir.file("g.bin"));
    EXPECT_EQ(result.status, run.status) << run.args[2];
    EXPECT_EQ(result.err, run.err) << run.args[2];
  }
  EXPECT_EQ(readFile(dir.file("g.txt")), "0 1 5\n1 2 3\n");
}

}  // namespace
