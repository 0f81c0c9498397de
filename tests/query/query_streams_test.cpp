// vorlinde-query on hostile inputs, outputs and streams: memory bounded by
// what the file names and the process may get, compressed streams as other
// tools write them, output failures named with their reason, standard
// streams that do not block, pipes that stay open.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>
#include <unistd.h>
#include <zlib.h>
#include <zstd.h>

#include <cerrno>
#include <csignal>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "support/process.h"
#include "support/sanitizers.h"

namespace {

constexpr rlim_t kGiB = rlim_t{1} << 30;

// The started programs inherit the limit, as from ulimit -v.
struct AddressSpaceLimit {
  rlimit saved{};
  explicit AddressSpaceLimit(rlim_t bytes) {
    getrlimit(RLIMIT_AS, &saved);
    rlimit lowered = saved;
    lowered.rlim_cur = bytes;
    setrlimit(RLIMIT_AS, &lowered);
  }
  ~AddressSpaceLimit() { setrlimit(RLIMIT_AS, &saved); }
};

std::string chainText(int nodes) {
  std::string text;
  for (int node = 0; node + 1 < nodes; ++node) {
    text += std::to_string(node) + ' ' + std::to_string(node + 1) + " 1\n";
  }
  return text;
}

std::string chainSolution(int nodes) {
  std::string text = "0 0 -1\n";
  for (int node = 1; node < nodes; ++node) {
    text += std::to_string(node) + ' ' + std::to_string(node) + ' ' + std::to_string(node - 1) + '\n';
  }
  return text;
}

// One zstd frame; windowLog 31 and no size in the header, as zstd --long=31
// writes a stream.
std::string zstdFrame(const std::string& text, int windowLog) {
  ZSTD_CCtx* context = ZSTD_createCCtx();
  ZSTD_CCtx_setParameter(context, ZSTD_c_windowLog, windowLog);
  std::string out(ZSTD_compressBound(text.size()) + 64, '\0');
  ZSTD_outBuffer to{out.data(), out.size(), 0};
  ZSTD_inBuffer from{text.data(), text.size(), 0};
  ZSTD_compressStream2(context, &to, &from, ZSTD_e_continue);
  while (ZSTD_compressStream2(context, &to, &from, ZSTD_e_end) != 0) {}
  ZSTD_freeCCtx(context);
  out.resize(to.pos);
  return out;
}

// A gzip stream of text that is not finished: more could follow.
std::string openGzip(const std::string& text) {
  z_stream stream{};
  deflateInit2(&stream, 1, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&stream, text.size()) + 64, '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  stream.avail_in = static_cast<uInt>(text.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_SYNC_FLUSH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

TEST(QueryStreams, InputsNeedOnlyTheMemoryTheirNodesAndWindowsTake) {
  TempDir dir;
  writeFile(dir.file("huge.txt"), "0 1 1\n0 2147483646 1");
  writeFile(dir.file("huge.gr"), "c x\np sp 2000000000 0\n");
  writeFile(dir.file("large.txt"), "0 100000000 1\n");
  writeFile(dir.file("small.txt"), "0 1000 1\n");
  writeFile(dir.file("claims.gr"), "p sp 3 300000000\na 1 2 1\n");
  const std::string text = chainText(5000);
  const std::string skippable = std::string("\x5e\x2a\x4d\x18\x04\0\0\0abcd", 12);
  writeFile(dir.file("pz.zst"), skippable + zstdFrame(text, 20) + skippable);
  writeFile(dir.file("long.zst"), zstdFrame(text, 31));
  const std::string need = R"(; [0-9]+\.[0-9] GB available\n)";
  const std::string claims = "ERROR: Bad graph file (claims.gr|-) line 1: the p line says "
                             "300000000 arcs, the file has 1\n";
  const std::string chain = chainSolution(5000);
  struct Row {
    rlim_t limit;  // ulimit -v, or 0
    std::vector<std::string> args;
    std::string input;  // standard input
    int status;
    std::string out;
    std::string err;  // a regular expression
  };
  const std::vector<Row> rows = {
      {16 * kGiB, {"huge.txt"}, "", 1, "",
       "ERROR: Bad graph file huge.txt line 2: node 2147483646 would need 60.1 GB" + need},
      {16 * kGiB, {"huge.gr"}, "", 1, "",
       "ERROR: Bad graph file huge.gr line 2: node 2000000000 would need 56.0 GB" + need},
      {kGiB, {"-"}, "large.txt", 1, "",
       "ERROR: Bad graph file - line 1: node 100000000 would need 2.8 GB; [01].[0-9] GB available\n"},
      {kGiB, {"-q", "-t", "1000", "small.txt"}, "", 0, "0 1000 1 0,1000\n", ""},
      {2 * kGiB, {"claims.gr"}, "", 1, "", claims},
      {2 * kGiB, {"-"}, "claims.gr", 1, "", claims},
      {0, {"-q", "pz.zst"}, "", 0, chain, ""},
      {0, {"-q", "long.zst"}, "", 0, chain, ""},
      {kGiB, {"long.zst"}, "", 1, "",
       "ERROR: Can not read file long.zst\nERROR: Bad graph file long.zst line 1: zstd window "
       "too large \\(at most 512 MiB with the memory available\\)\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.args) + " limit " + std::to_string(row.limit));
#if defined(UNDER_A_SANITIZER)
    if (row.limit != 0) continue;  // the sanitizer's own reservations do not fit
#endif
    const AddressSpaceLimit limit(row.limit == 0 ? RLIM_INFINITY : row.limit);
    const ProcessResult run = runQueryTool(
        row.args, dir.path(), row.input.empty() ? "/dev/null" : dir.file(row.input));
    EXPECT_EQ(run.status, row.status);
    EXPECT_TRUE(run.out == row.out) << run.out.substr(0, 100);
    EXPECT_TRUE(std::regex_match(run.err, std::regex(row.err))) << run.err;
  }
}

TEST(QueryStreams, OutputFailuresNameThePathAndTheReason) {
  TempDir dir;
  writeFile(dir.file("g.txt"), chainText(20000));
  mkdir(dir.file("folder").c_str(), 0700);
  int brokenPipe[2];
  ASSERT_EQ(pipe2(brokenPipe, O_CLOEXEC) + close(brokenPipe[0]), 0);  // a reader that went away
  const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
  const std::string err = dir.file("err");
  struct Row {
    std::vector<std::string> args;
    int out;
    int status;  // 1000 + a signal that ended it
    std::string message;
  };
  const std::vector<Row> rows = {
      {{"-o", "folder", "g.txt"}, -1, 1, "ERROR: Can not open folder: Is a directory\n"},
      {{"-t", "9", "-o", "no/such", "g.txt"}, -1, 1, "ERROR: Can not open no/such: No such file or directory\n"},
      {{"-o", "/dev/fd/1x", "g.txt"}, -1, 1,
       "ERROR: Can not open /dev/fd/1x: No such file or directory\n"},  // not descriptor 1
      {{"-o", "/dev/full", "g.txt"}, -1, 1, "ERROR: Can not write /dev/full: No space left on device\n"},
      {{"-s", "0", "-t", "9", "g.txt"}, full, 1,
       "ERROR: Can not write standard output: No space left on device\n"},
      {{"g.txt"}, brokenPipe[1], 1000 + SIGPIPE, ""},  // quietly, as cat | head
      {{"-o", "o.txt", "g.txt"}, -1, 1, "ERROR: Can not write o.txt: File too large\n"},
  };
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.args));
    const bool limited = row.message.ends_with("File too large\n");
    const rlimit fileSize{limited ? 100000 : saved.rlim_cur, saved.rlim_max};
    setrlimit(RLIMIT_FSIZE, &fileSize);  // as ulimit -f
    std::vector<std::string> args = {"-q"};
    args.insert(args.end(), row.args.begin(), row.args.end());
    const int in = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    EXPECT_EQ(finishWithin(startProgram(VORLINDE_QUERY_BINARY, args, dir.path(), in, row.out, err,
                                        "vorlinde-query"),
                           60),
              row.status);
    setrlimit(RLIMIT_FSIZE, &saved);
    close(in);
    EXPECT_EQ(readFile(err), row.message);
  }
  EXPECT_FALSE(fileExists(dir.file("o.txt")));
  close(brokenPipe[1]), close(full);
}

