// DIMACS, SNAP and Matrix Market files read in parts by several threads: the
// same graph, or the same first bad line, as a reading in order, wherever the
// parts begin.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "formats/graph_readers.h"
#include "formats/load_splitting.h"
#include "formats/parted_read.h"
#include "graph/shortest_path_solver.h"
#include "support/graph_file.h"
#include "support/process.h"

namespace {

struct FormatText {
  const char* format;
  std::string text;
  bool sound;
};

// What reading the file gave: the message, the nodes, the edges, the ranges.
std::string readAsText(const std::string& path, const char* formatName) {
  ShortestPathSolver solver;
  GraphFormat format;
  EXPECT_TRUE(graphFormatNamed(formatName, format));
  int32_t firstNode;
  testing::internal::CaptureStderr();
  const bool read = solver.readGraph(path.c_str(), format, firstNode);
  std::string result = testing::internal::GetCapturedStderr();
  if (!read) return result;
  return result + std::to_string(solver.nodeCount) + " nodes\n" +
         graphText({solver.edges, solver.edges + solver.edgeCount}) +
         rangesText(solver.edgeRanges, static_cast<size_t>(solver.nodeCount));
}

// Whether the parts alone take the text, without the reading in order.
bool partsTakeIt(const std::string& path, GraphFormat format) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  const int64_t fileBytes = ::lseek(fd, 0, SEEK_END);
  PartBytes whole(FilePart{fd, 0, fileBytes, fileBytes, true});
  LineScanner lines(whole.source());
  TextHeader header;
  header.format = format;
  ReadFailure failure;
  TextEdges text;
  const bool taken = readTextHeader(lines, header, failure) &&
                     readTextEdges(fd, lines.nextOffset(), fileBytes, header, {}, text);
  std::free(text.edges);
  ::close(fd);
  return taken;
}

class ReadGraphInParts : public ::testing::Test {
 protected:
  const LoadSplitting savedSplitting = loadSplitting();
  ~ReadGraphInParts() override { loadSplitting() = savedSplitting; }
};

TEST_F(ReadGraphInParts, AgreesWithAReadingInOrder) {
  const std::string symmetric = "%%MatrixMarket matrix coordinate integer symmetric\n";
  const FormatText texts[] = {
      {"dimacs",
       "c x\np sp 6 6\nc between\na 1 2 3\r\na 2 3 1\n\na 1 4 2\na 3 1 7\n  a\t4 5 0\na 1 5 1.0e1",
       true},
      {"dimacs", "p sp 3 3\na 1 2 1\na 2 3 1\n", false},  // fewer arcs than the p line
      {"dimacs", "p sp 3 1\na 1 2 1\na 2 3 1\n", false},  // more
      {"dimacs", "p sp 3 2\na 1 2 1\np sp 3 1\na 2 3 1\n", false},
      {"dimacs", "p sp 3 3\na 1 2 1\na 1 4 1\na 2 3 1.5\n", false},
      {"snap", "# x\n0 1\n3\t2 5\n0 2 1\n\n# y\n2 0\n7 1 4\r\n", true},
      {"snap", "0 1\n1 2\n1 x\n2 3 -1\n", false},
      {"mtx", symmetric + "% c\n5 4 4\n1 2 3\n2 2 1\n% d\n4 1 2\n3 1 5\n", true},
      {"mtx", symmetric + "3 3 2\n1 2 3\n2 2 1\n3 1 2\n", false},
  };
  TempDir dir;
  const std::string path = dir.file("g");
  for (const FormatText& text : texts) {
    SCOPED_TRACE(text.text);
    writeFile(path, text.text);
    loadSplitting() = LoadSplitting{1, 1 << 20, 1 << 20};
    const std::string inOrder = readAsText(path, text.format);
    EXPECT_EQ(inOrder.rfind("ERROR", 0) != 0, text.sound) << inOrder;
    GraphFormat format;
    graphFormatNamed(text.format, format);
    for (int32_t threads : {2, 3}) {
      const auto size = static_cast<int64_t>(text.text.size());
      for (int64_t partBytes = 1; partBytes <= size; ++partBytes) {
        loadSplitting() = LoadSplitting{threads, partBytes, 1};
        ASSERT_EQ(readAsText(path, text.format), inOrder) << "parts of " << partBytes;
        ASSERT_EQ(partsTakeIt(path, format), text.sound) << "parts of " << partBytes;
      }
    }
  }
}

}  // namespace
