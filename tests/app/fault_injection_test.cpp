// Faults of the machine around the program, through the real binary: outputs
// that cannot be written, inputs that cannot be read or end too early, memory
// that runs out. Every one ends with status 255 and claims no success.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <string>
#include <vector>

#include "support/process.h"
#include "support/sanitizers.h"

namespace {

const std::string kNoSolution = "ERROR: Can not obtain solution\n";

TEST(FaultInjection, EveryOutputThatCannotBeWritten) {
  TempDir dir;
  writeFile(dir.file("g.txt"), "0 1 1\n0 2 3\n1 2 2\n");
  writeFile(dir.file("plain"), "");  // a regular file where a folder should be
  // Each run with "@" standing for the output it writes, and whether it hashes.
  const struct {
    std::vector<std::string> args;
    bool hash;
  } writers[] = {
      {{"g.txt", "@"}, false},
      {{"-c", "10", "-s", "1", "@"}, false},
      {{"-h", "-g", "g.txt", "-p", "@"}, true},
      {{"-h", "-n", "10", "-s", "1", "-g", "@"}, true},
      {{"-h", "-n", "10", "-s", "1", "-p", "@"}, true},
  };
  std::vector<ExpectedRun> runs;
  for (const auto& writer : writers) {
    for (const std::string output : {"/dev/full", "missing/out.txt", "plain/out.txt", ".", ""}) {
      ExpectedRun run{writer.args, 255, "Can not open file [" + output + "]\n", ""};
      for (std::string& arg : run.args) arg = arg == "@" ? output : arg;
      if (output == "/dev/full") run.out = "", run.err = "writting error\n";
      if (writer.hash) run.err += kNoSolution;
      runs.push_back(run);
      // Verbose runs say nothing of a saved graph either.
      run.args.insert(run.args.begin(), "-v");
      EXPECT_EQ(runVorlinde(run.args, dir.path()).err.find("saved"), std::string::npos);
    }
  }
  expectRuns(runs, dir.path());
}

TEST(FaultInjection, InputsThatAreFoldersOrEndInsideANumber) {
  TempDir dir;
  writeFile(dir.file("g.txt"), "0 1 1\n0 2 3\n1 2 2\n");
  writeFile(dir.file("cut.txt"), "0 1 5\n1 2");
  writeFile(dir.file("cut.sol"), "0 0 -1\n1 5");
  const std::string noGraph = "ERROR: Can not solve. Graph is not set.\n";
  const std::string noCompare = "ERROR: Solution is not loaded can not compare.\n";
  expectRuns(
      {
          {{"-h", "-g", "."}, 255, "", "ERROR: Can not read file .\n" + noGraph + kNoSolution},
          {{"-t", "g.txt", "."}, 255, "", "ERROR: Can not read file .\n" + noCompare},
          {{"cut.txt", "out.txt"}, 255, "",
           "ERROR: Bad graph file cut.txt line 2: expected 3 numbers\n" + noGraph},
          {{"-t", "g.txt", "cut.sol"}, 255, "",
           "ERROR: Bad solution file cut.sol line 2\n" + noCompare},
      },
      dir.path());
}

TEST(FaultInjection, GeneratedGraphBeyondTheAddressSpaceEndsTheRunCleanly) {
#if defined(UNDER_A_SANITIZER)
  GTEST_SKIP() << "the sanitizer's own reservations do not fit a small address space";
#endif
  TempDir dir;
  rlimit saved{};
  getrlimit(RLIMIT_AS, &saved);
  rlimit lowered = saved;
  lowered.rlim_cur = rlim_t{2} << 30;  // the started programs inherit it: a billion edges do not fit
  setrlimit(RLIMIT_AS, &lowered);
  // Status 255 means the process exited, not that a signal killed it.
  expectRuns({{{"-c", "200000000", "-s", "1", "big.txt"}, 255, "", "Can not allocate memory\n"},
              {{"-h", "-n", "200000000", "-s", "1"}, 255, "", "Can not allocate memory\n"}},
             dir.path());
  setrlimit(RLIMIT_AS, &saved);
  EXPECT_FALSE(fileExists(dir.file("big.txt")));
}

}  // namespace
