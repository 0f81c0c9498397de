#include "app/command_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/process.h"

namespace {

std::string expectedUsage(const std::string& p) {
  return "Vorlinde version 2.3.5\n"
         "Basic usage is compatible with prior versions of vorlinde 2.x :.\n"
         "\n" +
         p + " [-v] [-l] graphfile outputfile\n" + "\t [-v] -l linear search (no heap)\n" + p +
         " [-v] -c n [-s seed] [-e maxEdge] graphfile\n" +
         "\t create random graph with n nodes\n"
         "\t create random graph with n nodes and randomization with given seed\n"
         "\t        number nodes >= 7\n"
         "\t create random graph with maxEdge from one node\n"
         "\t        default is 5, that is average nbr edges is ~3\n"
         "\t        must be >= 5 and < n or  < 1000\n"
         "\t        WARNING option -e is experimental, it should be used with cation\n" +
         p + " [-v] -t graphfile solution\n" +
         "\t solve and compare with solution\n"
         "\n"
         "\t -----------------------------------------\n"
         "\t  Computation of solution hash (checksum) \n"
         "\t -----------------------------------------\n"
         "\t Solution can be a file or a graph or parameters to compute graph.\n"
         "\t Comnputed hash is printed to standard output, all verbose and error messages are "
         "printed to standard error output.\n"
         "\n"
         "\t " + p + " -h -p solutionFile [-v]\n" + "\t  hash is compute from given solutionFile\n"
         "\n"
         "\t " + p + " -h [-g graphFile] [-p solutionFile] [-v]\n" +
         "\t At first solution is found on given graph, than  hash is computed.\n"
         "\t If -p solutionFile is given, found solution is saved into this file.\n"
         "\n"
         "\t " + p +
         " -h -n number [-s seed] [-e maxEdge] [-g graphFile] [-p solutionFile] [-v]\n" +
         "\t At first random graph is generated, with number nodes n (or with particular seed and "
         "maxEdge).\n"
         "\t Than solution is found and hash is computed.\n"
         "\t If -g graphFile is given, generated graph is saved into this file.\n"
         "\t If -p solutionFile is given, found solution is saved into this file,\n"
         "\n"
         "\n"
         " -v turn on verbose mode in all usage of program " + p + "\n";
}

// The words of a line split at single blanks, so tabs and newlines stay inside words.
std::vector<std::string> words(const std::string& line) {
  std::vector<std::string> result;
  std::istringstream stream(line);
  for (std::string word; std::getline(stream, word, ' ');) if (!word.empty()) result.push_back(word);
  return result;
}

// The parsed options in one line, defaults left out.
std::string parsed(const std::string& line) {
  std::vector<std::string> argv = words("vorlinde " + line);
  std::vector<char*> pointers;
  for (std::string& word : argv) pointers.push_back(word.data());
  pointers.push_back(nullptr);
  RunOptions o;
  EXPECT_TRUE(parseCommandLine(static_cast<int>(argv.size()), pointers.data(), o)) << line;
  const char* modes[] = {"Solve", "Create", "Test", "Hash"};
  std::string text = modes[static_cast<int>(o.mode)];
  if (o.nodes != -1) text += " n=" + std::to_string(o.nodes);
  if (o.maxEdge != 5) text += " e=" + std::to_string(o.maxEdge);
  if (o.seed != -1) text += " s=" + std::to_string(o.seed);
  if (o.graphFile != nullptr) text += std::string(" g=") + o.graphFile;
  if (o.solutionFile != nullptr) text += std::string(" p=") + o.solutionFile;
  return text + (o.useHeap ? "" : " linear") + (o.verbose ? " verbose" : "");
}

TEST(CommandLine, ValidLinesGiveTheirOptions) {
  const struct {
    const char* line;
    const char* options;
  } cases[] = {
      {"graph.txt out.txt", "Solve g=graph.txt p=out.txt"},
      {"-l -v graph.txt out.txt", "Solve g=graph.txt p=out.txt linear verbose"},
      {"-x graph.txt", "Solve g=-x p=graph.txt"},
      {"-g x g.txt out.txt", "Solve g=g.txt p=out.txt"},
      {"-e 2000 g.txt out.txt", "Solve e=2000 g=g.txt p=out.txt"},
      {"-c 7 g.txt", "Create n=7 g=g.txt"},
      {"-c 1001 -e 1000 g.txt", "Create n=1001 e=1000 g=g.txt"},
      {"-c 10 -e 9 g.txt", "Create n=10 e=9 g=g.txt"},
      {"-c 12abc g.txt", "Create n=12 g=g.txt"},
      {"-c 10 g.txt other.txt", "Create n=10 g=g.txt p=other.txt"},
      {"-s \t\n+42 -c 10 g.txt", "Create n=10 s=42 g=g.txt"},
      {"-s -2147483648 -c 2147483647 g.txt", "Create n=2147483647 s=-2147483648 g=g.txt"},
      {"-t g.txt s.txt -c 10", "Create n=10 g=g.txt p=s.txt"},
      {"-c 10 -t g.txt s.txt", "Test n=10 g=g.txt p=s.txt"},
      {"-c 10 -h", "Hash n=10"},
      {"-h -n 10", "Hash n=10"},
      {"-h -n -1 -p s.txt", "Hash p=s.txt"},
      {"-g g.txt -h -p s.txt -l", "Hash g=g.txt p=s.txt linear"},
      {"-h -g -v", "Hash g=-v"},
  };
  for (const auto& c : cases) EXPECT_EQ(parsed(c.line), c.options) << c.line;
}

// Refused lines print the usage text alone, with no banner even after -v, and run nothing.
TEST(CommandLine, RefusedLinesPrintOnlyTheUsageText) {
  const char* const refused[] = {
      "", "graph.txt", "graph.txt out.txt extra", "-v graph.txt", "-c 6 g.txt",
      "-c 1002 -e 1001 g.txt", "-c 10 -e 10 g.txt", "-c 10 -e 4 g.txt", "-c 10",
      "-c abc g.txt", "-c 99999999999 g.txt", "-c abc -c 10 g.txt", "-c 10 -s 2147483648 g.txt",
      "-c 10 -s -2147483649 g.txt", "-c 10 -s \t g.txt", "-c 10 -s - g.txt",
      "-c 10 -s +-5 g.txt", "-h", "-v -h", "-n 10 -h", "-h -g g.txt x", "-h -n 6",
      "-h -n 10 -e 10", "g.txt out.txt -g", "g.txt out.txt -s", "-e x g.txt out.txt",
  };
  TempDir dir;
  std::vector<ExpectedRun> runs;
  for (const char* line : refused) runs.push_back({words(line), 255, "", expectedUsage("vorlinde")});
  expectRuns(runs, dir.path());
  EXPECT_FALSE(fileExists(dir.file("g.txt")));

  EXPECT_EQ(runVorlinde({}, dir.path(), "./some/path/vorlinde").err, expectedUsage("./some/path/vorlinde"));
}

}  // namespace