// A pipe whose reading end the program gets, that end set not to block when
// asked; the test writes to the other end, giving up when the program has
// taken nothing for ten seconds, and stopping when it has left (once the
// test has closed its own reading end).
struct InputPipe {
  int ends[2] = {-1, -1};
  explicit InputPipe(bool nonBlocking) {
    EXPECT_EQ(pipe2(ends, O_CLOEXEC), 0);
    if (nonBlocking) fcntl(ends[0], F_SETFL, O_NONBLOCK);
    fcntl(ends[1], F_SETFL, O_NONBLOCK);
  }
  void closeReadingEnd() {
    close(ends[0]);
    ends[0] = -1;
  }
  void write(const std::string& bytes) {
    const auto previous = signal(SIGPIPE, SIG_IGN);  // EPIPE instead
    pollfd writable{ends[1], POLLOUT, 0};
    for (size_t done = 0; done < bytes.size();) {
      const ssize_t written = ::write(ends[1], bytes.data() + done, bytes.size() - done);
      if (written < 0 && errno == EPIPE) break;
      if (written > 0) done += static_cast<size_t>(written);
      if (written <= 0 && poll(&writable, 1, 10000) != 1) {
        ADD_FAILURE() << "not read";
        break;
      }
    }
    signal(SIGPIPE, previous);
  }
  ~InputPipe() { close(ends[0]), close(ends[1]); }
};

