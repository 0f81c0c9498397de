// vorlinde-query against the library's own full heap search, on one graph
// written in every format, compression and input way.
#include <gtest/gtest.h>
#include <zlib.h>
#include <zstd.h>

#include <algorithm>
#include <functional>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "graph/shortest_path_solver.h"
#include "support/graph_file.h"
#include "support/process.h"

namespace {

constexpr int32_t kNodes = 65;  // node 64 reaches others, nothing reaches it

std::vector<Edge> testEdges() {
  std::mt19937 engine(15);
  std::vector<Edge> edges;
  for (int index = 0; index < 220; ++index) {
    edges.push_back(Edge{static_cast<int32_t>(engine() % 60), static_cast<int32_t>(engine() % 60),
                         static_cast<int32_t>(engine() % 4)});
  }
  edges.push_back(Edge{64, 63, 1});
  return edges;
}

// The file's text in a format; 1-based formats number node v as v + 1.
std::string formatText(const std::string& format, const std::vector<Edge>& edges) {
  std::ostringstream text;
  if (format == "dimacs") {  // a comment that reads like an arc once its "c" is passed
    text << "c test graph\np sp " << kNodes << ' ' << edges.size() << "\nc 1 2 3\n";
  }
  if (format == "mtx") {
    text << "%%MatrixMarket matrix coordinate integer general\n% test\n"
         << kNodes << ' ' << kNodes << ' ' << edges.size() << '\n';
  }
  if (format == "snap") text << "# test graph\n";
  for (const Edge& e : edges) {
    if (format == "dimacs") text << "a ";
    const int shift = format == "dimacs" || format == "mtx" ? 1 : 0;
    const char gap = format == "snap" ? '\t' : ' ';
    text << e.from + shift << gap << e.to + shift;
    if (format != "snap" || e.cost != 1) text << gap << e.cost;
    text << '\n';
  }
  return text.str();
}

// The library's full heap search from source, as its solution file.
std::string referenceSolution(const TempDir& dir, int32_t source) {
  writeFile(dir.file("reference.txt"), graphText(testEdges()));
  ShortestPathSolver solver;
  EXPECT_TRUE(solver.loadGraph(dir.file("reference.txt").c_str()) && solver.solveHeap(source) &&
              solver.saveSolution(dir.file("reference.sol").c_str()));
  return readFile(dir.file("reference.sol"));
}

// Applies change to every "node cost pred" line.
std::string eachLine(const std::string& solution, const std::function<void(int64_t[3])>& change) {
  std::istringstream lines(solution);
  std::string out;
  int64_t v[3];
  while (lines >> v[0] >> v[1] >> v[2]) {
    change(v);
    out += std::to_string(v[0]) + ' ' + std::to_string(v[1]) + ' ' + std::to_string(v[2]) + '\n';
  }
  return out;
}

std::string oneBased(const std::string& solution) {
  return eachLine(solution, [](int64_t v[3]) { v[0] += 1, v[2] += v[2] >= 0 ? 1 : 0; });
}

void writeGzip(const std::string& path, const std::string& text) {
  gzFile file = gzopen(path.c_str(), "wb");
  gzwrite(file, text.data(), static_cast<unsigned>(text.size()));
  gzclose(file);
}

std::string zstdBytes(const std::string& text) {
  std::string out(ZSTD_compressBound(text.size()), '\0');
  out.resize(ZSTD_compress(out.data(), out.size(), text.data(), text.size(), 3));
  return out;
}

TEST(Query, EveryFormatCompressionAndStandardInputGiveTheFullSearch) {
  TempDir dir;
  const std::string expected = referenceSolution(dir, 3);
  for (const std::string format : {"edges", "snap", "dimacs", "mtx"}) {
    const std::string text = formatText(format, testEdges());
    writeFile(dir.file("g." + format), text);
    writeGzip(dir.file("g." + format + ".gz"), text);
    writeFile(dir.file("g." + format + ".zst"), zstdBytes(text));
    const bool shifted = format == "dimacs" || format == "mtx";
    const std::string source = shifted ? "4" : "3";
    for (const std::string& input :
         {"g." + format, "g." + format + ".gz", "g." + format + ".zst", std::string("-")}) {
      SCOPED_TRACE(input + " " + format);
      const ProcessResult run =
          runQueryTool({"-q", "-s", source, input}, dir.path(), dir.file("g." + format));
      EXPECT_EQ(run.status, 0);
      EXPECT_EQ(run.err, "");
      EXPECT_EQ(run.out, shifted ? oneBased(expected) : expected);
    }
  }
  // With the tool's own format and the default source, the very file `vorlinde` writes.
  EXPECT_EQ(runVorlinde({"g.edges", "vorlinde.sol"}, dir.path()).status, 0);
  EXPECT_EQ(runQueryTool({"-q", "-o", "query.sol", "g.edges"}, dir.path()).status, 0);
  EXPECT_EQ(readFile(dir.file("query.sol")), readFile(dir.file("vorlinde.sol")));
}

TEST(Query, SmallFilesGiveTheNodesTheyName) {
  TempDir dir;
  writeFile(dir.file("p.mtx"),
            "%%MatrixMarket matrix coordinate pattern symmetric\n3 3 2\n2 1\n3 2\n");
  writeFile(dir.file("r.mtx"),
            "%%MatrixMarket MATRIX coordinate real general\n3 2 2\n1 2 2.0\n3 1 0.5e1\n");
  EXPECT_EQ(runQueryTool({"-q", "p.mtx"}, dir.path()).out, "1 0 -1\n2 1 1\n3 2 2\n");
  EXPECT_EQ(runQueryTool({"-q", "-s", "3", "r.mtx"}, dir.path()).out, "1 5 3\n2 7 1\n3 0 -1\n");
  writeFile(dir.file("loop.snap"), "# one node\n0 0 5\n");
  EXPECT_EQ(runQueryTool({"-q", "loop.snap"}, dir.path()).out, "0 0 -1\n");
}

TEST(Query, EachFormatNamesItsFirstBadLine) {
  const std::string mm = "%%MatrixMarket matrix coordinate real general\n";
  const std::vector<std::vector<std::string>> rows = {
      {"g.gr", "p sp 3 2\na 1 2 1\n", "line 1: the p line says 2 arcs, the file has 1"},
      {"g.gr", "p sp 3 1\na 1 2 1\na 2 3 1\n", "line 3: more arcs than the 1 of the p line"},
      {"g.gr", "p sp 3 2147483647\na 1 2 1\n",  // more arcs than memory could hold
       "line 1: the p line says 2147483647 arcs, the file has 1"},
      {"g.gr", "p sp 3 1\na 1 4 1\n", "line 2: node 4 outside 1..3"},
      {"g.gr", "c x\np sp 3 1\na 1 2 -5\n", "line 3: negative weight"},
      {"g.gr", "p sp 3 1\na 1 2 1.5\n", "line 2: fractional weight"},
      {"g.gr", "c x\na 1 2 3\n", "line 2: an arc before the p line"},
      {"g.gr", "p sp 0 1\na 1 1 1\n", "line 2: node 1 outside 1..0"},
      {"g.gr", "p sp 2147483646 0\n",  // one node more than a graph may have
       "line 1: expected 'p sp N M' with N nodes and M arcs"},
      {"g.snap", "# x\n0 1\n0 x\n", "line 3: not a number"},
      {"g.snap", "# x\n0 1 2 3\n", "line 2: expected 2 or 3 fields"},
      {"g.mtx", "%%MatrixMarket matrix array real general\n",
       "line 1: unsupported Matrix Market header "
       "(supported: matrix coordinate integer, real or pattern, general or symmetric)"},
      {"g.mtx", mm + "2 2 1\n1 3 1\n", "line 3: column 3 outside 1..2"},
      {"g.mtx", mm + "% c\n2 2 2\n1 2 1\n", "line 3: the size line says 2 entries, the file has 1"},
      {"g.mtx", mm + "2 2 1\n1 2 0.5\n", "line 3: fractional weight"},
      {"-", "0 1 2\n\n0 1\n", "line 3: expected 3 numbers"},
  };
  TempDir dir;
  for (const auto& row : rows) {
    SCOPED_TRACE(row[1]);
    writeFile(dir.file("input"), row[1]);
    if (row[0] != "-") writeFile(dir.file(row[0]), row[1]);
    const ProcessResult run = runQueryTool({row[0]}, dir.path(), dir.file("input"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "ERROR: Bad graph file " + row[0] + " " + row[2] + "\n");
  }
  // A broken compressed stream is reported at the line where the text breaks off.
  std::string text;
  for (int line = 0; line < 20000; ++line)
    text += std::to_string(line) + " " + std::to_string(line + 1) + " 1\n";
  const std::string packed = zstdBytes(text);
  writeFile(dir.file("cut.zst"), packed.substr(0, packed.size() / 2));
  writeGzip(dir.file("whole.gz"), text);
  std::string chain = "0 0 -1\n";  // read whole, well past the block kept for the format's look
  for (int node = 1; node <= 20000; ++node) {
    chain +=
        std::to_string(node) + ' ' + std::to_string(node) + ' ' + std::to_string(node - 1) + '\n';
  }
  EXPECT_EQ(runQueryTool({"-q", "whole.gz"}, dir.path()).out, chain);
  std::string gz = readFile(dir.file("whole.gz"));
  gz[gz.size() / 2] ^= 0x55;
  writeFile(dir.file("bad.gz"), gz);
  const std::regex where(
      R"(ERROR: Can not read file (cut\.zst|bad\.gz)\n)"
      R"(ERROR: Bad graph file (cut\.zst|bad\.gz) line [1-9][0-9]*: (zstd stream ends early|corrupt gzip stream)\n)");
  for (const std::string file : {"cut.zst", "bad.gz"}) {
    const ProcessResult run = runQueryTool({file}, dir.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(std::regex_match(run.err, where)) << run.err;
  }
  // A stream that breaks off right after whole frames, in each format's
  // reader: the line it broke off in is the first one past them.
  const std::vector<std::vector<std::string>> framed = {
      {"g.gr.zst", "p sp 3 2000\n", "a 1 2 "}, {"g.snap.zst", "# x\n", "0 1 "},
      {"g.mtx.zst", mm + "3 3 2000\n", "1 2 "}};
  for (const auto& format : framed) {
    std::string whole = format[1];
    std::string more;
    for (int k = 1; k <= 1000; ++k) whole += format[2] + std::to_string(k) + "\n";
    for (int k = 1; k <= 1000; ++k) more += format[2] + std::to_string(k) + "\n";
    const std::string cut = zstdBytes(more);
    writeFile(dir.file(format[0]), zstdBytes(whole) + cut.substr(0, cut.size() / 2));
    const int64_t lines = std::count(whole.begin(), whole.end(), '\n');
    EXPECT_EQ(runQueryTool({format[0]}, dir.path()).err,
              "ERROR: Bad graph file " + format[0] + " line " + std::to_string(lines + 1) +
                  ": zstd stream ends early\n");
  }
}

// "source target cost path" as the predecessors of the reference give it.
std::string referenceTargetLine(const std::string& solution, int32_t source, int32_t target) {
  std::vector<int64_t> cost(kNodes), pred(kNodes);
  eachLine(solution, [&](int64_t v[3]) { cost[v[0]] = v[1], pred[v[0]] = v[2]; });
  std::string line = std::to_string(source) + ' ' + std::to_string(target) + ' ';
  if (cost[target] < 0) return line + "-1 -\n";
  std::string path = std::to_string(target);
  for (int64_t node = target; node != source; node = pred[node])
    path = std::to_string(pred[node]) + ',' + path;
  return line + std::to_string(cost[target]) + ' ' + path + '\n';
}

TEST(Query, TargetsGiveThePredecessorChainOfTheFullSearch) {
  TempDir dir;
  writeFile(dir.file("g.txt"), graphText(testEdges()));
  std::string expected;
  std::vector<std::string> args = {"-q", "-j", "2", "-s", "5", "-s", "3"};
  for (int32_t target = 0; target < kNodes; target += 4)
    args.insert(args.end(), {"-t", std::to_string(target)});
  for (const int32_t source : {5, 3}) {
    const std::string solution = referenceSolution(dir, source);
    for (int32_t target = 0; target < kNodes; target += 4)
      expected += referenceTargetLine(solution, source, target);
  }
  args.push_back("g.txt");
  const ProcessResult run = runQueryTool(args, dir.path());
  EXPECT_EQ(std::to_string(run.status) + "\n" + run.out, "0\n" + expected);
  // A source whose search fails leaves the output that was there.
  writeFile(dir.file("over.txt"), "0 1 2147483647\n1 2 1\n");
  writeFile(dir.file("out.txt"), "kept\n");
  const ProcessResult over =
      runQueryTool({"-q", "-s", "1", "-s", "0", "-t", "2", "-o", "out.txt", "over.txt"}, dir.path());
  EXPECT_EQ(over.status, 1);
  EXPECT_EQ(readFile(dir.file("out.txt")), "kept\n");
}

// The canonical tie order: the same bytes on any number of threads, the
// heap's costs, and target lines that follow its own predecessors.
TEST(Query, CanonicalTiesAreTheSameOnEveryThreadCount) {
  TempDir dir;
  writeFile(dir.file("g.txt"), graphText(testEdges()));
  const auto solve = [&](const std::string& threads, const std::vector<std::string>& more) {
    std::vector<std::string> args = {"-q", "--ties", "canonical", "-j", threads, "-s", "3"};
    args.insert(args.end(), more.begin(), more.end());
    args.push_back("g.txt");
    const ProcessResult run = runQueryTool(args, dir.path());
    EXPECT_EQ(run.status, 0);
    return run.out;
  };
  const std::string whole = solve("1", {});
  const auto costs = [](const std::string& text) {
    return eachLine(text, [](int64_t v[3]) { v[2] = 0; });
  };
  EXPECT_EQ(costs(whole), costs(referenceSolution(dir, 3)));
  std::string targetLines;
  for (int32_t target = 0; target < kNodes; target += 4) {
    targetLines += referenceTargetLine(whole, 3, target);
  }
  for (const std::string threads : {"1", "2", "3"}) {
    EXPECT_EQ(solve(threads, {}), whole) << threads << " threads";
    std::vector<std::string> targets;
    for (int32_t target = 0; target < kNodes; target += 4) {
      targets.insert(targets.end(), {"-t", std::to_string(target)});
    }
    EXPECT_EQ(solve(threads, targets), targetLines) << threads << " threads";
  }
}

TEST(Query, MaxCostReportsNodesPastItUnreached) {
  TempDir dir;
  const std::string expected = eachLine(referenceSolution(dir, 3), [](int64_t v[3]) {
    if (v[1] > 2) v[1] = v[2] = -1;
  });
  EXPECT_EQ(runQueryTool({"-q", "-s", "3", "--max-cost", "2", "reference.txt"}, dir.path()).out,
            expected);
}

TEST(Query, SeveralSourcesWriteOneFileEachWithAnyThreadCount) {
  TempDir dir;
  writeFile(dir.file("sources.ss"), "c sources\np aux sp ss 3\ns 2\ns 6\n# more\n7\n");
  writeFile(dir.file("g.txt"), graphText(testEdges()));
  for (const std::string threads : {"1", "3"}) {
    const ProcessResult run = runQueryTool({"-q", "-j", threads, "-s", "0", "--sources",
                                            "sources.ss", "-o", "out-{source}.sol", "g.txt"},
                                           dir.path());
    EXPECT_EQ(run.status, 0);
    for (const int32_t source : {0, 2, 6, 7}) {
      const std::string path = dir.file("out-" + std::to_string(source) + ".sol");
      EXPECT_EQ(readFile(path), referenceSolution(dir, source))
          << threads << " threads, source " << source;
      std::remove(path.c_str());
    }
  }
}

// Each row: the arguments (standard input is g.txt), the exit status, the
// output and the messages.
TEST(Query, OptionsAndSmallReadersAtTheirEdges) {
  TempDir dir;
  const std::string banner = "%%MatrixMarket matrix coordinate integer general\n";
  const std::pair<std::string, std::string> files[] = {
      {"g.txt", "0 1 4\n"},
      {"none.ss", "c no sources\n\n"},
      {"bad.ss", "s 1\ns x\n"},
      {"one.ss", "s 1\n"},
      {"empty.gr", "p sp 0 0\n"},
      {"empty.mtx", banner + "0 0 0\n"},
      {"lower.mtx", "%%matrixmarket MATRIX coordinate integer general\n2 2 1\n1 2 5\n"},
      // Z: more zeros than a number may have digits.
      {"z.txt", "Z0 Z1 Z4\n"},
      {"z.gr", "p sp Z2 Z1\na Z1 Z2 Z4\n"},
      {"z.snap", "Z0\tZ1\n"},
      {"z.mtx", banner + "Z2 Z2 Z1\nZ1 Z2 7\n"},
      {"z.ss", "s Z1\n"},
  };
  for (auto [name, text] : files) {
    for (size_t at; (at = text.find('Z')) != std::string::npos;) text.replace(at, 1, 21, '0');
    writeFile(dir.file(name), text);
  }
  const std::string tryHelp = "Try 'vorlinde-query --help' for more information.\n";
  const ExpectedRun rows[] = {
      {{"--sources", "-", "-"}, 2, "",
       "vorlinde-query: only one of the graph, --sources and --targets can be standard input ('-')\n" + tryHelp},
      {{"--sources", "-", "--matrix", "--targets", "-", "g.txt"}, 2, "",
       "vorlinde-query: only one of the graph, --sources and --targets can be standard input ('-')\n" + tryHelp},
      {{"--sources", "none.ss", "g.txt"}, 1, "",
       "ERROR: Bad sources file none.ss: no source in it\n"},
      {{"--sources", "bad.ss", "g.txt"}, 1, "", "ERROR: Bad sources file bad.ss line 2: not a number\n"},
      {{"--sources", "one.ss", "-o", "one.ss", "g.txt"}, 1, "",
       "ERROR: Output file one.ss is the same file as one.ss\n"},
      {{"-s", "1", "--sources", "one.ss", "-t", "1", "-o", "./one.ss", "g.txt"}, 1, "",
       "ERROR: Output file ./one.ss is the same file as one.ss\n"},
      {{"--targets", "one.ss", "--matrix", "-o", "one.ss", "g.txt"}, 1, "",
       "ERROR: Output file one.ss is the same file as one.ss\n"},
      {{"empty.gr"}, 1, "", "ERROR: empty.gr has no nodes: no source to search from\n"},
      {{"-s", "1", "empty.mtx"}, 1, "",
       "ERROR: empty.mtx has no nodes: no source to search from\n"},
      {{"lower.mtx"}, 0, "1 0 -1\n2 5 1\n", ""},
      {{"z.txt"}, 0, "0 0 -1\n1 4 0\n", ""},
      {{"--sources", "z.ss", "z.gr"}, 0, "1 0 -1\n2 4 1\n", ""},
      {{"z.snap"}, 0, "0 0 -1\n1 1 0\n", ""},
      {{"z.mtx"}, 0, "1 0 -1\n2 7 1\n", ""},
      {{"--ties", "first", "g.txt"}, 2, "",
       "vorlinde-query: unknown tie order 'first' (heap or canonical)\n" + tryHelp},
  };
  for (const ExpectedRun& row : rows) {
    std::vector<std::string> args = {"-q"};
    args.insert(args.end(), row.args.begin(), row.args.end());
    const ProcessResult run = runQueryTool(args, dir.path(), dir.file("g.txt"));
    EXPECT_EQ(std::to_string(run.status) + "\n" + run.out + run.err,
              std::to_string(row.status) + "\n" + row.out + row.err)
        << testing::PrintToString(row.args);
  }
  EXPECT_EQ(readFile(dir.file("one.ss")), "s 1\n");
}

TEST(Query, UsageErrorsExitTwoFailuresOne) {
  TempDir dir;
  writeFile(dir.file("g.txt"), "0 1 1\n");
  const std::vector<std::pair<std::vector<std::string>, int>> rows = {
      {{"--bogus", "g.txt"}, 2},
      {{}, 2},
      {{"-f", "xml", "g.txt"}, 2},
      {{"-j", "0", "g.txt"}, 2},
      {{"-s", "0", "-s", "1", "g.txt"}, 2},
      {{"g.txt", "h.txt"}, 2},
      {{"missing.txt"}, 1},
      {{"-s", "2", "g.txt"}, 1},
      {{"-o", "no/such/dir", "g.txt"}, 1},
      {{"-o", "./g.txt", "g.txt"}, 1},
      {{"-q", "g.txt"}, 0}};
  for (const auto& [args, status] : rows) {
    EXPECT_EQ(runQueryTool(args, dir.path()).status, status) << testing::PrintToString(args);
  }
  EXPECT_EQ(
      runQueryTool({"--help"}, dir.path()).out.rfind("Usage: vorlinde-query [OPTIONS] GRAPH\n", 0),
      0u);
}

}  // namespace
