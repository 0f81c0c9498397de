#include "base/version.h"
#include "base/messages.h"
#include "query/query_options.h"

namespace {

constexpr const char* kHelp =
    "Usage: vorlinde-query [OPTIONS] GRAPH\n"
    "Shortest paths from chosen sources in a graph file of any common format.\n"
    "GRAPH may be plain, gzip or zstd, or '-' for standard input.\n"
    "\n"
    "  -s, --source N       a source node (repeatable); default: the first node of the\n"
    "                       format (0; 1 for dimacs and mtx)\n"
    "      --sources FILE   source nodes, one a line ('#' or 'c' comment lines allowed),\n"
    "                       or a DIMACS .ss file ('s N' lines)\n"
    "  -t, --target N       report cost and path from each source to N (repeatable);\n"
    "                       the search stops once every target is settled\n"
    "      --targets FILE   target nodes, one a line (as --sources reads them)\n"
    "      --matrix         one tab-separated table of costs: a header line 'source' and\n"
    "                       the targets, then a line per source (repeats kept; -1: no path)\n"
    "      --convert OUT    write the graph to OUT as a binary graph file, and exit\n"
    "      --max-cost C     do not settle nodes past cost C; they are reported unreached\n"
    "  -o, --output PATH    where results go; default '-' (standard output). With several\n"
    "                       sources and no target, PATH must contain '{source}',\n"
    "                       replaced by each source\n"
    "  -f, --format F       auto (default), edges, dimacs, snap, mtx, binary\n"
    "  -j, --threads N      threads of the job; default: the number of cores. Sources\n"
    "                       are solved in parallel; with --ties canonical the threads\n"
    "                       left over work inside the searches\n"
    "      --ties T         heap (default): the predecessors of vorlinde's heap search;\n"
    "                       canonical: among equally cheap paths the rule of the graph\n"
    "                       alone (least cost, then fewest edges, then least number of\n"
    "                       the node before), the same for every thread count\n"
    "      --progress, --no-progress\n"
    "                       a progress line on standard error while loading and\n"
    "                       solving; default: on when standard error is a terminal\n"
    "  -q, --quiet          no informational lines\n"
    "  -h, --help           this text\n"
    "  -V, --version        the version\n"
    "\n"
    "Without --target the output is one 'node cost pred' line per node (-1: unreached,\n"
    "none); with --target one 'source target cost path' line per source and target,\n"
    "the path as node numbers joined by commas, or '-1 -' when unreachable.\n"
    "Node numbers are the file's own. Exit status: 0 success, 1 failure, 2 usage error.";

}  // namespace

void reportUsageError(const char* message) {
  printLinef("vorlinde-query: %s", message);
  printLine("Try 'vorlinde-query --help' for more information.");
}

void printQueryHelp() { printResultLinef("%s", kHelp); }

void printQueryVersion() { printResultLinef("vorlinde-query %s", kVersionText); }
