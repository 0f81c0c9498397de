#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Parses a command line given as words after the program name.
struct Parsed {
  bool valid;
  RunOptions options;
};

Parsed parse(std::vector<std::string> words) {
  std::vector<std::string> storage = {"vorlinde"};
  storage.insert(storage.end(), words.begin(), words.end());
  static std::vector<std::vector<std::string>> keepAlive;  // file names point into argv
  keepAlive.push_back(storage);
  std::vector<char*> argv;
  for (std::string& word : keepAlive.back()) argv.push_back(word.data());
  argv.push_back(nullptr);
  Parsed parsed{};
  parsed.valid = parseCommandLine(static_cast<int>(argv.size()) - 1, argv.data(), parsed.options);
  return parsed;
}

std::string text(const char* name) { return name == nullptr ? "<none>" : name; }

TEST(CommandLine, SolveNeedsExactlyTwoFiles) {
  EXPECT_FALSE(parse({}).valid);
  EXPECT_FALSE(parse({"graph.txt"}).valid);
  EXPECT_FALSE(parse({"graph.txt", "out.txt", "extra"}).valid);

  Parsed solve = parse({"graph.txt", "out.txt"});
  ASSERT_TRUE(solve.valid);
  EXPECT_EQ(solve.options.mode, RunMode::Solve);
  EXPECT_EQ(text(solve.options.graphFile), "graph.txt");
  EXPECT_EQ(text(solve.options.solutionFile), "out.txt");
  EXPECT_TRUE(solve.options.useHeap);
  EXPECT_FALSE(solve.options.verbose);

  Parsed linear = parse({"-l", "-v", "graph.txt", "out.txt"});
  ASSERT_TRUE(linear.valid);
  EXPECT_FALSE(linear.options.useHeap);
  EXPECT_TRUE(linear.options.verbose);
}

TEST(CommandLine, UnknownOptionIsPositional) {
  Parsed parsed = parse({"-x", "graph.txt"});
  ASSERT_TRUE(parsed.valid);
  EXPECT_EQ(parsed.options.mode, RunMode::Solve);
  EXPECT_EQ(text(parsed.options.graphFile), "-x");
  EXPECT_EQ(text(parsed.options.solutionFile), "graph.txt");
}

TEST(CommandLine, CreateBounds) {
  Parsed seven = parse({"-c", "7", "g.txt"});
  ASSERT_TRUE(seven.valid);
  EXPECT_EQ(seven.options.mode, RunMode::Create);
  EXPECT_EQ(seven.options.nodes, 7);
  EXPECT_EQ(seven.options.maxEdge, 5);
  EXPECT_EQ(seven.options.seed, -1);

  EXPECT_FALSE(parse({"-c", "6", "g.txt"}).valid);
  EXPECT_TRUE(parse({"-c", "1001", "-e", "1000", "g.txt"}).valid);
  EXPECT_FALSE(parse({"-c", "1002", "-e", "1001", "g.txt"}).valid);
  EXPECT_FALSE(parse({"-c", "10", "-e", "10", "g.txt"}).valid);
  EXPECT_TRUE(parse({"-c", "10", "-e", "9", "g.txt"}).valid);
  EXPECT_FALSE(parse({"-c", "10", "-e", "4", "g.txt"}).valid);
  EXPECT_FALSE(parse({"-c", "10"}).valid);

  Parsed other = parse({"-c", "10", "g.txt", "other.txt"});
  ASSERT_TRUE(other.valid);
  EXPECT_EQ(text(other.options.graphFile), "g.txt");
}

TEST(CommandLine, ValueConversion) {
  Parsed trailing = parse({"-c", "12abc", "g.txt"});
  ASSERT_TRUE(trailing.valid);
  EXPECT_EQ(trailing.options.nodes, 12);
  EXPECT_FALSE(parse({"-c", "abc", "g.txt"}).valid);
  EXPECT_FALSE(parse({"-c", "99999999999", "g.txt"}).valid);

  int32_t value = 0;
  EXPECT_TRUE(textToInt(" \t\n+42", value));
  EXPECT_EQ(value, 42);
  EXPECT_TRUE(textToInt("12 34", value));
  EXPECT_EQ(value, 12);
  EXPECT_TRUE(textToInt("0x10", value));
  EXPECT_EQ(value, 0);
  EXPECT_TRUE(textToInt("-2147483648", value));
  EXPECT_EQ(value, INT32_MIN);
  EXPECT_TRUE(textToInt("2147483647", value));
  EXPECT_EQ(value, INT32_MAX);
  EXPECT_FALSE(textToInt("2147483648", value));
  EXPECT_FALSE(textToInt("-2147483649", value));
  EXPECT_FALSE(textToInt("", value));
  EXPECT_FALSE(textToInt("   ", value));
  EXPECT_FALSE(textToInt("-", value));
  EXPECT_FALSE(textToInt("+-5", value));
}

