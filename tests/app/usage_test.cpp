// The command line through the real binary: usage text, banner, exit status.
#include <gtest/gtest.h>

#include <string>

#include "support/process.h"

namespace {

std::string expectedUsage(const std::string& p) {
  return "Vorlinde version 2.3.5\n"
         "Basic usage is compatible with prior versions of vorlinde 2.x :.\n"
         "\n" +
         p + " [-v] [-l] graphfile outputfile\n" +
         "\t [-v] -l linear search (no heap)\n" +
         p + " [-v] -c n [-s seed] [-e maxEdge] graphfile\n" +
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
         "\t " + p + " -h -p solutionFile [-v]\n" +
         "\t  hash is compute from given solutionFile\n"
         "\n"
         "\t " + p + " -h [-g graphFile] [-p solutionFile] [-v]\n" +
         "\t At first solution is found on given graph, than  hash is computed.\n"
         "\t If -p solutionFile is given, found solution is saved into this file.\n"
         "\n"
         "\t " + p + " -h -n number [-s seed] [-e maxEdge] [-g graphFile] [-p solutionFile] [-v]\n" +
         "\t At first random graph is generated, with number nodes n (or with particular seed and "
         "maxEdge).\n"
         "\t Than solution is found and hash is computed.\n"
         "\t If -g graphFile is given, generated graph is saved into this file.\n"
         "\t If -p solutionFile is given, found solution is saved into this file,\n"
         "\n"
         "\n"
         " -v turn on verbose mode in all usage of program " + p + "\n";
}

void expectUsage(const ProcessResult& result, const std::string& program = "vorlinde") {
  EXPECT_EQ(result.status, 255);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, expectedUsage(program));
}

TEST(Usage, NoArgumentsPrintsUsageAndFails) { expectUsage(runVorlinde({})); }

TEST(Usage, TextNamesTheProgramAsTyped) {
  const std::string typed = "./some/path/vorlinde";
  expectUsage(runVorlinde({}, ".", typed), typed);
}

TEST(Usage, UsageTextHasThirtySevenLines) {
  const std::string err = runVorlinde({}).err;
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 37);
}

TEST(Usage, InvalidCommandLinesPrintOnlyUsage) {
  TempDir dir;
  const std::vector<std::vector<std::string>> invalid = {
      {"graph.txt"},
      {"graph.txt", "out.txt", "extra"},
      {"-c", "6", "g.txt"},
      {"-c", "1002", "-e", "1001", "g.txt"},
      {"-c", "10", "-e", "10", "g.txt"},
      {"-c", "10", "-e", "4", "g.txt"},
      {"-c", "abc", "g.txt"},
      {"-c", "99999999999", "g.txt"},
      {"-h"},
      {"-n", "10", "-h"},
      {"-h", "-g", "g.txt", "x"},
      {"g.txt", "out.txt", "-g"},
      {"-v", "graph.txt"},  // no banner even with -v
      {"-v", "-h"},
  };
  for (const auto& args : invalid) {
    SCOPED_TRACE(::testing::PrintToString(args));
    expectUsage(runVorlinde(args, dir.path()));
  }
  EXPECT_FALSE(fileExists(dir.file("g.txt")));
}

TEST(Usage, VerboseBannerComesFirst) {
  TempDir dir;
  const ProcessResult result = runVorlinde({"-v", "missing.txt", "out.txt"}, dir.path());
  EXPECT_EQ(result.err.rfind("Vorlinde version 2.3.5\n", 0), 0u) << result.err;
  EXPECT_EQ(result.status, 255);
}

TEST(Usage, QuietRunPrintsNoBanner) {
  TempDir dir;
  const ProcessResult result = runVorlinde({"missing.txt", "out.txt"}, dir.path());
  EXPECT_EQ(result.err.find("Vorlinde version"), std::string::npos) << result.err;
}

}  // namespace
