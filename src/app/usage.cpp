#include <cstdio>

#include "app/command_line.h"
#include "base/version.h"

// The usage text is part of the interface: scripts and users compare it as it
// stands, spelling included.
void printUsage(const char* programName) {
  const char* p = programName;
  std::fprintf(stderr, "Vorlinde version %s\n", kVersionText);
  std::fprintf(stderr, "Basic usage is compatible with prior versions of vorlinde 2.x :.\n");
  std::fprintf(stderr, "\n");
  std::fprintf(stderr, "%s [-v] [-l] graphfile outputfile\n", p);
  std::fprintf(stderr, "\t [-v] -l linear search (no heap)\n");
  std::fprintf(stderr, "%s [-v] -c n [-s seed] [-e maxEdge] graphfile\n", p);
  std::fprintf(stderr, "\t create random graph with n nodes\n");
  std::fprintf(stderr, "\t create random graph with n nodes and randomization with given seed\n");
  std::fprintf(stderr, "\t        number nodes >= %d\n", kMinRandomNodes);
  std::fprintf(stderr, "\t create random graph with maxEdge from one node\n");
  std::fprintf(stderr, "\t        default is 5, that is average nbr edges is ~3\n");
  std::fprintf(stderr, "\t        must be >= 5 and < n or  < %d\n", kMaxEdgeCeiling);
  std::fprintf(stderr, "\t        WARNING option -e is experimental, it should be used with cation\n");
  std::fprintf(stderr, "%s [-v] -t graphfile solution\n", p);
  std::fprintf(stderr, "\t solve and compare with solution\n");
  std::fprintf(stderr, "\n");
  std::fprintf(stderr, "\t -----------------------------------------\n");
  std::fprintf(stderr, "\t  Computation of solution hash (checksum) \n");
  std::fprintf(stderr, "\t -----------------------------------------\n");
  std::fprintf(stderr, "\t Solution can be a file or a graph or parameters to compute graph.\n");
  std::fprintf(stderr,
               "\t Comnputed hash is printed to standard output, all verbose and error messages "
               "are printed to standard error output.\n");
  std::fprintf(stderr, "\n");
  std::fprintf(stderr, "\t %s -h -p solutionFile [-v]\n", p);
  std::fprintf(stderr, "\t  hash is compute from given solutionFile\n");
  std::fprintf(stderr, "\n");
  std::fprintf(stderr, "\t %s -h [-g graphFile] [-p solutionFile] [-v]\n", p);
  std::fprintf(stderr, "\t At first solution is found on given graph, than  hash is computed.\n");
  std::fprintf(stderr, "\t If -p solutionFile is given, found solution is saved into this file.\n");
  std::fprintf(stderr, "\n");
  std::fprintf(stderr,
               "\t %s -h -n number [-s seed] [-e maxEdge] [-g graphFile] [-p solutionFile] [-v]\n",
               p);
  std::fprintf(stderr,
               "\t At first random graph is generated, with number nodes n (or with particular seed "
               "and maxEdge).\n");
  std::fprintf(stderr, "\t Than solution is found and hash is computed.\n");
  std::fprintf(stderr, "\t If -g graphFile is given, generated graph is saved into this file.\n");
  std::fprintf(stderr, "\t If -p solutionFile is given, found solution is saved into this file,\n");
  std::fprintf(stderr, "\n");
  std::fprintf(stderr, "\n -v turn on verbose mode in all usage of program %s\n", p);
  std::fflush(stderr);
}
