// Outputs through the real binary: a run that fails or is stopped part-way
// leaves the old file whole and no temporary file, streams are written in
// place, and nothing is written over the run's own input.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <future>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "support/process.h"

namespace {

// Starts the binary in dir with standard output on out (closed when -1) and
// standard error into the file err.
pid_t start(const std::vector<std::string>& args, const std::string& dir, int out,
            const std::string& err = "/dev/null") {
  return startProgram(VORLINDE_BINARY, args, dir, STDIN_FILENO, out, err, "vorlinde");
}

int finish(pid_t child) { return finishWithin(child, 0); }

TEST(SafeOutput, FailedAndStoppedWritesLeaveTheOldFile) {
  TempDir dir;
  // A graph of a million nodes: its text takes long enough to write to be stopped in the middle.
  const std::vector<std::string> create = {"-c", "1000000", "-s", "1", "s.txt"};
  writeFile(dir.file("s.txt"), "old\n");
  chmod(dir.file("s.txt").c_str(), 0640);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const rlimit lowered{100000, saved.rlim_max};
  setrlimit(RLIMIT_FSIZE, &lowered);  // inherited by the run, as ulimit -f
  const ProcessResult tooLarge = runVorlinde(create, dir.path());
  setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_EQ(std::to_string(tooLarge.status) + " " + tooLarge.err, "255 writting error\n");
  for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGKILL, 0}) {
    const pid_t run = start(create, dir.path(), -1);
    // Stopped once it writes: a descriptor on the folder.
    siginfo_t ended{};
    for (bool writing = false; signalNumber != 0 && !writing && ended.si_pid == 0;) {
      for (const std::string& fd : entries("/proc/" + std::to_string(run) + "/fd")) {
        char target[4096] = {};
        readlink(("/proc/" + std::to_string(run) + "/fd/" + fd).c_str(), target, sizeof target - 1);
        writing = writing || std::string(target).starts_with(dir.path());
      }
      waitid(P_PID, run, &ended, WEXITED | WNOHANG | WNOWAIT);  // ended before it wrote
    }
    if (signalNumber != 0) kill(run, signalNumber);
    EXPECT_EQ(finish(run), signalNumber == 0 ? 0 : 1000 + signalNumber);
    EXPECT_EQ(readFile(dir.file("s.txt")).substr(0, 4), signalNumber == 0 ? "0 99" : "old\n");
    EXPECT_EQ(entries(dir.path()), std::set<std::string>{"s.txt"});
  }
  struct stat info {};
  EXPECT_TRUE(stat(dir.file("s.txt").c_str(), &info) == 0 && (info.st_mode & 0777) == 0640);
  // Two runs writing different graphs to one file at once: it ends as one of them wrote it.
  const std::string whole = readFile(dir.file("s.txt"));
  const std::vector<std::string> otherCreate = {"-c", "1000000", "-s", "2", "s.txt"};
  EXPECT_EQ(finish(start(otherCreate, dir.path(), -1)), 0);
  const std::string otherWhole = readFile(dir.file("s.txt"));
  const pid_t first = start(create, dir.path(), -1), second = start(otherCreate, dir.path(), -1);
  EXPECT_EQ(finish(first) + finish(second), 0);
  const std::string after = readFile(dir.file("s.txt"));
  EXPECT_TRUE(after == whole || after == otherWhole);
  // A new file is its writer's alone.
  EXPECT_EQ(finish(start({"-c", "100", "-s", "1", "new.txt"}, dir.path(), -1)), 0);
  EXPECT_TRUE(stat(dir.file("new.txt").c_str(), &info) == 0 && (info.st_mode & 0777) == 0600);
}

