// Checksum runs through the real binary: from a solution file, from a graph
// file and from a generated graph, with their messages and exit statuses.
#include <gtest/gtest.h>

#include <string>

#include "support/process.h"

namespace {

TEST(HashRun, EveryWayToTheChecksum) {
  TempDir dir;
  // Costs 0, 1, 3, 5, 7: the checksum is 1.
  writeFile(dir.file("g.txt"), "0 1 1\n0 2 3\n1 2 2\n1 3 4\n2 3 2\n2 4 4\n3 4 2\n4 2 9\n");
  writeFile(dir.file("s.txt"), "4 7 2\n1 1 0\n2 3 0\n3 5 1\n0 0 -1\n");  // lines in any order
  writeFile(dir.file("empty.txt"), "");
  // Label 3 ends at cost 6 (adds 0) and label 4 is missing: only label 2 adds 1.
  writeFile(dir.file("repeated.txt"), "0 0 -1\n1 1 0\n2 3 0\n3 5 1\n3 6 1\n");
  writeFile(dir.file("range.txt"), "0 0 -1\n5 3 0\n-2 1 0\n");
  const std::string noSolution = "ERROR: Can not obtain solution\n";
  expectRuns(
      {
          {{"-h", "-p", "s.txt"}, 0, "1\n", ""},
          {{"-h", "-g", "g.txt"}, 0, "1\n", ""},
          {{"-h", "-l", "-g", "g.txt"}, 0, "1\n", ""},
          {{"-h", "-p", "empty.txt"}, 0, "0\n", ""},
          {{"-h", "-p", "repeated.txt"}, 0, "1\n", ""},
          {{"-h", "-p", "range.txt"}, 255, "",
           "ERROR: Solution file contain node labe 5 that is out of range\n"
           "ERROR: Solution file contain node labe -2 that is out of range\n" + noSolution},
          {{"-v", "-h", "-p", "missing.txt"}, 255, "",
           "Vorlinde version 2.3.5\nCan not open file missing.txt\nLoad solution time ...Nms\n" +
               noSolution},
          // The README's main job: generator, search and checksum on a million nodes.
          {{"-h", "-n", "1000000", "-s", "1"}, 0, "140079\n", ""},
      },
      dir.path());
}

}  // namespace