TEST(CommandLine, LastModeWins) {
  Parsed create = parse({"-t", "g.txt", "s.txt", "-c", "10"});
  ASSERT_TRUE(create.valid);
  EXPECT_EQ(create.options.mode, RunMode::Create);
  EXPECT_EQ(create.options.nodes, 10);
  EXPECT_EQ(text(create.options.graphFile), "g.txt");

  Parsed hash = parse({"-c", "10", "-h"});
  ASSERT_TRUE(hash.valid);
  EXPECT_EQ(hash.options.mode, RunMode::Hash);
  EXPECT_EQ(hash.options.nodes, 10);

  Parsed test = parse({"-c", "10", "-t", "g.txt", "s.txt"});
  ASSERT_TRUE(test.valid);
  EXPECT_EQ(test.options.mode, RunMode::Test);
}

TEST(CommandLine, HashModes) {
  EXPECT_FALSE(parse({"-h"}).valid);

  Parsed fromFile = parse({"-h", "-p", "s.txt"});
  ASSERT_TRUE(fromFile.valid);
  EXPECT_EQ(text(fromFile.options.solutionFile), "s.txt");
  EXPECT_EQ(fromFile.options.graphFile, nullptr);

  Parsed random = parse({"-h", "-n", "10"});
  ASSERT_TRUE(random.valid);
  EXPECT_EQ(random.options.nodes, 10);
  EXPECT_EQ(random.options.graphFile, nullptr);
  EXPECT_EQ(random.options.solutionFile, nullptr);

  EXPECT_FALSE(parse({"-n", "10", "-h"}).valid);
  EXPECT_FALSE(parse({"-h", "-g", "g.txt", "x"}).valid);
  EXPECT_FALSE(parse({"-h", "-n", "6"}).valid);
  EXPECT_FALSE(parse({"-h", "-n", "10", "-e", "10"}).valid);

  Parsed noCount = parse({"-h", "-n", "-1", "-p", "s.txt"});
  ASSERT_TRUE(noCount.valid);
  EXPECT_EQ(noCount.options.nodes, -1);
  EXPECT_EQ(text(noCount.options.solutionFile), "s.txt");

  Parsed both = parse({"-g", "g.txt", "-h", "-p", "s.txt", "-l"});
  ASSERT_TRUE(both.valid);
  EXPECT_EQ(text(both.options.graphFile), "g.txt");
  EXPECT_EQ(text(both.options.solutionFile), "s.txt");
  EXPECT_FALSE(both.options.useHeap);
}

TEST(CommandLine, OptionValuesAreTakenWhateverTheyLookLike) {
  // "-v" here is the value of -g, not the verbose switch.
  Parsed parsed = parse({"-h", "-g", "-v"});
  ASSERT_TRUE(parsed.valid);
  EXPECT_FALSE(parsed.options.verbose);
  EXPECT_EQ(text(parsed.options.graphFile), "-v");

  EXPECT_FALSE(parse({"g.txt", "out.txt", "-g"}).valid);
  EXPECT_FALSE(parse({"g.txt", "out.txt", "-s"}).valid);

  Parsed ignored = parse({"-g", "x", "g.txt", "out.txt"});
  ASSERT_TRUE(ignored.valid);
  EXPECT_EQ(text(ignored.options.graphFile), "g.txt");
  EXPECT_EQ(text(ignored.options.solutionFile), "out.txt");

  Parsed seed = parse({"-s", "-5", "-c", "10", "g.txt"});
  ASSERT_TRUE(seed.valid);
  EXPECT_EQ(seed.options.seed, -5);

  // -e and -s must convert in every mode, but the maxEdge bounds apply only to random graphs.
  EXPECT_FALSE(parse({"-e", "x", "g.txt", "out.txt"}).valid);
  EXPECT_TRUE(parse({"-e", "2000", "g.txt", "out.txt"}).valid);
  // -c before its value fails at once, even though later arguments would be fine.
  EXPECT_FALSE(parse({"-c", "abc", "-c", "10", "g.txt"}).valid);
}

}  // namespace
