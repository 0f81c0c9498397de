// Loading a large graph file, side by side with what reading it costs at the
// least and with a plain from_chars parser, in one run, rounds interleaved.
//
//   load_graph_bench [nodes [rounds [file]]]
//
// Writes a graph of the generator's shape (node v has 1..5 edges to distinct
// targets in 1..nodes-1, costs 1..10^8) to file (default under /tmp), times
// each reading several times from the page cache, prints the best time of
// each with MB/s and the ratios, and deletes the file.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "graph/shortest_path_solver.h"
#include "io/decimal_format.h"

namespace {

constexpr size_t kReadBytes = 32768;

void writeGraphFile(const std::string& path, int32_t nodes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) {
    std::perror(path.c_str());
    std::exit(1);
  }
  std::mt19937_64 random(20261206);
  std::vector<char> out(1 << 20);
  size_t used = 0;
  auto flush = [&] {
    if (::write(fd, out.data(), used) != static_cast<ssize_t>(used)) {
      std::perror("write");
      std::exit(1);
    }
    used = 0;
  };
  int32_t targets[5];
  for (int32_t node = 0; node < nodes; ++node) {
    const int edgeCount = 1 + static_cast<int>(random() % 5);
    for (int k = 0; k < edgeCount; ++k) {
      int32_t target;
      do {
        target = 1 + static_cast<int32_t>(random() % static_cast<uint64_t>(nodes - 1));
      } while (std::find(targets, targets + k, target) != targets + k);
      targets[k] = target;
      const auto cost = 1 + static_cast<int32_t>(random() % 100000000);
      if (used + 40 > out.size()) flush();
      char* at = out.data() + used;
      at = decimal::formatInt(at, node);
      *at++ = ' ';
      at = decimal::formatInt(at, target);
      *at++ = ' ';
      at = decimal::formatInt(at, cost);
      *at++ = '\n';
      used = static_cast<size_t>(at - out.data());
    }
  }
  flush();
  ::close(fd);
}

int openOrDie(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) {
    std::perror(path.c_str());
    std::exit(1);
  }
  return fd;
}

// The floor: every byte passes through read(2) and is looked at once.
int64_t countLines(const std::string& path, int64_t& bytes) {
  const int fd = openOrDie(path);
  std::vector<char> buffer(kReadBytes);
  int64_t lines = 0;
  bytes = 0;
  ssize_t got;
  while ((got = ::read(fd, buffer.data(), buffer.size())) > 0) {
    lines += std::count(buffer.data(), buffer.data() + got, '\n');
    bytes += got;
  }
  ::close(fd);
  return lines;
}

// The plain way: from_chars on whole lines, a partial line carried to the
// next read, edges pushed into a vector.
std::vector<Edge> parseWithFromChars(const std::string& path) {
  const int fd = openOrDie(path);
  std::vector<char> buffer(2 * kReadBytes);
  std::vector<Edge> edges;
  size_t kept = 0;
  ssize_t got;
  while ((got = ::read(fd, buffer.data() + kept, kReadBytes)) > 0) {
    const char* at = buffer.data();
    const char* end = at + kept + static_cast<size_t>(got);
    for (;;) {
      const auto* lineEnd =
          static_cast<const char*>(std::memchr(at, '\n', static_cast<size_t>(end - at)));
      if (lineEnd == nullptr) break;
      Edge edge{};
      int32_t* fields[3] = {&edge.from, &edge.to, &edge.cost};
      for (int32_t* field : fields) {
        while (at < lineEnd && *at == ' ') ++at;
        at = std::from_chars(at, lineEnd, *field).ptr;
      }
      edges.push_back(edge);
      at = lineEnd + 1;
    }
    kept = static_cast<size_t>(end - at);
    std::memmove(buffer.data(), at, kept);
  }
  ::close(fd);
  return edges;
}

struct Best {
  double seconds = 1e30;
  void add(double s) { seconds = std::min(seconds, s); }
};


}  // namespace

int main(int argc, char** argv) {
  const int32_t nodes = argc > 1 ? std::atoi(argv[1]) : 10000000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
  const std::string path =
      argc > 3 ? argv[3] : "/tmp/vorlinde-load-bench-" + std::to_string(getpid()) + ".txt";
  if (nodes < 2 || rounds < 1) {
    std::fprintf(stderr, "usage: %s [nodes>=2 [rounds>=1 [file]]]\n", argv[0]);
    return 1;
  }

  auto start = benchClock();
  writeGraphFile(path, nodes);
  int64_t bytes = 0;
  const int64_t lines = countLines(path, bytes);  // also brings the file into the page cache
  std::printf("file %s: %d nodes, %lld lines, %.1f MB, written in %.1f s\n", path.c_str(), nodes,
              static_cast<long long>(lines), bytes / 1e6, secondsSince(start));

  Best floor, load, plain;
  std::vector<double> overFloor, overPlain;  // per round, neighbours in time
  ShortestPathSolver solver;
  for (int round = 0; round < rounds; ++round) {
    int64_t ignored;
    start = benchClock();
    const int64_t counted = countLines(path, ignored);
    const double floorSeconds = secondsSince(start);

    solver.clear();
    start = benchClock();
    const bool loaded = solver.loadGraph(path.c_str());
    const double loadSeconds = secondsSince(start);

    start = benchClock();
    const std::vector<Edge> edges = parseWithFromChars(path);
    const double plainSeconds = secondsSince(start);

    floor.add(floorSeconds);
    load.add(loadSeconds);
    plain.add(plainSeconds);
    overFloor.push_back(loadSeconds / floorSeconds);
    overPlain.push_back(loadSeconds / plainSeconds);
    std::printf("round %d: load %.3f s, floor %.3f s, plain %.3f s\n", round, loadSeconds,
                floorSeconds, plainSeconds);

    if (!loaded || counted != lines || solver.edgeCount != lines ||
        static_cast<int64_t>(edges.size()) != lines ||
        std::memcmp(edges.data(), solver.edges, edges.size() * sizeof(Edge)) != 0) {
      std::fprintf(stderr, "round %d: the readings disagree\n", round);
      std::remove(path.c_str());
      return 1;
    }
  }
  std::remove(path.c_str());

  auto report = [&](const char* name, const Best& best) {
    std::printf("%-34s %8.3f s %8.0f MB/s\n", name, best.seconds, bytes / 1e6 / best.seconds);
  };
  std::printf("best of %d rounds:\n", rounds);
  report("(a) loadGraph", load);
  report("(b) floor: 32 KiB reads, count LF", floor);
  report("(c) plain: from_chars + vector", plain);
  std::printf("best:   (a)/(b) = %.2f (target <= 2.5)   (a)/(c) = %.2f (target < 1)\n",
              load.seconds / floor.seconds, load.seconds / plain.seconds);
  std::printf("median of the rounds' own ratios: (a)/(b) = %.2f   (a)/(c) = %.2f\n",
              median(overFloor), median(overPlain));
  return 0;
}
