// Writing the solution of 10 million nodes: saveSolution against a std::to_chars
// baseline and against a bare loop that only writes prepared bytes, measured
// side by side in interleaved rounds.
//
//   save_solution_bench [nodes] [rounds] [folder]
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "base/allocation.h"
#include "graph/shortest_path_solver.h"
#include "io/text_writer.h"

namespace {

constexpr size_t kWriteBytes = 32768;

// Costs up to about 10^8, predecessors up to the node count, some nodes unreached.
void fillResults(ShortestPathSolver& solver, int32_t nodes) {
  solver.results = allocateArray<NodeResult>(static_cast<size_t>(nodes));
  solver.searchNodeCount = nodes;
  std::mt19937 engine(2024);
  for (int32_t i = 0; i < nodes; ++i) {
    if (i > 0 && engine() % 20 == 0) {
      solver.results[i] = {-1, -1};
    } else {
      solver.results[i] = {static_cast<int32_t>(engine() % 100000000),
                           static_cast<int32_t>(engine() % static_cast<uint32_t>(nodes))};
    }
  }
  solver.results[0] = {0, -1};
}

bool writeAll(int fd, const char* bytes, size_t count) {
  while (count > 0) {
    const ssize_t written = ::write(fd, bytes, count);
    if (written <= 0) return false;
    bytes += written;
    count -= static_cast<size_t>(written);
  }
  return true;
}

bool writeInPieces(const char* bytes, size_t size, const char* path) {
  const int fd = ::open(path, O_RDWR | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) return false;
  bool ok = true;
  for (size_t offset = 0; offset < size; offset += kWriteBytes) {
    ok = writeAll(fd, bytes + offset, std::min(kWriteBytes, size - offset)) && ok;
  }
  return ::close(fd) == 0 && ok;
}

// Formats every line into one buffer (allocated and touched once, before the
// timing) and writes it 32 KiB at a time.
bool toCharsBaseline(const ShortestPathSolver& solver, std::vector<char>& text, const char* path) {
  char* out = text.data();
  char* const end = text.data() + text.size();
  for (int32_t i = 0; i < solver.searchNodeCount; ++i) {
    out = std::to_chars(out, end, i).ptr;
    *out++ = ' ';
    out = std::to_chars(out, end, solver.results[i].cost).ptr;
    *out++ = ' ';
    out = std::to_chars(out, end, solver.results[i].pred).ptr;
    *out++ = '\n';
  }
  return writeInPieces(text.data(), static_cast<size_t>(out - text.data()), path);
}

bool bareWrites(const std::string& bytes, const char* path) {
  return writeInPieces(bytes.data(), bytes.size(), path);
}

double processorMs() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return (static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)) * 1e3 +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

struct Timing {
  std::vector<double> wall;
  std::vector<double> processor;  // user + system: less disturbed by a busy machine
};

template <typename Step>
void timeStep(Timing& timing, Step step) {
  const double processorBegin = processorMs();
  const auto begin = benchClock();
  if (!step()) {
    std::fprintf(stderr, "a write failed\n");
    std::exit(1);
  }
  timing.wall.push_back(1000 * secondsSince(begin));
  timing.processor.push_back(processorMs() - processorBegin);
}


}  // namespace

int main(int argc, char** argv) {
  const int32_t nodes = argc > 1 ? std::atoi(argv[1]) : 10000000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 7;
  const std::string folder = argc > 3 ? argv[3] : "/tmp";
  const std::string savePath = folder + "/save_solution_bench.saved";
  const std::string baselinePath = folder + "/save_solution_bench.baseline";
  const std::string barePath = folder + "/save_solution_bench.bare";

  ShortestPathSolver solver;
  fillResults(solver, nodes);
  std::vector<char> baselineText(static_cast<size_t>(nodes) * kLongestLine + 1);
  if (!toCharsBaseline(solver, baselineText, baselinePath.c_str())) return 1;
  std::FILE* file = std::fopen(baselinePath.c_str(), "rb");
  std::string bytes(static_cast<size_t>(lseek(fileno(file), 0, SEEK_END)), '\0');
  std::rewind(file);
  if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) return 1;
  std::fclose(file);

  Timing save;
  Timing baseline;
  Timing bare;
  for (int round = 0; round < rounds; ++round) {
    // Rotate the order so no contender always follows the same one.
    for (int slot = 0; slot < 3; ++slot) {
      switch ((round + slot) % 3) {
        case 0:
          ::unlink(savePath.c_str());
          timeStep(save, [&] { return solver.saveSolution(savePath.c_str()); });
          break;
        case 1:
          ::unlink(baselinePath.c_str());
          timeStep(baseline, [&] { return toCharsBaseline(solver, baselineText, baselinePath.c_str()); });
          break;
        default:
          ::unlink(barePath.c_str());
          timeStep(bare, [&] { return bareWrites(bytes, barePath.c_str()); });
      }
    }
  }

  std::FILE* saved = std::fopen(savePath.c_str(), "rb");
  std::string savedBytes(bytes.size() + 1, '\0');
  const size_t savedSize = std::fread(savedBytes.data(), 1, savedBytes.size(), saved);
  std::fclose(saved);
  const bool same = savedSize == bytes.size() && savedBytes.compare(0, savedSize, bytes) == 0;
  for (const std::string& path : {savePath, baselinePath, barePath}) ::unlink(path.c_str());

  std::printf("%d nodes, %zu bytes, %d rounds, medians in ms; files %s\n", nodes, bytes.size(),
              rounds, same ? "identical" : "DIFFER");
  std::printf("                      wall  processor\n");
  std::printf("saveSolution        %6.1f  %6.1f\n", median(save.wall), median(save.processor));
  std::printf("to_chars baseline   %6.1f  %6.1f\n", median(baseline.wall), median(baseline.processor));
  std::printf("bare 32 KiB writes  %6.1f  %6.1f\n", median(bare.wall), median(bare.processor));
  std::printf("saveSolution / baseline: wall %.3f, processor %.3f\n",
              median(save.wall) / median(baseline.wall),
              median(save.processor) / median(baseline.processor));
  std::printf("saveSolution / bare:     wall %.3f, processor %.3f\n", median(save.wall) / median(bare.wall),
              median(save.processor) / median(bare.processor));
  return same ? 0 : 1;
}