TEST(SafeOutput, StreamsAreWrittenInPlaceAndTheirFailuresReported) {
  TempDir dir;
  writeFile(dir.file("g.txt"), "0 1 5\n1 2 1\n");
  writeFile(dir.file("s.txt"), "0 0 -1\n1 5 0\n2 6 1\n");
  const std::string solution = readFile(dir.file("s.txt")), err = dir.file("err");
  mkfifo(dir.file("fifo").c_str(), 0600);
  auto fromFifo = std::async(std::launch::async, readFile, dir.file("fifo"));
  EXPECT_EQ(finish(start({"g.txt", "fifo"}, dir.path(), -1)), 0);
  EXPECT_EQ(fromFifo.get(), solution);

  writeFile(dir.file("log"), "LOG\n");
  const int log = ::open(dir.file("log").c_str(), O_WRONLY | O_APPEND);
  EXPECT_EQ(finish(start({"g.txt", "/dev/stdout"}, dir.path(), log)), 0);
  EXPECT_EQ(readFile(dir.file("log")), "LOG\n" + solution);
  int pipeEnds[2] = {-1, -1};
  ASSERT_EQ(pipe(pipeEnds) + close(pipeEnds[0]), 0);  // a reader that went away
  const int full = ::open("/dev/full", O_WRONLY);
  const std::tuple<std::vector<std::string>, int, std::string> cases[] = {{{"g.txt", "/dev/stdout"}, pipeEnds[1], "writting error\n"},
               {{"-h", "-p", "s.txt"}, pipeEnds[1], "ERROR: Can not write standard output\n"},
               {{"-h", "-p", "s.txt"}, full, "ERROR: Can not write standard output\n"},
               {{"-h", "-p", "s.txt"}, -1, "ERROR: Can not write standard output\n"}};
  for (const auto& [args, out, message] : cases) {
    EXPECT_EQ(finish(start(args, dir.path(), out, err)), 255);
    EXPECT_EQ(readFile(err), message);
  }
  close(pipeEnds[1]), close(full), close(log);
}

TEST(SafeOutput, WritingOverAnInputOrThroughAPlantedLinkIsRefused) {
  TempDir dir;
  const std::string graph = "0 1 5\n1 2 1\n";
  writeFile(dir.file("g.txt"), graph);
  writeFile(dir.file("victim"), "keep\n");
  link(dir.file("g.txt").c_str(), dir.file("hard").c_str());
  symlink("g.txt", dir.file("soft").c_str());
  symlink("missing", dir.file("dangling").c_str());
  mkdir(dir.file("shared").c_str(), 0777);
  chmod(dir.file("shared").c_str(), 01777);
  symlink("../victim", dir.file("shared/planted").c_str());
  lchown(dir.file("shared/planted").c_str(), 4242, 4242);  // another user's link
  const std::string same = "ERROR: Output file ";
  expectRuns({{{"g.txt", "g.txt"}, 255, "", same + "g.txt is the same file as g.txt\n"},
              {{"-v", "g.txt", "hard"}, 255, "", "Vorlinde version 2.3.5\n" + same + "hard is the same file as g.txt\n"},
              {{"soft", "g.txt"}, 255, "", same + "g.txt is the same file as soft\n"},
              {{"-h", "-g", "g.txt", "-p", "soft"}, 255, "", same + "soft is the same file as g.txt\n"},
              {{"-h", "-n", "10", "-s", "1", "-g", "x.txt", "-p", "./x.txt"}, 255, "",
               same + "./x.txt is the same file as x.txt\n"},
              {{"g.txt", "dangling"}, 255, "", same + "dangling is a link to a file that does not exist\n"},
              {{"g.txt", "shared/planted"}, 255, "",
               same + "shared/planted is a link in a shared folder that another user owns\n"}},
             dir.path());
  EXPECT_EQ(readFile(dir.file("g.txt")), graph);
  EXPECT_EQ(readFile(dir.file("victim")), "keep\n");
  EXPECT_EQ(entries(dir.path()).size(), 6u);  // no x.txt, missing or temporary file
  // A link of one's own: the file it points to is replaced, the link stays.
  symlink("../victim", dir.file("shared/mine").c_str());
  // Unless the folder is both sticky and writable by all, the kernel follows anybody's link,
  // and so does the tool.
  expectRuns({{{"g.txt", "shared/mine"}, 0, "", ""}}, dir.path());
  for (const mode_t mode : {0777, 01755}) {
    const std::string folder = dir.file("open" + std::to_string(mode));
    mkdir(folder.c_str(), 0777);
    chmod(folder.c_str(), mode);
    symlink("../victim", (folder + "/theirs").c_str());
    lchown((folder + "/theirs").c_str(), 4242, 4242);
    expectRuns({{{"g.txt", folder + "/theirs"}, 0, "", ""}}, dir.path());
  }
  EXPECT_EQ(readFile(dir.file("victim")), "0 0 -1\n1 5 0\n2 6 1\n");
}

}  // namespace