TEST(QueryStreams, PipesAreReadAsTheyComeAndLeftWhenTheReadingIsOver) {
  TempDir dir;
  const std::string err = dir.file("err");
  const std::string text = chainText(20000);
  // Standard input and output that do not block: read and written as they are ready.
  {
    InputPipe input(true);
    int output[2];
    ASSERT_EQ(pipe2(output, O_CLOEXEC), 0);
    fcntl(output[1], F_SETFL, O_NONBLOCK);
    const pid_t run =
        startProgram(VORLINDE_QUERY_BINARY, {"-q", "-"}, dir.path(), input.ends[0], output[1],
                     err, "vorlinde-query");
    close(output[1]);
    input.write(text.substr(0, 1000));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    input.write(text.substr(1000));
    close(input.ends[1]);
    input.ends[1] = -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the output pipe fills
    std::string out;
    char block[65536];
    for (ssize_t got; (got = read(output[0], block, sizeof block)) > 0;) out.append(block, got);
    close(output[0]);
    EXPECT_EQ(finishWithin(run, 60), 0);
    EXPECT_TRUE(out == chainSolution(20000)) << out.size() << " bytes";
    EXPECT_EQ(readFile(err), "");
  }
  // A bad line ends the run at once though the writer keeps its pipe open:
  // in a gzip stream, found while the thread that inflates it waits for more
  // (a bad line in the first of its blocks, which are of 1 MiB, or in a few
  // bytes that are all the writer sent), and with the format named, before a
  // look's worth came.
  std::string packed = chainText(100000);
  packed.replace(packed.find("\n70000 ") + 1, 5, "0 1 x");
  const std::vector<std::pair<std::vector<std::string>, std::string>> rows = {
      {{"-"}, openGzip(packed)},
      {{"-f", "edges", "-"}, openGzip("0 1 x\n")},
      {{"-f", "edges", "-"}, "0 1 x\n"},
      {{"-f", "dimacs", "-"}, "p sp 2 1\nq\n"},
  };
  for (const auto& [args, bytes] : rows) {
    SCOPED_TRACE(testing::PrintToString(args));
    InputPipe input(false);
    const pid_t run = startProgram(VORLINDE_QUERY_BINARY, args, dir.path(), input.ends[0], -1,
                                   err, "vorlinde-query");
    // More than a pipe holds: the program may leave before all is written.
    input.closeReadingEnd();
    input.write(bytes);
    EXPECT_EQ(finishWithin(run, 10), 1);
    const std::string where = args.size() == 1                       ? "line 70001: not a number"
                              : args[1] == "edges" ? "line 1: not a number"
                                                   : "line 2: expected a 'c', 'p' or 'a' line";
    EXPECT_EQ(readFile(err), "ERROR: Bad graph file - " + where + "\n");
  }
}

}  // namespace
